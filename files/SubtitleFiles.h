#pragma once
// The subtitle pair on disk: the SubRip text file and its companion of
// records, read safely and saved whole. (The formats themselves are pure
// transforms in subtitles/SubRipFile.h.)
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileSteps.h"
#include "subtitles/SubRipFile.h"
#include "subtitles/TextEncoding.h"

namespace orlisk {

struct SubtitleFilesRead {
  SubRipReadResult Result;  // rows and entries; StaleCompanion
  // The text file holds more than blanks but not one subtitle block (a file
  // of another kind): the list should stay as it is.
  bool NoBlocks = false;
  // The character set the text file was read in (DecodedText::Charset).
  std::string Charset;
};

// The companion of a text file P: P with its extension replaced by ".dat".
std::filesystem::path CompanionPathFor(const std::filesystem::path& textFile);

// Reads a text file and the companion records its blocks ask for; a WebVTT
// file (.vtt) or an ASS script (.ass, .ssa) is read by its own format, with
// no companion (SubtitleImport.h). The text
// file must be a regular file of at most kMaxSubtitleFileBytes (FileReadError
// otherwise: missing, not regular, too large, unreadable); it is decoded with
// DecodeSubtitleText, in `chosenCharset` when one is given (an iconv name)
// and otherwise in the code page found. The companion is read by position, only when it is a regular
// file of whole records that is not a video; anything else gives no records.
SubtitleFilesRead ReadSubtitleFiles(const std::filesystem::path& textFile, LegacyCodePage fallback,
                                    const SubRipReadContext& context, std::string_view chosenCharset = {});

// Saves the list as the text file and the companion, both or neither
// (ReplaceFilesTogether; FileWriteError when the save did not happen). The
// text is in the locale's character set; each record carries its own place as
// its tag, since reading gives a block the record whose tag is the block's
// number, and the check of the text it belongs to.
void SaveSubtitleFiles(const std::filesystem::path& textFile, const std::filesystem::path& companionFile,
                       const std::vector<SubtitleRow>& rows, const std::vector<SubtitleEntry>& entries,
                       FileSteps& steps = SystemFileSteps());

// Saves an exported file (its bytes as SubtitleExport.h made them) whole,
// or leaves what was there (FileWriteError).
void SaveExportedSubtitles(const std::filesystem::path& file, std::string bytes,
                           FileSteps& steps = SystemFileSteps());

}  // namespace orlisk
