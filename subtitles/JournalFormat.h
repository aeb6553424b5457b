#pragma once
// The recovery journal's bytes: what is written while the user works, and
// what is read back after a run that did not end cleanly. Pure transforms on
// bytes in memory; the file, its lock and the question to the user live
// further out.
//
// Layout (integers little-endian):
//   header   8 bytes "ORLSKJNL", u32 format version
//   records  u32 payload length, u32 CRC-32 of the payload, the payload
//   payload  u8 kind, i64 wall-clock time in ms since 1970, then by kind:
//            base   (kind 1): u8 saved, string video path, u32 n, n subtitles
//            change (kind 2): i32 first, i32 removed count, u32 n, n subtitles
//   subtitle string Time, string Subtitle (the row); i32 X, i32 Y,
//            i32 DrawLevel, string Text, i32 Tag, u32 BorderColor,
//            u32 TextColor, u32 Font, u8 Flags (bit 0 outline, bit 1 centred), i32 BeginTime, i32 EndTime
//   string   u32 byte count, the bytes
// A base holds the whole list; each change is one splice applied to what the
// records before it give. A record that is cut short, fails its checksum,
// does not parse or does not fit the list ends the journal: everything before
// it is what the journal holds.
#include <cstdint>
#include <string>
#include <string_view>

#include "DocumentChange.h"

namespace orlisk {

inline constexpr std::uint32_t kJournalFormatVersion = 1;
inline constexpr std::size_t kJournalHeaderBytes = 12;

// The first bytes of every journal.
std::string JournalHeader();

// Whether the list a base holds is what was last saved (nothing to lose).
enum class JournalBaseKind : std::uint8_t { Unsaved = 0, Saved = 1 };

// One framed record each, ready to append.
std::string EncodeJournalBase(const DocumentSnapshot& snapshot, const std::string& videoPath, JournalBaseKind kind,
                              std::int64_t wallTimeMs);
std::string EncodeJournalChange(const DocumentSplice& change, std::int64_t wallTimeMs);

enum class JournalReadStatus {
  Complete,  // every record read
  Damaged,   // a record cut short or damaged; what came before it was read
  DamagedBase,  // the first record, the list every change builds on, is damaged:
                // nothing can be read (a journal is never written that way)
  Empty,     // no base record: nothing to restore (a run killed as it began)
  Foreign,   // not a journal of this editor
  Newer,     // a journal of a later format, which this editor cannot read
};

struct JournalContents {
  JournalReadStatus Status = JournalReadStatus::Empty;
  DocumentSnapshot Subtitles;      // the list after the last good record
  std::string VideoPath;           // the video of the last base
  std::int64_t LastChangeMs = 0;   // wall-clock time of the last good record
  std::size_t GoodBytes = 0;       // where the good records end
  int ChangesSinceBase = 0;
  // The list differs from what was last saved: the run lost work.
  bool HoldsUnsavedWork = false;
  std::uint32_t Version = 0;       // the version the header names
};

// Reads a whole journal; never throws on damaged or foreign bytes.
JournalContents ReadJournal(std::string_view bytes);

// CRC-32 (the zlib polynomial) of `bytes`.
std::uint32_t JournalChecksum(std::string_view bytes);

}  // namespace orlisk
