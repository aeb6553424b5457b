#pragma once
// The SubRip text file and its companion of 296-byte records, as pure
// transforms between bytes in memory and the document. Opening files, choosing
// encodings and asking the user happen one layer up.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "SubtitleDocument.h"
#include "TextEncoding.h"

namespace orlisk {

inline constexpr std::size_t kCompanionRecordSize = 296;
// A block number that jumps ahead of the one expected and lies above this is a
// stray line (a number in the text, a damaged line), not the start of a block.
// Numbers that simply count on are read however high they go.
inline constexpr std::int32_t kMaxBlockNumber = 1'000'000;
// The records searched for a tag that does not sit at its own position (and
// never more than 1024 past the last block's number); a larger companion is
// only read where blocks ask for their own records.
inline constexpr std::uint64_t kMaxCompanionSearch = 1'048'576;

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

// The companion: `count` records, record i holding entries[i] (little-endian).
// `pairCheck` goes into the three spare bytes of every record (offset 285); 0
// means none, as in companions written by older versions. The last byte of a
// record's text field (offset 267) says whether the place is centred (2) or
// placed by hand (1); older versions left it 0, and the text a record carries
// is cut to 254 bytes to keep that byte free (the text file holds the text).
std::string WriteCompanion(const std::vector<SubtitleEntry>& entries, int count, std::uint32_t pairCheck = 0);
std::string EncodeCompanionRecord(const SubtitleEntry& entry);
SubtitleEntry DecodeCompanionRecord(std::string_view record);  // exactly 296 bytes

// Whether bytes look like a companion file: a whole number of records, and not
// the start of a video (RIFF, an MPEG pack header 00 00 01 BA).
bool LooksLikeCompanion(std::string_view bytes);

// Where the reader takes companion records from. Records are read by
// position, so a huge companion costs only the records the text asks for.
class CompanionSource {
 public:
  virtual ~CompanionSource() = default;
  virtual std::uint64_t recordCount() const = 0;  // whole records
  // Records first .. first + count - 1 (count * 296 bytes); they exist.
  virtual std::string readRecords(std::uint64_t first, std::size_t count) const = 0;
};

// A companion held in memory; a part-record at its end does not count.
class CompanionBytes : public CompanionSource {
 public:
  explicit CompanionBytes(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t recordCount() const override { return bytes_.size() / kCompanionRecordSize; }
  std::string readRecords(std::uint64_t first, std::size_t count) const override;

 private:
  std::string_view bytes_;
};

// What the reader needs of the current placement and style.
struct SubRipReadContext {
  // The current placement and style: what a block without a record gets,
  // centred (its font's height moves lines down; its font becomes the entry's
  // reference). A record of an older version whose X is this X is centred.
  SubtitlePlacement Placement{.X = 10, .Y = 0, .DrawLevel = 0};
  SubtitleStyle Style;  // the start-up style: white, outlined in blue
};

struct SubRipReadResult {
  std::vector<SubtitleRow> Rows;
  std::vector<SubtitleEntry> Entries;  // Entries.size() == Rows.size()
  // The companion carries the check of another text (a save interrupted
  // between its two files, a text replaced by hand): none of its records
  // was used, every block has the current position and style.
  bool StaleCompanion = false;
};

// Reads a text file (already decoded to UTF-8) with its companion bytes.
// Rows and entries are filled in block order, so row i and entry i are always
// the same subtitle and there is never an empty entry in front. A block takes
// its position and style from companion record k, or the first later record
// whose Tag is k, else the last record read; none when there is no record k.
// k is the block's number when the file is numbered from 0 (so 0, 1, 2, ...
// line up with the records written beside them), else the block's row index.
// A block number repeated or going backwards, or jumping ahead to above
// kMaxBlockNumber, is a stray line and skipped. A companion that carries the
// check of another text is not used at all (StaleCompanion).
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

}  // namespace orlisk
