#pragma once
// The SubRip text file, read with its companion of 296-byte records
// (CompanionRecords.h), as pure transforms between bytes in memory and the
// document. Opening files, choosing encodings and asking the user happen one
// layer up.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AssScript.h"
#include "CompanionRecords.h"
#include "SubRipRepairs.h"
#include "SubtitleDocument.h"
#include "TextEncoding.h"

namespace orlisk {

// A block number that jumps ahead of the one expected and lies above this is a
// stray line (a number in the text, a damaged line), not the start of a block.
// Numbers that simply count on are read however high they go.
inline constexpr std::int32_t kMaxBlockNumber = 1'000'000;
// The text file: for each row i (numbered from 0) the number, the "Time" text,
// the "Subtitle" lines and a line holding one space, every line ending in CR LF.
// Returns UTF-8; the caller encodes it for the disk.
std::string WriteSubRipText(const std::vector<SubtitleRow>& rows);

// The check of a text file that the companion saved with it carries, so that
// a companion left from another save is recognised: a 24-bit hash (never 0) of
// the block numbers, time lines and texts as the reader sees them, so that a
// save interrupted between its two files is told even when it changed only
// texts. Companions of earlier versions carry the same kind of hash of the
// numbers and time lines alone; the reader accepts either, so they still read.
std::uint32_t PairCheck(std::string_view utf8Text);

// What the reader needs of the current placement and style.
struct SubRipReadContext {
  // The current placement and style: what a block without a record gets,
  // centred (its font's height moves lines down; its font becomes the entry's
  // reference). A record of an older version whose X is this X is centred.
  SubtitlePlacement Placement{.X = 10, .Y = 0, .DrawLevel = 0};
  SubtitleStyle Style;  // the start-up style: white, outlined in blue
  // The picture the subtitles go on, for formats that give places relative
  // to a picture of their own (WebVTT percentages, an ASS script's size).
  AssCanvas Picture{.Width = 640, .Height = 480};
};

struct SubRipReadResult {
  std::vector<SubtitleRow> Rows;
  std::vector<SubtitleEntry> Entries;  // Entries.size() == Rows.size()
  // The companion carries the check of another text (a save interrupted
  // between its two files, a text replaced by hand): none of its records
  // was used, every block has the current position and style.
  bool StaleCompanion = false;
  // A text read without a usable companion: what had to be repaired.
  SubRipRepairs Repairs;
};

// A subtitle read from a file of another format (WebVTT, ASS): its times and
// lines, and its place and colours where the file gave them.
struct ForeignCue {
  SubtitleTime Begin = 0;
  SubtitleTime End = 0;
  std::vector<std::string> Lines;
  std::optional<SubtitlePlacement> Place;  // its level is that of new subtitles
  std::optional<Colour> TextColor;
  std::optional<Colour> BorderColor;
  std::optional<bool> Border;
};

// Adds the cue as a row and its entry. What the file did not give comes from
// the current placement and style, as for a SubRip block without a record
// (a cue without a place is centred, its lines moving it down as they do).
void AppendForeignCue(SubRipReadResult& result, ForeignCue cue, const SubRipReadContext& context);

// Reads a text file (already decoded to UTF-8) with its companion.
// Rows and entries are filled in block order, so row i and entry i are always
// the same subtitle and there is never an empty entry in front. A row keeps
// its whole text; its entry the first kMaxEntryTextBytes bytes of it.
//
// A text with a companion of records that belongs to it is what this program
// wrote, and is read by its own rules: a block is a number line, a time line
// kept exactly as read (times by ParseBeginTime and ParseEndTime) and up to
// four text lines ended by a blank line. A block takes its position and style
// from companion record k, or the first later record whose Tag is k, else the
// last record read; none when there is no record k. k is the block's number
// when the file is numbered from 0 (so 0, 1, 2, ... line up with the records
// written beside them), else the block's row index. A block number repeated
// or going backwards, or jumping ahead to above kMaxBlockNumber, is a stray
// line and skipped. A companion that carries the check of another text is not
// used at all (StaleCompanion).
//
// A text without such a companion (none, an empty one, one of another text)
// came from elsewhere and is read by ReadLooseSubRip, with the time lines
// rewritten as TimeRangeText, formatting tags taken out of the text
// (StripSubRipMarkup) and what was repaired in Repairs.
//
// A record of this version gives its place as it was drawn, centred or not.
// A block without a record is centred; a record of an older version is
// centred when its X is the current X, and from such records and without one,
// the second line of a text moves it down by the font's height when its Y is
// the current Y, the third and fourth lines always (as older versions read).
// Nothing is measured: the renderer centres each line when it draws it.
SubRipReadResult ReadSubRip(std::string_view utf8Text, const CompanionSource& companion,
                            const SubRipReadContext& context);
SubRipReadResult ReadSubRip(std::string_view utf8Text, std::string_view companion,
                            const SubRipReadContext& context);

// This program's own rules alone, whatever the companion (none: every block
// without a record).
SubRipReadResult ReadOwnSubRip(std::string_view utf8Text, const CompanionSource& companion,
                               const SubRipReadContext& context);
SubRipReadResult ReadOwnSubRip(std::string_view utf8Text, std::string_view companion,
                               const SubRipReadContext& context);

}  // namespace orlisk
