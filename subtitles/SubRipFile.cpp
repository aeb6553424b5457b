#include "subtitles/SubRipFile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>

namespace orlisk {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::int32_t kNewSubtitleDrawLevel = 240;

// Byte offsets of the fields in a companion record.
constexpr std::size_t kOffsetX = 0;
constexpr std::size_t kOffsetY = 4;
constexpr std::size_t kOffsetDrawLevel = 8;
constexpr std::size_t kOffsetTextLength = 12;
constexpr std::size_t kOffsetText = 13;
constexpr std::size_t kOffsetTag = 268;
constexpr std::size_t kOffsetBorderColor = 272;
constexpr std::size_t kOffsetTextColor = 276;
constexpr std::size_t kOffsetFont = 280;
constexpr std::size_t kOffsetBorder = 284;
constexpr std::size_t kOffsetBeginTime = 288;
constexpr std::size_t kOffsetEndTime = 292;

// The last byte of the text field says how the record's place is meant. Older
// versions left it 0 (their texts never filled the field's last byte unless
// 255 bytes long), so the text a record carries is cut to 254 bytes: nothing
// reads it back, the text file holds the subtitle's text.
constexpr std::size_t kOffsetPlacementKind = kOffsetText + kMaxEntryTextBytes - 1;
constexpr std::size_t kMaxRecordTextBytes = kMaxEntryTextBytes - 1;
constexpr char kPlacedByHand = 1;  // X is the left edge of every line; Y as drawn
constexpr char kPlacedCentred = 2;  // every line centred; Y as drawn

// How a record's place is meant: centred or not, as drawn when it was saved;
// nothing for a record of an older version, whose place the reader adjusts.
std::optional<bool> StoredCentring(std::string_view record) {
  if (static_cast<unsigned char>(record[kOffsetTextLength]) > kMaxRecordTextBytes) return std::nullopt;
  switch (record[kOffsetPlacementKind]) {
    case kPlacedByHand: return false;
    case kPlacedCentred: return true;
    default: return std::nullopt;
  }
}

void PutUint32(std::string& record, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t GetUint32(std::string_view record, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(record[offset + i])) << (8 * i);
  }
  return value;
}

std::int32_t GetInt32(std::string_view record, std::size_t offset) {
  return static_cast<std::int32_t>(GetUint32(record, offset));
}

