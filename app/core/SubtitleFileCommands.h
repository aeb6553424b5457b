#pragma once
// Subtitle files: the SubRip text file with its companion of records, opened
// from and saved to disk.
#include <filesystem>
#include <string>

#include "CommandBasics.h"
#include "Seams.h"
#include "playback/VideoReader.h"
#include "subtitles/SubtitleExport.h"

namespace orlisk {

class SubtitleFileCommands {
 public:
  struct Context {
    CommandBasics& Basics;
    FileDialogs& Dialogs;
    SubtitleListSelection& List;  // lv
    VideoReader& Reader;          // the picture's size, which places are relative to
  };
  explicit SubtitleFileCommands(Context context) : c_(std::move(context)) {}

  // All three true when the list was replaced by the file's subtitles. The
  // open dialog offers the encoding beside the file name; reading takes the
  // one given (an iconv name), or the code page found when none is.
  bool OpenSubtitleFile();
  bool ReadSubtitleFile(const std::string& path, const std::string& charset = {});
  // "Reopen with encoding...": reads the list's file again in the encoding
  // the user chooses. Changes since it was read are lost, so they are asked
  // about first; offering to save them, as opening another file does, would
  // write them over the very file about to be read again.
  bool ReopenSubtitleFile();
  // Saves to the list's own file (`SubtitlePath`) without a dialog, or asks
  // for a name while the list has none. True when both files were written;
  // false when the user stopped it.
  bool SaveSubtitleFile();
  // Always asks for a name ("Save Subtitle File As...").
  bool SaveSubtitleFileAs();
  // Writes the list in another format under a name the user chooses (an
  // existing file only when the user agrees); the list and its own file stay
  // as they are. True when the file was written.
  bool ExportSubtitles(ExportFormat format);

 private:
  // Subtitles without an end are offered one first; false when the user
  // went back (Cancel).
  bool OfferEndsForSubtitlesWithoutEnd();
  // The guards of opening a subtitle file: a video open, playback stopped.
  bool MayOpenSubtitleFile();
  bool SaveUnderChosenName();
  // Writes the pair over whatever a check of the caller let pass; a companion
  // name held by something else is asked about here.
  bool SavePair(const std::filesystem::path& textFile, const std::filesystem::path& companionFile);

  // The picture of the open video (or none: 0 x 0).
  AssCanvas Picture() const;

  Context c_;
};

}  // namespace orlisk
