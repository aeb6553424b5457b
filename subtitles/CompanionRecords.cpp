#include "subtitles/CompanionRecords.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "subtitles/TextEncoding.h"

namespace orlisk {
namespace {

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
constexpr std::size_t kOffsetPairCheck = 285;  // three bytes the record leaves free
constexpr std::size_t kOffsetBeginTime = 288;
constexpr std::size_t kOffsetEndTime = 292;
constexpr std::uint32_t kPairCheckMask = 0xFFFFFF;

// The last byte of the text field says how the record's place is meant. Older
// versions left it 0 (their texts never filled the field's last byte unless
// 255 bytes long), so the text a record carries is cut to 254 bytes: nothing
// reads it back, the text file holds the subtitle's text.
constexpr std::size_t kOffsetPlacementKind = kOffsetText + kMaxEntryTextBytes - 1;
constexpr std::size_t kMaxRecordTextBytes = kMaxEntryTextBytes - 1;
constexpr char kPlacedByHand = 1;  // X is the left edge of every line; Y as drawn
constexpr char kPlacedCentred = 2;  // every line centred; Y as drawn

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

}  // namespace

std::optional<bool> StoredCentring(std::string_view record) {
  if (static_cast<unsigned char>(record[kOffsetTextLength]) > kMaxRecordTextBytes) return std::nullopt;
  switch (record[kOffsetPlacementKind]) {
    case kPlacedByHand: return false;
    case kPlacedCentred: return true;
    default: return std::nullopt;
  }
}

std::uint32_t StoredPairCheck(std::string_view record) {
  return (GetUint32(record, kOffsetPairCheck - 1) >> 8) & kPairCheckMask;
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

std::string CompanionBytes::readRecords(std::uint64_t first, std::size_t count) const {
  return std::string(bytes_.substr(first * kCompanionRecordSize, count * kCompanionRecordSize));
}

std::optional<std::string_view> CompanionRecords::lookUp(std::int64_t key) {
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

std::string_view CompanionRecords::record(std::uint64_t i) {
  if (chunk_.empty() || i < chunkFirst_ || i >= chunkFirst_ + chunk_.size() / kCompanionRecordSize) {
    chunkFirst_ = i - i % kChunkRecords;
    const auto records = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkRecords, count_ - chunkFirst_));
    chunk_ = source_.readRecords(chunkFirst_, records);
  }
  return std::string_view(chunk_).substr((i - chunkFirst_) * kCompanionRecordSize, kCompanionRecordSize);
}

void CompanionRecords::buildIndex() {
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

}  // namespace orlisk
