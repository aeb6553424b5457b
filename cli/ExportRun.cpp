#include "ExportRun.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "BurnRun.h"
#include "burnin/QtSubtitleStyle.h"
#include "burnin/writer/OutputNaming.h"
#include "files/SubtitleFiles.h"
#include "files/WholeFile.h"
#include "playback/FfmpegVideoReader.h"
#include "settings/ProfileFile.h"
#include "settings/Settings.h"
#include "subtitles/SubtitleExport.h"

namespace orlisk {

namespace fs = std::filesystem;

namespace {

struct ExportFailure {
  int Code;
  std::string Message;
};

// Why FILE cannot take the export ("" when it can).
std::string RefusedExportFile(const BurnOptions& o) {
  const std::string& file = o.ExportFile;
  std::error_code error;
  if (!fs::exists(fs::symlink_status(file, error))) return "";
  for (const std::string& input : {o.Video, o.Subtitles})
    if (fs::equivalent(file, input, error)) return "refusing to write the export over its own input " + input;
  if (const std::string refusal = RefusalOfTarget(file); !refusal.empty()) return refusal;
  if (!o.Overwrite) return file + " exists; add --overwrite to replace it";
  return "";
}

void Export(const BurnOptions& o, const AppPaths& paths, std::ostream& out, std::ostream& err) {
  if (const std::string refusal = RefusedExportFile(o); !refusal.empty()) throw ExportFailure{kBurnBadUsage, refusal};
  FfmpegVideoReader reader;
  try {
    reader.OpenSource(o.Video);
  } catch (const std::exception& e) {
    throw ExportFailure{kBurnUnreadableInput, e.what()};
  }
  // The style a burn of these subtitles draws with.
  const StartupSettings startup = LoadSettings(ProfileFile(paths.SettingsFile), paths.VideosFolder.string());
  SubtitleStyle style;
  style.BorderColor = startup.BorderColor;
  style.BorderEnabled = startup.BorderEnabled;
  style.Backdrop = startup.Backdrop;
  SubRipReadContext context;
  context.Placement = StartPlacement(reader.GetHeight(), style.Font);
  context.Style = style;
  context.Picture = {.Width = reader.GetWidth(), .Height = reader.GetHeight(), .CellPerEm = FontCellPerEm(style.Font)};
  SubtitleFilesRead read;
  try {
    read = ReadSubtitleFiles(o.Subtitles, LocaleFallbackCodePage(), context);
  } catch (const std::exception& e) {
    throw ExportFailure{kBurnUnreadableInput, std::string("cannot read the subtitles: ") + e.what()};
  }
  if (read.NoBlocks || read.Result.Rows.empty()) throw ExportFailure{kBurnUnreadableInput, o.Subtitles + " holds no subtitles"};
  if (!o.Quiet && read.Result.StaleCompanion)
    err << "orlisk-burn: the position and style file beside " << o.Subtitles
        << " belongs to another save; the export has the current position and style\n";
  if (!o.Quiet && read.Result.Repairs.any())
    err << "orlisk-burn: " << o.Subtitles << " was read with repairs, or with parts the list cannot hold left out "
        << "(the editor lists them when it opens the file)\n";
  SubtitleDocument document;
  document.replaceAll(std::move(read.Result.Rows), std::move(read.Result.Entries));
  try {
    SaveExportedSubtitles(o.ExportFile, ExportSubtitles(*ExportFormatNamed(o.ExportFormat), document, style,
                                                        context.Picture));
  } catch (const std::exception& e) {
    throw ExportFailure{kBurnWriteFailed, "cannot write " + o.ExportFile + ": " + e.what()};
  }
  out << o.ExportFile << "\n";
}

}  // namespace

int RunExport(const BurnOptions& options, const AppPaths& paths, std::ostream& out, std::ostream& err) {
  try {
    Export(options, paths, out, err);
    return kBurnDone;
  } catch (const ExportFailure& failure) {
    err << "orlisk-burn: " << failure.Message << "\n";
    return failure.Code;
  }
}

}  // namespace orlisk