// Position arithmetic wraps like the 32-bit integers of the file, so values
// from a hostile companion cannot overflow.
std::int32_t Wrap(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

// Lines end at LF or CR LF; a CR anywhere else is dropped; Ctrl-Z ends the text.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text.substr(0, text.find('\x1A'))) {}

  bool atEnd() const { return position_ >= text_.size(); }

  // The next line without its end; empty once the text is used up.
  std::string next() {
    if (atEnd()) return {};
    const std::size_t lf = text_.find('\n', position_);
    const std::size_t end = lf == std::string_view::npos ? text_.size() : lf;
    std::string line(text_.substr(position_, end - position_));
    position_ = end + 1;
    std::erase(line, '\r');
    return line;
  }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

constexpr std::size_t kOffsetPairCheck = 285;  // three bytes the record leaves free
constexpr std::uint32_t kPairCheckMask = 0xFFFFFF;

std::uint32_t StoredPairCheck(std::string_view record) {
  return (GetUint32(record, kOffsetPairCheck - 1) >> 8) & kPairCheckMask;
}

// How far past the last block's number the search for a tag goes: a
// companion holds one record per block, so records far beyond the last block
// belong to none of them.
constexpr std::uint64_t kSearchPastLastBlock = 1024;

// The companion's records, read by position in chunks as the blocks ask for
// them. A block whose own record does not carry its number needs the first
// later record that does: an index of such records is built once, on the
// first such block, from one pass over the records up to `searchLimit`.
class CompanionRecords {
 public:
  CompanionRecords(const CompanionSource* source, std::uint64_t searchLimit)
      : source_(source), count_(source ? source->recordCount() : 0), searchLimit_(searchLimit) {}

  std::uint64_t count() const { return count_; }

  // Reads from record `key` on until one carries Tag == key: that record, or
  // the last record read when none does; nothing when the file has no record
  // `key` (a trailing part-record does not count). The bytes last until the
  // next call.
  std::optional<std::string_view> lookUp(std::int64_t key) {
    if (key < 0 || static_cast<std::uint64_t>(key) >= count_) return std::nullopt;
    const auto start = static_cast<std::uint64_t>(key);
    if (GetInt32(record(start), kOffsetTag) == key) return record(start);
    std::uint64_t chosen = count_ - 1;
    if (key <= std::numeric_limits<std::int32_t>::max()) {
      buildIndex();
      const std::pair<std::int32_t, std::uint64_t> from{static_cast<std::int32_t>(key), start};
      const auto match = std::lower_bound(laterTags_.begin(), laterTags_.end(), from);
      if (match != laterTags_.end() && match->first == key) chosen = match->second;
    }
    return record(chosen);
  }

  std::string_view record(std::uint64_t i) {
    if (chunk_.empty() || i < chunkFirst_ || i >= chunkFirst_ + chunk_.size() / kCompanionRecordSize) {
      chunkFirst_ = i - i % kChunkRecords;
      const auto records = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkRecords, count_ - chunkFirst_));
      chunk_ = source_->readRecords(chunkFirst_, records);
    }
    return std::string_view(chunk_).substr((i - chunkFirst_) * kCompanionRecordSize, kCompanionRecordSize);
  }

 private:
  static constexpr std::uint64_t kChunkRecords = 1024;

  void buildIndex() {
    if (indexBuilt_) return;
    indexBuilt_ = true;
    const std::uint64_t searched = std::min({count_, kMaxCompanionSearch, searchLimit_});
    for (std::uint64_t i = 0; i < searched; ++i) {
      // Only a tag at or before its record can ever be asked for from there.
      const std::int32_t tag = GetInt32(record(i), kOffsetTag);
      if (tag >= 0 && static_cast<std::uint64_t>(tag) <= i) laterTags_.emplace_back(tag, i);
    }
    std::sort(laterTags_.begin(), laterTags_.end());
  }

  const CompanionSource* source_;
  std::uint64_t count_;
  std::uint64_t searchLimit_;
  std::string chunk_;
  std::uint64_t chunkFirst_ = 0;
  bool indexBuilt_ = false;
  std::vector<std::pair<std::int32_t, std::uint64_t>> laterTags_;  // (tag, record), sorted
};

// One block as the text gives it, before styles are applied.
struct ParsedBlock {
  std::int64_t key = 0;  // the companion record it asks for
  std::string timeLine;
  std::string lines[4];
  int lineCount = 0;
};

struct ParsedText {
  std::vector<ParsedBlock> blocks;
  std::uint32_t check = 0;       // numbers, times and texts
  std::uint32_t timesCheck = 0;  // numbers and times: what earlier versions stored
};

// FNV-1a, folded to the 24 bits a record has room for; never 0 (no check).
class CheckHash {
 public:
  void mix(std::string_view bytes) {
    for (const unsigned char c : bytes) hash_ = (hash_ ^ c) * 16777619u;
  }
  std::uint32_t value() const {
    const std::uint32_t folded = ((hash_ >> 24) ^ hash_) & kPairCheckMask;
    return folded == 0 ? 1 : folded;
  }

 private:
  std::uint32_t hash_ = 2166136261u;
};

// The blocks of a text, and its pair checks.
ParsedText ParseBlocks(std::string_view utf8Text) {
  ParsedText parsed;
  LineReader reader(utf8Text);
  std::int64_t expected = 0;
  bool numberedFromZero = false;
  CheckHash whole, times;

  while (!reader.atEnd()) {
    const std::string numberLine = reader.next();
    const auto number = ParseTimeInteger(Trim(numberLine));
    // Stray lines: not a number, a number below the one expected, or a jump
    // to a number so large that it cannot be a block of a real file.
    if (!number || *number < expected) continue;
    if (*number > expected && *number > kMaxBlockNumber) continue;
    expected = static_cast<std::int64_t>(*number) + 1;

    ParsedBlock block;
    // Files numbered from 0 match companion records by number; others (from 1,
    // or with gaps at the start) by their place, so row i and entry i agree.
    if (parsed.blocks.empty()) numberedFromZero = *number == 0;
    block.key = numberedFromZero ? *number : static_cast<std::int64_t>(parsed.blocks.size());
    block.timeLine = reader.next();
    // Lines 2 to 4 end at a blank line; a fifth line is a stray line.
    block.lines[0] = reader.next();
    block.lineCount = 1;
    while (block.lineCount < 4) {
      std::string line = reader.next();
      if (Trim(line).empty()) break;
      block.lines[block.lineCount++] = std::move(line);
    }
    for (CheckHash* hash : {&whole, &times}) {
      hash->mix(std::to_string(*number));
      hash->mix("\n");
      hash->mix(block.timeLine);
      hash->mix("\n");
    }
    // The text as the block holds it; a line of its own ends each, and a
    // separator the block, so moving a line break changes the check.
    for (int i = 0; i < block.lineCount; ++i) {
      whole.mix(block.lines[i]);
      whole.mix("\n");
    }
    whole.mix("\x1E");
    parsed.blocks.push_back(std::move(block));
  }
  parsed.check = whole.value();
  parsed.timesCheck = times.value();
  return parsed;
}

