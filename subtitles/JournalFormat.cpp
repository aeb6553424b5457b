#include "subtitles/JournalFormat.h"

#include "subtitles/SpliceSequence.h"

#include <array>
#include <limits>
#include <optional>
#include <stdexcept>

namespace orlisk {
namespace {

constexpr std::string_view kMagic = "ORLSKJNL";
constexpr std::size_t kFrameBytes = 8;  // length and checksum before each payload
constexpr std::uint8_t kBaseRecord = 1;
constexpr std::uint8_t kChangeRecord = 2;
// A subtitle's flags byte: bit 0 the outline, bit 1 a centred place (journals
// of earlier versions have 0 or 1 here and so read as not centred).
constexpr std::uint8_t kFlagBorder = 1;
constexpr std::uint8_t kFlagCentred = 2;

class Writer {
 public:
  void u8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void i64(std::int64_t v) {
    const auto u = static_cast<std::uint64_t>(v);
    u32(static_cast<std::uint32_t>(u & 0xFFFFFFFFu));
    u32(static_cast<std::uint32_t>(u >> 32));
  }
  void text(const std::string& s) {
    u32(static_cast<std::uint32_t>(s.size()));
    bytes_ += s;
  }
  void subtitle(const SubtitleRow& row, const SubtitleEntry& entry) {
    text(row.Time);
    text(row.Subtitle);
    i32(entry.Place.X);
    i32(entry.Place.Y);
    i32(entry.Place.DrawLevel);
    text(entry.Text);
    i32(entry.Tag);
    u32(entry.BorderColor);
    u32(entry.TextColor);
    u32(entry.Font);
    u8((entry.Border ? kFlagBorder : 0) | (entry.Place.Centred ? kFlagCentred : 0));
    i32(entry.BeginTime);
    i32(entry.EndTime);
  }
  void subtitles(const std::vector<SubtitleRow>& rows, const std::vector<SubtitleEntry>& entries) {
    u32(static_cast<std::uint32_t>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) subtitle(rows[i], i < entries.size() ? entries[i] : SubtitleEntry{});
  }
  std::string& bytes() { return bytes_; }

 private:
  std::string bytes_;
};

// Reads a payload; any read past its end is a damaged record.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  struct Short {};

  std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)[0]); }
  std::uint32_t u32() {
    const std::string_view b = take(4);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[static_cast<std::size_t>(i)]);
    return v;
  }
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
  std::int64_t i64() {
    const std::uint64_t low = u32();
    const std::uint64_t high = u32();
    return static_cast<std::int64_t>((high << 32) | low);
  }
  std::string text() { return std::string(take(u32())); }
  void subtitle(std::vector<SubtitleRow>& rows, std::vector<SubtitleEntry>& entries) {
    SubtitleRow row;
    row.Time = text();
    row.Subtitle = text();
    SubtitleEntry entry;
    entry.Place.X = i32();
    entry.Place.Y = i32();
    entry.Place.DrawLevel = i32();
    entry.Text = text();
    entry.Tag = i32();
    entry.BorderColor = u32();
    entry.TextColor = u32();
    entry.Font = u32();
    const std::uint8_t flags = u8();
    entry.Border = (flags & kFlagBorder) != 0;
    entry.Place.Centred = (flags & kFlagCentred) != 0;
    entry.BeginTime = i32();
    entry.EndTime = i32();
    rows.push_back(std::move(row));
    entries.push_back(std::move(entry));
  }
  void subtitles(std::vector<SubtitleRow>& rows, std::vector<SubtitleEntry>& entries) {
    const std::uint32_t count = u32();
    // Each subtitle takes at least its fixed fields: a count beyond what the
    // payload can hold is damage, not a reason to reserve memory.
    constexpr std::size_t kSmallestSubtitle = 4 * 3 + 4 * 3 + 4 * 5 + 1 + 4 * 2;
    if (count > remaining() / kSmallestSubtitle) throw Short{};
    for (std::uint32_t i = 0; i < count; ++i) subtitle(rows, entries);
  }
  std::size_t remaining() const { return bytes_.size() - position_; }

 private:
  std::string_view take(std::size_t count) {
    if (count > remaining()) throw Short{};
    const std::string_view part = bytes_.substr(position_, count);
    position_ += count;
    return part;
  }

  std::string_view bytes_;
  std::size_t position_ = 0;
};

std::string Framed(std::string payload) {
  Writer frame;
  frame.u32(static_cast<std::uint32_t>(payload.size()));
  frame.u32(JournalChecksum(payload));
  frame.bytes() += payload;
  return std::move(frame.bytes());
}

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  return v;
}

const std::array<std::uint32_t, 256>& ChecksumTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

}  // namespace

