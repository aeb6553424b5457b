#pragma once
// Subtitle files: the SubRip text file with its companion of records, opened
// from and saved to disk.
#include <filesystem>
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

  // Both true when the list was replaced by the file's subtitles.
  bool OpenSubtitleFile();
  bool ReadSubtitleFile(const std::string& path);
  // Saves to the list's own file (`SubtitlePath`) without a dialog, or asks
  // for a name while the list has none. True when both files were written;
  // false when the user stopped it.
  bool SaveSubtitleFile();
  // Always asks for a name ("Save Subtitle File As...").
  bool SaveSubtitleFileAs();

 private:
  // Subtitles without an end are offered one first; false when the user
  // went back (Cancel).
  bool OfferEndsForSubtitlesWithoutEnd();
  bool SaveUnderChosenName();
  // Writes the pair over whatever a check of the caller let pass; a companion
  // name held by something else is asked about here.
  bool SavePair(const std::filesystem::path& textFile, const std::filesystem::path& companionFile);

  Context c_;
};

}  // namespace orlisk