// The defaults of one block when no companion record is read.
SubtitleEntry ResetEntryBuffer(const SubRipReadContext& context) {
  SubtitleEntry entry;
  entry.Place.X = context.Placement.X;
  entry.Place.Y = context.Placement.Y;
  entry.Place.DrawLevel = kNewSubtitleDrawLevel;
  entry.Place.Centred = true;
  entry.TextColor = context.Style.TextColor;
  entry.Font = FontId(context.Style.Font);
  entry.Tag = -1;
  entry.BorderColor = context.Style.BorderColor;
  entry.Border = true;
  return entry;
}

}  // namespace

std::string WriteSubRipText(const std::vector<SubtitleRow>& rows) {
  std::string text;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    text += std::to_string(i);
    text += kLineEnd;
    text += rows[i].Time;
    text += kLineEnd;
    text += rows[i].Subtitle;
    text += kLineEnd;
    text += ' ';
    text += kLineEnd;
  }
  return text;
}

std::string EncodeCompanionRecord(const SubtitleEntry& entry) {
  std::string record(kCompanionRecordSize, '\0');
  PutUint32(record, kOffsetX, static_cast<std::uint32_t>(entry.Place.X));
  PutUint32(record, kOffsetY, static_cast<std::uint32_t>(entry.Place.Y));
  PutUint32(record, kOffsetDrawLevel, static_cast<std::uint32_t>(entry.Place.DrawLevel));
  const std::string text = CutUtf8(entry.Text, kMaxRecordTextBytes);
  record[kOffsetTextLength] = static_cast<char>(text.size());
  std::memcpy(record.data() + kOffsetText, text.data(), text.size());
  PutUint32(record, kOffsetTag, static_cast<std::uint32_t>(entry.Tag));
  PutUint32(record, kOffsetBorderColor, entry.BorderColor);
  PutUint32(record, kOffsetTextColor, entry.TextColor);
  PutUint32(record, kOffsetFont, entry.Font);
  record[kOffsetBorder] = entry.Border ? 1 : 0;
  record[kOffsetPlacementKind] = entry.Place.Centred ? kPlacedCentred : kPlacedByHand;
  PutUint32(record, kOffsetBeginTime, static_cast<std::uint32_t>(entry.BeginTime));
  PutUint32(record, kOffsetEndTime, static_cast<std::uint32_t>(entry.EndTime));
  return record;
}

SubtitleEntry DecodeCompanionRecord(std::string_view record) {
  if (record.size() != kCompanionRecordSize) {
    throw std::invalid_argument("A subtitle companion record must be 296 bytes long");
  }
  SubtitleEntry entry;
  entry.Place.X = GetInt32(record, kOffsetX);
  entry.Place.Y = GetInt32(record, kOffsetY);
  entry.Place.DrawLevel = GetInt32(record, kOffsetDrawLevel);
  entry.Place.Centred = StoredCentring(record).value_or(false);
  const auto length = static_cast<unsigned char>(record[kOffsetTextLength]);
  entry.Text = std::string(record.substr(kOffsetText, length));
  entry.Tag = GetInt32(record, kOffsetTag);
  entry.BorderColor = GetUint32(record, kOffsetBorderColor);
  entry.TextColor = GetUint32(record, kOffsetTextColor);
  entry.Font = GetUint32(record, kOffsetFont);
  entry.Border = record[kOffsetBorder] != 0;
  entry.BeginTime = GetInt32(record, kOffsetBeginTime);
  entry.EndTime = GetInt32(record, kOffsetEndTime);
  return entry;
}

