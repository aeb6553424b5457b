#include "BurnRun.h"

#include <csignal>
#include <cstdlib>
#include <ostream>
#include <string>

#include "BurnProgressReport.h"
#include "BurnTarget.h"
#include "burnin/QtTextTransform.h"
#include "burnin/WriteJob.h"
#include "burnin/writer/CodecLists.h"
#include "burnin/writer/ConfigureWriter.h"
#include "burnin/writer/DeliveryConfiguration.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "burnin/writer/SourceFacts.h"
#include "playback/FfmpegVideoReader.h"
#include "settings/OutputSettings.h"
#include "settings/ProfileFile.h"
#include "files/SafeFile.h"
#include "settings/Settings.h"
#include "files/SubtitleFiles.h"

namespace orlisk {
namespace {

// A failure with the exit code it ends the run with.
struct BurnFailure {
  int Code;
  std::string Message;
};

// What the user is told besides errors, unless --quiet.
class Notices {
 public:
  Notices(std::ostream& err, bool quiet) : err_(err), quiet_(quiet) {}
  void Tell(const std::string& text) const {
    if (!quiet_) err_ << "orlisk-burn: " << text << "\n";
  }

 private:
  std::ostream& err_;
  bool quiet_;
};

std::vector<SubtitleEntry> ReadSubtitles(const std::string& path, const VideoReader& reader,
                                         const SubtitleStyle& style, const BurnOptions& o, const Notices& notices) {
  // A block without a record gets the place and style the editor gives a new
  // subtitle on this video.
  SubRipReadContext context;
  context.Placement = StartPlacement(reader.GetHeight(), style.Font);
  context.Style = style;
  context.Picture = {.Width = reader.GetWidth(), .Height = reader.GetHeight()};  // WebVTT and ASS places
  SubtitleFilesRead read;
  try {
    read = ReadSubtitleFiles(path, LocaleFallbackCodePage(), context);
  } catch (const std::exception& e) {
    throw BurnFailure{kBurnUnreadableInput, std::string("cannot read the subtitles: ") + e.what()};
  }
  if (read.NoBlocks) throw BurnFailure{kBurnUnreadableInput, path + " holds no subtitles (is it a SubRip file?)"};
  if (read.Result.StaleCompanion) {
    // As the editor warns when it reads them; a script cannot see a warning
    // scroll by, so the run ends unless told to go on.
    const std::string stale = "the position and style file " + CompanionPathFor(path).string() +
                              " belongs to another save of " + path;
    if (!o.IgnoreStaleCompanion) {
      throw BurnFailure{kBurnStaleCompanion,
                        stale + "; nothing was written (add --ignore-stale-companion to burn the subtitles with "
                                "the current position and style)"};
    }
    notices.Tell(stale + "; the subtitles are burnt with the current position and style");
  }
  return std::move(read.Result.Entries);
}

// What happens to sound that an MP4 or MKV output cannot take as it is.
std::string SoundNote(const SourceFacts& source, const DeliveryFormat& format) {
  if (source.AudioSampleRate <= 0 || !format.CopySoundFrom.empty()) return "";
  const std::string container = format.Container == "mp4" ? "MP4" : "MKV";
  const std::string codec = format.AudioCodec == "opus" ? "Opus" : "AAC";
  const std::string sound = source.AudioFormatName == "wav" ? "PCM" : source.AudioFormatName;
  return "the source's sound (" + sound + ") cannot go into " + container +
         " unchanged; it is re-encoded as " + codec;
}

int Burn(const BurnOptions& o, const AppPaths& paths, std::ostream& out, std::ostream& err, bool errIsTerminal,
         const std::atomic<int>& stopSignal) {
  const Notices notices(err, o.Quiet);
  if (const std::string refusal = RefusedOutputFile(o); !refusal.empty()) throw BurnFailure{kBurnBadUsage, refusal};
  FfmpegVideoReader reader;
  try {
    reader.OpenSource(o.Video);
  } catch (const std::exception& e) {
    throw BurnFailure{kBurnUnreadableInput, e.what()};
  }
  const ProfileFile settingsFile(paths.SettingsFile);
  const StartupSettings startup = LoadSettings(settingsFile, paths.VideosFolder.string());
  // The editor's starting style, with the outline and backdrop as the settings keep them.
  SubtitleStyle style;
  style.BorderColor = startup.BorderColor;
  style.BorderEnabled = startup.BorderEnabled;
  style.Backdrop = startup.Backdrop;
  std::vector<SubtitleEntry> subtitles = ReadSubtitles(o.Subtitles, reader, style, o, notices);
  if (subtitles.empty()) notices.Tell(o.Subtitles + " has no subtitles; the video is copied without text");

  OutputSettings settings = ReadOutputSettings(settingsFile);
  int formatChoice = 0;
  if (o.Format == "original") {
    settings.OutputMode = 0;
  } else if (!o.Format.empty()) {
    settings.OutputMode = 1;
    formatChoice = o.Format == "avi" ? 0 : o.Format == "mpeg" ? 1 : o.Format == "wmv" ? 2 : o.Format == "rm" ? 3
                 : o.Format == "mp4" ? kFormatChoiceMp4 : kFormatChoiceMkv;
  }
  if (o.Size) ApplySizeChoice(*o.Size, settings);

  FfmpegVideoWriter writer;
  WriterConfiguration configuration;
  try {
    const CodecLists codecs = FillCodecLists(writer);
    const SourceFacts facts = ReadSourceFacts(reader, o.Video);
    configuration = ConfigureWriter(facts, settings, formatChoice, codecs);
    if (configuration.Delivery) {
      if (o.Quality) ApplyQualityChoice(*o.Quality, *configuration.Delivery);
      if (const std::string note = SoundNote(facts, *configuration.Delivery); !note.empty()) notices.Tell(note);
    }
    ApplyWriterConfiguration(configuration, writer);
  } catch (const std::exception& e) {
    throw BurnFailure{kBurnWriteFailed, std::string("cannot set up the writer: ") + e.what()};
  }
  const OutputTarget target = BurnTarget(o, startup.OutputFolder, configuration.OutputExtension);
  const std::string& output = target.Path;

  QtTextTransform transform;
  WriteJob job({.Reader = reader, .Writer = writer, .Transform = transform, .ShowFrame = {}},
               std::move(subtitles), style);
  BurnProgressReport progress(err, o.Progress, errIsTerminal, SteadySeconds);
  int stoppedBy = 0;
  try {
    job.Start(target, configuration.OutputType);
    // A signal that comes after the last step stops nothing: the video is whole.
    while (job.Step()) {
      progress.Show(job.Progress(), job.framesWritten());
      if ((stoppedBy = stopSignal.load()) != 0) break;
    }
    progress.End(job.Progress(), job.framesWritten());
    job.Finish();
  } catch (const std::exception& e) {
    if (job.started()) progress.End(job.Progress(), job.framesWritten());
    throw BurnFailure{kBurnWriteFailed, "cannot write " + output + ": " + e.what()};
  }
  out << job.outputPath() << "\n";
  if (stoppedBy != 0) {
    notices.Tell("stopped; " + job.outputPath() + " ends where it was stopped");
    return stoppedBy == SIGTERM ? kBurnTerminated : kBurnInterrupted;
  }
  return kBurnDone;
}

}  // namespace

LegacyCodePage LocaleFallbackCodePage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    const std::string locale = value;
    return locale.rfind("zh", 0) == 0 ? LegacyCodePage::Gb18030 : LegacyCodePage::Windows1252;
  }
  return LegacyCodePage::Windows1252;
}

int RunBurn(const BurnOptions& options, const AppPaths& paths, std::ostream& out, std::ostream& err,
            bool errIsTerminal, const std::atomic<int>& stopSignal) {
  try {
    return Burn(options, paths, out, err, errIsTerminal, stopSignal);
  } catch (const BurnFailure& failure) {
    err << "orlisk-burn: " << failure.Message << "\n";
    return failure.Code;
  } catch (const std::exception& e) {
    err << "orlisk-burn: " << e.what() << "\n";
    return kBurnWriteFailed;
  }
}

}  // namespace orlisk
