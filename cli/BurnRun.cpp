#include "BurnRun.h"

#include <cstdlib>
#include <ostream>
#include <string>

#include "BurnTarget.h"
#include "burnin/QtTextTransform.h"
#include "burnin/WriteJob.h"
#include "burnin/writer/CodecLists.h"
#include "burnin/writer/ConfigureWriter.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "burnin/writer/SourceFacts.h"
#include "playback/FfmpegVideoReader.h"
#include "settings/OutputSettings.h"
#include "settings/ProfileFile.h"
#include "settings/SafeFile.h"
#include "settings/Settings.h"
#include "settings/SubtitleFiles.h"

namespace orlisk {
namespace {

// Where the editor puts a new subtitle: 10 pixels in, three text heights
// above the bottom edge.
constexpr int kStartSubtitleX = 10;

// A failure with the exit code it ends the run with.
struct BurnFailure {
  int Code;
  std::string Message;
};

class ProgressReport {
 public:
  ProgressReport(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}
  void Show(int progress) {  // 0..10000
    const int shown = terminal_ ? progress / 10 : progress / 100;  // per mille on a bar, per cent in lines
    if (shown == last_) return;
    last_ = shown;
    if (terminal_) {
      constexpr int kWidth = 40;
      const int filled = progress * kWidth / 10000;
      err_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '-') << "] " << shown / 10 << '.'
           << shown % 10 << "%" << std::flush;
    } else {
      err_ << shown << "%\n" << std::flush;
    }
  }
  void End() {
    if (terminal_ && last_ >= 0) err_ << "\n";
  }

 private:
  std::ostream& err_;
  bool terminal_;
  int last_ = -1;
};

LegacyCodePage FallbackCodePage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    const std::string locale = value;
    return locale.rfind("zh", 0) == 0 ? LegacyCodePage::Gb18030 : LegacyCodePage::Windows1252;
  }
  return LegacyCodePage::Windows1252;
}

std::vector<SubtitleEntry> ReadSubtitles(const std::string& path, const VideoReader& reader,
                                         const SubtitleStyle& style) {
  // A block without a record gets the place and style the editor gives a new
  // subtitle on this video.
  SubRipReadContext context;
  context.Placement = {.X = kStartSubtitleX, .Y = reader.GetHeight() - 3 * std::abs(style.Font.Height), .DrawLevel = 0};
  context.Style = style;
  context.VideoWidth = reader.GetWidth();
  context.TextWidth = [font = style.Font](const std::string& line) { return TextPixelWidth(line, font); };
  SubtitleFilesRead read;
  try {
    read = ReadSubtitleFiles(path, FallbackCodePage(), context);
  } catch (const std::exception& e) {
    throw BurnFailure{kBurnUnreadableInput, std::string("cannot read the subtitles: ") + e.what()};
  }
  if (read.NoBlocks) throw BurnFailure{kBurnUnreadableInput, path + " holds no subtitles (is it a SubRip file?)"};
  return std::move(read.Result.Entries);
}

int Burn(const BurnOptions& o, const AppPaths& paths, std::ostream& out, std::ostream& err, bool errIsTerminal,
         const std::atomic<bool>& stopRequested) {
  if (const std::string refusal = RefusedOutputFile(o); !refusal.empty()) throw BurnFailure{kBurnBadUsage, refusal};
  FfmpegVideoReader reader;
  try {
    reader.OpenSource(o.Video);
  } catch (const std::exception& e) {
    throw BurnFailure{kBurnUnreadableInput, e.what()};
  }
  const ProfileFile settingsFile(paths.SettingsFile);
  const StartupSettings startup = LoadSettings(settingsFile, paths.VideosFolder.string());
  // The editor's starting style, with the outline as the settings keep it.
  SubtitleStyle style;
  style.BorderColor = startup.BorderColor;
  style.BorderEnabled = startup.BorderEnabled;
  std::vector<SubtitleEntry> subtitles = ReadSubtitles(o.Subtitles, reader, style);
  if (subtitles.empty()) err << "orlisk-burn: " << o.Subtitles << " has no subtitles; the video is copied without text\n";

  OutputSettings settings = ReadOutputSettings(settingsFile);
  int formatChoice = 0;
  if (o.Format == "original") {
    settings.OutputMode = 0;
  } else if (!o.Format.empty()) {
    settings.OutputMode = 1;
    formatChoice = o.Format == "avi" ? 0 : o.Format == "mpeg" ? 1 : o.Format == "wmv" ? 2 : 3;
  }

  FfmpegVideoWriter writer;
  WriterConfiguration configuration;
  try {
    const CodecLists codecs = FillCodecLists(writer);
    configuration = ConfigureWriter(ReadSourceFacts(reader, o.Video), settings, formatChoice, codecs);
    ApplyWriterConfiguration(configuration, writer);
  } catch (const std::exception& e) {
    throw BurnFailure{kBurnWriteFailed, std::string("cannot set up the writer: ") + e.what()};
  }
  const OutputTarget target = BurnTarget(o, startup.OutputFolder, configuration.OutputExtension);
  const std::string& output = target.Path;

  QtTextTransform transform;
  WriteJob job({.Reader = reader, .Writer = writer, .Transform = transform, .ShowFrame = {}},
               std::move(subtitles), style.Font);
  ProgressReport progress(err, errIsTerminal);
  try {
    job.Start(target, configuration.OutputType);
    while (!stopRequested.load() && job.Step()) progress.Show(job.Progress());
    progress.End();
    job.Finish();
  } catch (const std::exception& e) {
    progress.End();
    throw BurnFailure{kBurnWriteFailed, "cannot write " + output + ": " + e.what()};
  }
  out << job.outputPath() << "\n";
  if (stopRequested.load()) {
    err << "orlisk-burn: stopped; " << job.outputPath() << " ends where it was stopped\n";
    return kBurnInterrupted;
  }
  return kBurnDone;
}

}  // namespace

int RunBurn(const BurnOptions& options, const AppPaths& paths, std::ostream& out, std::ostream& err,
            bool errIsTerminal, const std::atomic<bool>& stopRequested) {
  try {
    return Burn(options, paths, out, err, errIsTerminal, stopRequested);
  } catch (const BurnFailure& failure) {
    err << "orlisk-burn: " << failure.Message << "\n";
    return failure.Code;
  } catch (const std::exception& e) {
    err << "orlisk-burn: " << e.what() << "\n";
    return kBurnWriteFailed;
  }
}

}  // namespace orlisk
