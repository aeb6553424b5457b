#include "subtitles/SubRipFile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>
#include <unordered_map>

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

// The companion's whole records, with an index from tag to record positions
// so that matching every block stays fast on large or hostile files.
class CompanionRecords {
 public:
  explicit CompanionRecords(std::string_view bytes)
      : bytes_(bytes), count_(bytes.size() / kCompanionRecordSize) {
    for (std::size_t i = 0; i < count_; ++i) byTag_[GetInt32(record(i), kOffsetTag)].push_back(i);
  }

  // Reads from record `key` on until one carries Tag == key: that record, or
  // the last record read when none does; nothing when the file has no record
  // `key` (a trailing part-record does not count).
  std::optional<SubtitleEntry> lookUp(std::int64_t key) const {
    if (key < 0 || static_cast<std::size_t>(key) >= count_) return std::nullopt;
    const auto start = static_cast<std::size_t>(key);
    std::size_t chosen = count_ - 1;
    if (key <= std::numeric_limits<std::int32_t>::max()) {
      if (const auto found = byTag_.find(static_cast<std::int32_t>(key)); found != byTag_.end()) {
        const auto& positions = found->second;
        const auto match = std::lower_bound(positions.begin(), positions.end(), start);
        if (match != positions.end()) chosen = *match;
      }
    }
    return DecodeCompanionRecord(record(chosen));
  }

 private:
  std::string_view record(std::size_t i) const {
    return bytes_.substr(i * kCompanionRecordSize, kCompanionRecordSize);
  }

  std::string_view bytes_;
  std::size_t count_;
  std::unordered_map<std::int32_t, std::vector<std::size_t>> byTag_;
};

// The defaults of one block when no companion record is read.
SubtitleEntry ResetEntryBuffer(const SubRipReadContext& context) {
  SubtitleEntry entry;
  entry.X = context.SubtitleX;
  entry.Y = context.SubtitleY;
  entry.DrawLevel = kNewSubtitleDrawLevel;
  entry.TextColor = context.TextColor;
  entry.Font = context.FontRef;
  entry.Tag = -1;
  entry.BorderColor = context.BorderColor;
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
  PutUint32(record, kOffsetX, static_cast<std::uint32_t>(entry.X));
  PutUint32(record, kOffsetY, static_cast<std::uint32_t>(entry.Y));
  PutUint32(record, kOffsetDrawLevel, static_cast<std::uint32_t>(entry.DrawLevel));
  const std::string text = CutUtf8(entry.Text, kMaxEntryTextBytes);
  record[kOffsetTextLength] = static_cast<char>(text.size());
  std::memcpy(record.data() + kOffsetText, text.data(), text.size());
  PutUint32(record, kOffsetTag, static_cast<std::uint32_t>(entry.Tag));
  PutUint32(record, kOffsetBorderColor, entry.BorderColor);
  PutUint32(record, kOffsetTextColor, entry.TextColor);
  PutUint32(record, kOffsetFont, entry.Font);
  record[kOffsetBorder] = entry.Border ? 1 : 0;
  PutUint32(record, kOffsetBeginTime, static_cast<std::uint32_t>(entry.BeginTime));
  PutUint32(record, kOffsetEndTime, static_cast<std::uint32_t>(entry.EndTime));
  return record;
}

SubtitleEntry DecodeCompanionRecord(std::string_view record) {
  if (record.size() != kCompanionRecordSize) {
    throw std::invalid_argument("A subtitle companion record must be 296 bytes long");
  }
  SubtitleEntry entry;
  entry.X = GetInt32(record, kOffsetX);
  entry.Y = GetInt32(record, kOffsetY);
  entry.DrawLevel = GetInt32(record, kOffsetDrawLevel);
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

std::string WriteCompanion(const std::vector<SubtitleEntry>& entries, int count) {
  std::string bytes;
  const SubtitleEntry empty;
  for (int i = 0; i < count; ++i) {
    const auto index = static_cast<std::size_t>(i);
    bytes += EncodeCompanionRecord(index < entries.size() ? entries[index] : empty);
  }
  return bytes;
}

bool LooksLikeCompanion(std::string_view bytes) {
  if (bytes.size() % kCompanionRecordSize != 0) return false;
  if (bytes.starts_with("RIFF")) return false;
  if (bytes.starts_with(std::string_view("\x00\x00\x01\xBA", 4))) return false;
  return true;
}

SubRipReadResult ReadSubRip(std::string_view utf8Text, std::string_view companion,
                            const SubRipReadContext& context) {
  SubRipReadResult result;
  const CompanionRecords records(companion);
  LineReader reader(utf8Text);
  std::int64_t expected = 0;
  bool numberedFromZero = false;

  while (!reader.atEnd()) {
    const std::string numberLine = reader.next();
    const auto number = ParseTimeInteger(Trim(numberLine));
    // Stray lines: not a number, a number below the one expected, or a number
    // so large that it cannot be a block of a real file.
    if (!number || *number > kMaxBlockNumber) continue;
    if (*number > expected) expected = *number;
    if (*number != expected) continue;
    expected = *number + 1;

    // Files numbered from 0 match companion records by number; others (from 1,
    // or with gaps at the start) by their place, so row i and entry i agree.
    if (result.Rows.empty()) numberedFromZero = *number == 0;
    const std::int64_t key = numberedFromZero ? *number : static_cast<std::int64_t>(result.Rows.size());

    const std::string timeLine = reader.next();
    SubtitleEntry entry = ResetEntryBuffer(context);
    if (const auto record = records.lookUp(key)) {
      entry.X = record->X;
      entry.Y = record->Y;
      entry.DrawLevel = record->DrawLevel;
      entry.Tag = record->Tag;
      entry.BorderColor = record->BorderColor;
      entry.TextColor = record->TextColor;
      entry.Font = record->Font;
      entry.Border = record->Border;
    }
    entry.BeginTime = ParseBeginTime(timeLine);
    entry.EndTime = ParseEndTime(timeLine);

    SubtitleRow row{timeLine, {}};
    const std::string firstLine = reader.next();
    entry.Text = CutUtf8(firstLine, kMaxEntryTextBytes);
    row.Subtitle = entry.Text;
    if (entry.X == context.SubtitleX) {
      const std::int64_t width = context.TextWidth ? context.TextWidth(firstLine) : 0;
      entry.X = Wrap((static_cast<std::int64_t>(context.VideoWidth) - width) / 2);
    }
    // Lines 2 to 4; a blank line ends the block, a fifth line is a stray line.
    for (int lineNumber = 2; lineNumber <= 4; ++lineNumber) {
      const std::string line = reader.next();
      if (Trim(line).empty()) break;
      entry.Text = CutUtf8(entry.Text + std::string(kLineEnd) + line, kMaxEntryTextBytes);
      if (lineNumber > 2 || entry.Y == context.SubtitleY) {
        entry.Y = Wrap(static_cast<std::int64_t>(entry.Y) - context.FontHeight);
      }
      row.Subtitle = entry.Text;
    }

    result.Rows.push_back(std::move(row));
    result.Entries.push_back(std::move(entry));
  }
  return result;
}

}  // namespace orlisk
