#pragma once
// The command line of orlisk-burn, read into options. Reading checks only the
// shape of the line; whether the files are there is the run's business.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "DeliveryOptions.h"

namespace orlisk {

// Exit codes, also listed by --help.
enum BurnExitCode : int {
  kBurnDone = 0,
  kBurnBadUsage = 2,         // the command line is wrong, or asks to write over a file
  kBurnUnreadableInput = 3,  // the video or the subtitle file cannot be read
  kBurnWriteFailed = 4,      // the output could not be made or written
  kBurnStaleCompanion = 5,   // the .dat beside the subtitles belongs to another save
  kBurnInterrupted = 130,    // stopped by Ctrl+C (SIGINT); the partial video plays up to there
  kBurnTerminated = 143,     // stopped by SIGTERM (a job runner's stop); the same
};

// How progress is reported on stderr: a bar on a terminal and a line at most
// once a second elsewhere (Auto), one JSON object per line (Json), or nothing.
enum class BurnProgress { Auto, Json, None };

struct BurnOptions {
  bool Help = false;
  bool Version = false;
  std::string Video;
  std::string Subtitles;
  // "original", "avi", "mpeg", "wmv", "rm", "mp4" or "mkv"; empty: what the
  // settings say.
  std::string Format;
  std::string OutDir;   // --out-dir; empty: the settings' output folder
  std::string OutFile;  // -o; empty: a free name in the output folder
  bool Overwrite = false;
  // Burn with the current places and colours when the companion belongs to
  // another save, instead of ending with kBurnStaleCompanion.
  bool IgnoreStaleCompanion = false;
  BurnProgress Progress = BurnProgress::Auto;  // --quiet: None
  bool Quiet = false;    // no progress and no notices; errors are still told
  bool Verbose = false;  // FFmpeg's own log lines too
  // --size (avi, mpeg, mp4, mkv) and --quality (mp4, mkv): in place of the
  // settings' size preset and quality.
  std::optional<SizeChoice> Size;
  std::optional<QualityChoice> Quality;
  // --export FORMAT FILE: the subtitles written as FILE in "vtt", "ass" or
  // "srt1", with places relative to the video's picture; no video is written.
  std::string ExportFormat;
  std::string ExportFile;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raises UsageError with a message that says what is wrong.
BurnOptions ParseBurnOptions(const std::vector<std::string>& arguments);

// The --help text.
std::string BurnUsageText();
// The --version text: the program's version and the FFmpeg libraries' (`ffmpegVersions`).
std::string BurnVersionText(const std::string& ffmpegVersions);

}  // namespace orlisk
