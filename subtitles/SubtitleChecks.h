#pragma once
// The checks a subtitle list is held to before delivery: times that overlap
// or have no end, subtitles too short or too long on screen, too little gap
// to the next, text too fast to read, lines too long, and rows with no text.
// Plain functions of the document, run again as the list changes.
#include <cstdint>
#include <vector>

#include "SubtitleDocument.h"

namespace orlisk {

// The limits, each with the value most delivery guides agree on.
struct CheckLimits {
  SubtitleTime MinDuration = 700;    // ms on screen at least
  SubtitleTime MaxDuration = 7000;   // ms on screen at most
  std::int32_t MinGapFrames = 2;     // frames between one subtitle's end and the next one's begin
  std::int32_t MaxCharsPerSecond = 17;
  std::int32_t MaxLineLength = 42;     // characters of a line in a Latin-like script
  std::int32_t MaxLineLengthCJK = 16;  // characters of a line of Chinese, Japanese or Korean text

  bool operator==(const CheckLimits&) const = default;
};

// What a row is found to have; a row may have several at once.
enum CheckFinding : std::uint16_t {
  kOverlap = 1 << 0,    // shown at the same time as another subtitle
  kNoEnd = 1 << 1,      // no end, or an end before the begin
  kTooShort = 1 << 2,
  kTooLong = 1 << 3,
  kSmallGap = 1 << 4,   // the next subtitle comes less than MinGapFrames after its end
  kTooFast = 1 << 5,
  kLongLine = 1 << 6,
  kEmptyText = 1 << 7,
};

struct RowCheck {
  std::uint16_t Findings = 0;
  double CharsPerSecond = 0;   // reading speed, CJK characters counted twice
  // The line a long-line finding names: the first past its limit, else the
  // longest; in the units of the limit that applies to it.
  std::int32_t MeasuredLine = 0;
  bool MeasuredLineIsCJK = false;

  bool operator==(const RowCheck&) const = default;
};

// Reading speed weighs a CJK character as two: one carries about as much as a
// short word, and guides ask for about half the Latin rate in those scripts.
double ReadingLength(const std::string& text);

// A line is measured against the CJK limit when it holds CJK characters; the
// other characters of such a line count half, as they are about half as wide.
struct LineLength {
  std::int32_t Length = 0;
  bool IsCJK = false;
};
LineLength MeasureLine(const std::string& line);

// One result per row of `document`. Overlaps and gaps are judged in time
// order, whatever the rows' order; `frameRate` gives the gap's frame length
// (25 when it is not positive).
std::vector<RowCheck> CheckSubtitles(const SubtitleDocument& document, const CheckLimits& limits,
                                     double frameRate);

}  // namespace orlisk
