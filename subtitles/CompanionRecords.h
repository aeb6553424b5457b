#pragma once
// The companion file: one record of 296 bytes per subtitle, keeping what the
// SubRip text cannot hold (place, colours, outline, drawing level). Pure
// transforms between bytes and entries, and the lookup of a block's record.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SubtitleEntry.h"

namespace orlisk {

inline constexpr std::size_t kCompanionRecordSize = 296;
// The records searched for a tag that does not sit at its own position (and
// never more than 1024 past the last block's number); a larger companion is
// only read where blocks ask for their own records.
inline constexpr std::uint64_t kMaxCompanionSearch = 1'048'576;

// The companion: `count` records, record i holding entries[i] (little-endian).
// `pairCheck` goes into the three spare bytes of every record (offset 285); 0
// means none, as in companions written by older versions. The last byte of a
// record's text field (offset 267) says whether the place is centred (2) or
// placed by hand (1); older versions left it 0, and the text a record carries
// is cut to 254 bytes, never inside a character, to keep that byte free (the
// text file holds the text).
std::string WriteCompanion(const std::vector<SubtitleEntry>& entries, int count, std::uint32_t pairCheck = 0);
std::string EncodeCompanionRecord(const SubtitleEntry& entry);
SubtitleEntry DecodeCompanionRecord(std::string_view record);  // exactly 296 bytes

// How a record's place is meant: centred or not, as drawn when it was saved;
// nothing for a record of an older version, whose place the reader adjusts.
std::optional<bool> StoredCentring(std::string_view record);

// The check of the text a record was saved with; 0 when it carries none.
std::uint32_t StoredPairCheck(std::string_view record);

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

// A companion's records, read by position in chunks as the blocks ask for
// them. A block whose own record does not carry its number needs the first
// later record that does: an index of such records is built once, on the
// first such block, from one pass over the records up to `searchLimit`.
class CompanionRecords {
 public:
  CompanionRecords(const CompanionSource& source, std::uint64_t searchLimit)
      : source_(source), count_(source.recordCount()), searchLimit_(searchLimit) {}

  std::uint64_t count() const { return count_; }

  // Reads from record `key` on until one carries Tag == key: that record, or
  // the last record read when none does; nothing when the file has no record
  // `key` (a trailing part-record does not count). The bytes last until the
  // next call.
  std::optional<std::string_view> lookUp(std::int64_t key);

  // Record i, which exists; the bytes last until the next call.
  std::string_view record(std::uint64_t i);

 private:
  static constexpr std::uint64_t kChunkRecords = 1024;

  void buildIndex();

  const CompanionSource& source_;
  std::uint64_t count_;
  std::uint64_t searchLimit_;
  std::string chunk_;
  std::uint64_t chunkFirst_ = 0;
  bool indexBuilt_ = false;
  std::vector<std::pair<std::int32_t, std::uint64_t>> laterTags_;  // (tag, record), sorted
};

}  // namespace orlisk
