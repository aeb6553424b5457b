#pragma once
// Subtitle files: the SubRip text file with its companion of records, opened
// from and saved to disk.
#include <string>

#include "CommandBasics.h"
#include "Seams.h"

namespace orlisk {

class SubtitleFileCommands {
 public:
  struct Context {
    CommandBasics& Basics;
    FileDialogs& Dialogs;
    SubtitleListSelection& List;  // lv
  };
  explicit SubtitleFileCommands(Context context) : c_(std::move(context)) {}

  void OpenSubtitleFile();
  void ReadSubtitleFile(const std::string& path);
  // True when both files were written; false when the user stopped it.
  bool SaveSubtitleFile();

 private:
  Context c_;
};

}  // namespace orlisk
