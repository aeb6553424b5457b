#pragma once
// What reading a subtitle file that this program did not write (SubRip,
// WebVTT, ASS) had to repair or leave out, counted by kind, so that the user
// is told instead of losing subtitles, times or looks silently.
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
  // What other formats carry and the list cannot hold, left out:
  FormattingTags,     // subtitles with markup (<i>, <b>, <font>, voices): the style in use is drawn
  OverrideTags,       // subtitles with ASS override tags other than place and colours (karaoke, fonts...)
  StyleFonts,         // subtitles in an ASS style whose font is not the one in use
  PlacesApproximated, // places that could only be read approximately (right-aligned, line numbers...)
  CueSettings,        // WebVTT cue settings other than line, position and align (vertical, size, region)
  CueNames,           // WebVTT cue identifiers other than numbers
  Comments,           // ASS Comment events and WebVTT NOTE blocks
  StyleSheets,        // WebVTT REGION blocks, STYLE blocks beyond cue colours or after a cue
  Drawings,           // ASS drawings and events other than Dialogue (pictures, sounds, commands)
  Effects,            // ASS events with an effect (scroll, banner)
};
inline constexpr std::size_t kSubRipRepairKinds = 20;

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
