#pragma once
// The SubRip text file and its companion of 296-byte records, as pure
// transforms between bytes in memory and the document. Opening files, choosing
// encodings and asking the user happen one layer up.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "SubtitleDocument.h"
#include "TextEncoding.h"

namespace orlisk {

inline constexpr std::size_t kCompanionRecordSize = 296;
// A block number above this is a stray line, so a hostile file cannot make the
// reader allocate without bound.
inline constexpr std::int32_t kMaxBlockNumber = 1'000'000;

// The text file: for each row i (numbered from 0) the number, the "Time" text,
// the "Subtitle" lines and a line holding one space, every line ending in CR LF.
// Returns UTF-8; the caller encodes it for the disk.
std::string WriteSubRipText(const std::vector<SubtitleRow>& rows);

// The companion: `count` records, record i holding entries[i] (little-endian).
std::string WriteCompanion(const std::vector<SubtitleEntry>& entries, int count);
std::string EncodeCompanionRecord(const SubtitleEntry& entry);
SubtitleEntry DecodeCompanionRecord(std::string_view record);  // exactly 296 bytes

// Whether bytes look like a companion file: a whole number of records, and not
// the start of a video (RIFF, an MPEG pack header 00 00 01 BA).
bool LooksLikeCompanion(std::string_view bytes);

// What the reader needs of the current placement and style.
struct SubRipReadContext {
  std::int32_t SubtitleX = 10;
  std::int32_t SubtitleY = 0;
  std::int32_t FontHeight = -21;  // the font's height value (negative: character height)
  Colour TextColor = 0x00FFFFFF;
  Colour BorderColor = 0x00FF0000;
  std::uint32_t FontRef = 0;
  std::int32_t VideoWidth = 0;
  // Pixel width of one line of text in the subtitle font.
  std::function<int(const std::string& utf8Line)> TextWidth;
};

struct SubRipReadResult {
  std::vector<SubtitleRow> Rows;
  std::vector<SubtitleEntry> Entries;  // Entries.size() == Rows.size()
};

// Reads a text file (already decoded to UTF-8) with its companion bytes.
// Rows and entries are filled in block order, so row i and entry i are always
// the same subtitle and there is never an empty entry in front. A block takes
// its position and style from companion record k, or the first later record
// whose Tag is k, else the last record read; none when there is no record k.
// k is the block's number when the file is numbered from 0 (so 0, 1, 2, ...
// line up with the records written beside them), else the block's row index.
// A block number repeated or going backwards, or above kMaxBlockNumber, is a
// stray line and skipped.
SubRipReadResult ReadSubRip(std::string_view utf8Text, std::string_view companion,
                            const SubRipReadContext& context);

}  // namespace orlisk