std::uint32_t JournalChecksum(std::string_view bytes) {
  const auto& table = ChecksumTable();
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string JournalHeader() {
  Writer header;
  header.bytes() = std::string(kMagic);
  header.u32(kJournalFormatVersion);
  return std::move(header.bytes());
}

std::string EncodeJournalBase(const DocumentSnapshot& snapshot, const std::string& videoPath, JournalBaseKind kind,
                              std::int64_t wallTimeMs) {
  Writer payload;
  payload.u8(kBaseRecord);
  payload.i64(wallTimeMs);
  payload.u8(static_cast<std::uint8_t>(kind));
  payload.text(videoPath);
  payload.subtitles(snapshot.Rows, snapshot.Entries);
  return Framed(std::move(payload.bytes()));
}

std::string EncodeJournalChange(const DocumentSplice& change, std::int64_t wallTimeMs) {
  Writer payload;
  payload.u8(kChangeRecord);
  payload.i64(wallTimeMs);
  payload.i32(change.First);
  payload.i32(change.RemovedCount);
  payload.subtitles(change.Rows, change.Entries);
  return Framed(std::move(payload.bytes()));
}

JournalContents ReadJournal(std::string_view bytes) {
  JournalContents contents;
  if (bytes.size() < kJournalHeaderBytes) {
    // Cut inside the header: a run killed while it created its journal, or
    // a file of a few bytes that is not one.
    const bool ourStart = kMagic.substr(0, std::min(bytes.size(), kMagic.size())) ==
                          bytes.substr(0, std::min(bytes.size(), kMagic.size()));
    contents.Status = ourStart ? JournalReadStatus::Empty : JournalReadStatus::Foreign;
    return contents;
  }
  if (bytes.substr(0, kMagic.size()) != kMagic) {
    contents.Status = JournalReadStatus::Foreign;
    return contents;
  }
  contents.Version = ReadU32(bytes, kMagic.size());
  if (contents.Version > kJournalFormatVersion) {
    contents.Status = JournalReadStatus::Newer;
    return contents;
  }
  if (contents.Version != kJournalFormatVersion) {
    contents.Status = JournalReadStatus::Foreign;
    return contents;
  }

  std::optional<DocumentSnapshot> base;
  // The list the changes are applied to: one structure for the whole replay.
  std::optional<SpliceSequence> list;
  bool baseSaved = false;
  std::size_t at = kJournalHeaderBytes;
  contents.GoodBytes = at;
  bool damaged = false;
  while (at < bytes.size()) {
    if (bytes.size() - at < kFrameBytes) {
      damaged = true;
      break;
    }
    const std::uint32_t length = ReadU32(bytes, at);
    const std::uint32_t checksum = ReadU32(bytes, at + 4);
    if (length > bytes.size() - at - kFrameBytes) {
      damaged = true;
      break;
    }
    const std::string_view payload = bytes.substr(at + kFrameBytes, length);
    if (JournalChecksum(payload) != checksum) {
      damaged = true;
      break;
    }
    try {
      Reader record(payload);
      const std::uint8_t kind = record.u8();
      const std::int64_t time = record.i64();
      if (kind == kBaseRecord) {
        const std::uint8_t saved = record.u8();
        std::string video = record.text();
        DocumentSnapshot snapshot;
        record.subtitles(snapshot.Rows, snapshot.Entries);
        if (record.remaining() != 0 || saved > 1) throw Reader::Short{};
        baseSaved = saved == static_cast<std::uint8_t>(JournalBaseKind::Saved);
        list.emplace(snapshot);
        base = std::move(snapshot);
        contents.VideoPath = std::move(video);
        contents.ChangesSinceBase = 0;
      } else if (kind == kChangeRecord && base) {
        DocumentSplice change;
        change.First = record.i32();
        change.RemovedCount = record.i32();
        record.subtitles(change.Rows, change.Entries);
        if (record.remaining() != 0) throw Reader::Short{};
        list->apply(change);  // throws, changing nothing, when it does not fit
        ++contents.ChangesSinceBase;
      } else {
        throw Reader::Short{};
      }
      contents.LastChangeMs = time;
    } catch (const Reader::Short&) {
      damaged = true;
      break;
    } catch (const std::out_of_range&) {
      damaged = true;
      break;
    }
    at += kFrameBytes + length;
    contents.GoodBytes = at;
  }

  if (!base) {
    contents.Status = damaged ? JournalReadStatus::DamagedBase : JournalReadStatus::Empty;
    return contents;
  }
  contents.Subtitles = list->snapshot();
  contents.Status = damaged ? JournalReadStatus::Damaged : JournalReadStatus::Complete;
  const bool asSaved = baseSaved && !SpliceBetween(*base, contents.Subtitles);
  contents.HoldsUnsavedWork = !contents.Subtitles.Rows.empty() && !asSaved;
  return contents;
}

}  // namespace orlisk
