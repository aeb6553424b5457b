#pragma once
// What reading a SubRip file that this program did not write had to repair or
// leave out, counted by kind, so that the user is told instead of losing
// subtitles or times silently.
#include <array>
#include <cstddef>

namespace orlisk {

enum class SubRipRepair {
  NoNumber,           // blocks whose time line has no number line before it
  CrLineEnds,         // lines ended by a carriage return alone
  OneDigitFields,     // times with one-digit hours, minutes or seconds ("0:0:7,560")
  NoMilliseconds,     // times without milliseconds ("00:00:01"): 0 ms
  ShortMilliseconds,  // times with one or two digits of milliseconds, read as that many ms
  TextAfterTimes,     // time lines with more after the end time (screen coordinates), left out
  BlankLinesInside,   // subtitles with blank lines inside their text, left out
  NoTimeLine,         // numbered blocks without a time line: their lines join the subtitle before
  LinesOutside,       // lines before the first subtitle, left out
  TimesReadAsZero,    // negative or too large times, read as 0
};
inline constexpr std::size_t kSubRipRepairKinds = 10;

struct SubRipRepairs {
  std::array<int, kSubRipRepairKinds> Counts{};

  int& operator[](SubRipRepair kind) { return Counts[static_cast<std::size_t>(kind)]; }
  int operator[](SubRipRepair kind) const { return Counts[static_cast<std::size_t>(kind)]; }
  bool any() const {
    for (const int count : Counts)
      if (count > 0) return true;
    return false;
  }
};

}  // namespace orlisk
