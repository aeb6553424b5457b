#pragma once
// The command line of orlisk-burn, read into options. Reading checks only the
// shape of the line; whether the files are there is the run's business.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orlisk {

// Exit codes, also listed by --help.
enum BurnExitCode : int {
  kBurnDone = 0,
  kBurnBadUsage = 2,       // the command line is wrong, or asks to write over a file
  kBurnUnreadableInput = 3,  // the video or the subtitle file cannot be read
  kBurnWriteFailed = 4,    // the output could not be made or written
  kBurnInterrupted = 130,  // stopped by Ctrl+C; the partial video plays up to there
};

struct BurnOptions {
  bool Help = false;
  std::string Video;
  std::string Subtitles;
  // "original", "avi", "mpeg", "wmv" or "rm"; empty: what the settings say.
  std::string Format;
  std::string OutDir;   // --out-dir; empty: the settings' output folder
  std::string OutFile;  // -o; empty: a free name in the output folder
  bool Overwrite = false;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raises UsageError with a message that says what is wrong.
BurnOptions ParseBurnOptions(const std::vector<std::string>& arguments);

// The --help text.
std::string BurnUsageText();

}  // namespace orlisk