std::string WriteCompanion(const std::vector<SubtitleEntry>& entries, int count, std::uint32_t pairCheck) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(std::max(count, 0)) * kCompanionRecordSize);
  const SubtitleEntry empty;
  for (int i = 0; i < count; ++i) {
    const auto index = static_cast<std::size_t>(i);
    std::string record = EncodeCompanionRecord(index < entries.size() ? entries[index] : empty);
    for (int b = 0; b < 3; ++b) record[kOffsetPairCheck + b] = static_cast<char>((pairCheck >> (8 * b)) & 0xFF);
    bytes += record;
  }
  return bytes;
}

bool LooksLikeCompanion(std::string_view bytes) {
  if (bytes.size() % kCompanionRecordSize != 0) return false;
  if (bytes.starts_with("RIFF")) return false;
  if (bytes.starts_with(std::string_view("\x00\x00\x01\xBA", 4))) return false;
  return true;
}

std::uint32_t PairCheck(std::string_view utf8Text) { return ParseBlocks(utf8Text).check; }

std::string CompanionBytes::readRecords(std::uint64_t first, std::size_t count) const {
  return std::string(bytes_.substr(first * kCompanionRecordSize, count * kCompanionRecordSize));
}

SubRipReadResult ReadSubRip(std::string_view utf8Text, std::string_view companion,
                            const SubRipReadContext& context) {
  const CompanionBytes source(companion);
  return ReadSubRip(utf8Text, source, context);
}

SubRipReadResult ReadSubRip(std::string_view utf8Text, const CompanionSource& companion,
                            const SubRipReadContext& context) {
  SubRipReadResult result;
  ParsedText parsed = ParseBlocks(utf8Text);
  const std::uint64_t lastKey = parsed.blocks.empty() ? 0 : static_cast<std::uint64_t>(parsed.blocks.back().key);
  CompanionRecords records(&companion, lastKey + 1 + kSearchPastLastBlock);
  if (records.count() > 0) {
    // A companion of an earlier version carries the check of the times alone.
    const std::uint32_t stored = StoredPairCheck(records.record(0));
    result.StaleCompanion = stored != 0 && stored != parsed.check && stored != parsed.timesCheck;
  }
  const std::uint64_t usableRecords = result.StaleCompanion ? 0 : records.count();
  result.Rows.reserve(parsed.blocks.size());
  result.Entries.reserve(parsed.blocks.size());

  for (ParsedBlock& block : parsed.blocks) {
    SubtitleEntry entry = ResetEntryBuffer(context);
    // A record of this version keeps the place as it was drawn; an older
    // record, or none, gets the older versions' adjustments.
    bool placedAsDrawn = false;
    if (const auto record = usableRecords > 0 ? records.lookUp(block.key) : std::nullopt) {
      const SubtitleEntry stored = DecodeCompanionRecord(*record);
      const std::optional<bool> centred = StoredCentring(*record);
      placedAsDrawn = centred.has_value();
      entry.Place = stored.Place;
      // Older versions centred a text whose X was the current one.
      entry.Place.Centred = centred.value_or(stored.Place.X == context.Placement.X);
      entry.Tag = stored.Tag;
      entry.BorderColor = stored.BorderColor;
      entry.TextColor = stored.TextColor;
      entry.Font = stored.Font;
      entry.Border = stored.Border;
    }
    entry.BeginTime = ParseBeginTime(block.timeLine);
    entry.EndTime = ParseEndTime(block.timeLine);

    SubtitleRow row{std::move(block.timeLine), {}};
    entry.Text = CutUtf8(block.lines[0], kMaxEntryTextBytes);
    row.Subtitle = entry.Text;
    for (int lineNumber = 2; lineNumber <= block.lineCount; ++lineNumber) {
      entry.Text = CutUtf8(entry.Text + std::string(kLineEnd) + block.lines[lineNumber - 1], kMaxEntryTextBytes);
      // Older versions moved a text down by a line for each line after the
      // first (the second only from the current Y) every time it was read.
      if (!placedAsDrawn && (lineNumber > 2 || entry.Place.Y == context.Placement.Y)) {
        entry.Place.Y = Wrap(static_cast<std::int64_t>(entry.Place.Y) - context.Style.Font.Height);
      }
      row.Subtitle = entry.Text;
    }

    result.Rows.push_back(std::move(row));
    result.Entries.push_back(std::move(entry));
  }
  return result;
}

}  // namespace orlisk
