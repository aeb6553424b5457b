#include "SubtitleChecks.h"

#include <algorithm>
#include <cmath>

namespace orlisk {
namespace {

// Decodes one code point at `i` and moves past it; a malformed byte counts as
// one character of its own.
char32_t NextCodePoint(const std::string& text, std::size_t& i) {
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(i);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (i + static_cast<std::size_t>(extra) >= text.size()) extra = 0;
  char32_t point = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      extra = 0;
      point = lead;
      break;
    }
    point = (point << 6) | (byte(i + k) & 0x3F);
  }
  i += static_cast<std::size_t>(extra) + 1;
  return point;
}

bool IsCJK(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) ||    // radicals, CJK punctuation, kana, ideographs
         (c >= 0xAC00 && c <= 0xD7AF) ||    // Hangul syllables
         (c >= 0xF900 && c <= 0xFAFF) ||    // compatibility ideographs
         (c >= 0xFF00 && c <= 0xFF60) ||    // full-width forms
         (c >= 0x20000 && c <= 0x3FFFF);    // ideographs beyond the basic plane
}

bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

template <typename Visit>
void ForEachLine(const std::string& text, Visit visit) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    visit(text.substr(start, stop - start));
    start = end + 1;
  }
}

void CheckTimes(RowCheck& check, const SubtitleEntry& entry, const CheckLimits& limits) {
  const SubtitleTime duration = entry.EndTime - entry.BeginTime;
  if (duration <= 0) {
    check.Findings |= kNoEnd;
    return;
  }
  if (duration < limits.MinDuration) check.Findings |= kTooShort;
  if (duration > limits.MaxDuration) check.Findings |= kTooLong;
}

void CheckText(RowCheck& check, const std::string& text, const SubtitleEntry& entry, const CheckLimits& limits) {
  if (IsBlank(text)) {
    check.Findings |= kEmptyText;
    return;
  }
  bool tooLong = false;
  ForEachLine(text, [&](const std::string& line) {
    const LineLength length = MeasureLine(line);
    const bool over = length.Length > (length.IsCJK ? limits.MaxLineLengthCJK : limits.MaxLineLength);
    if (!tooLong && (over || length.Length > check.MeasuredLine)) {
      check.MeasuredLine = length.Length;
      check.MeasuredLineIsCJK = length.IsCJK;
    }
    tooLong |= over;
  });
  if (tooLong) check.Findings |= kLongLine;
  const SubtitleTime duration = entry.EndTime - entry.BeginTime;
  if (duration > 0) {
    check.CharsPerSecond = ReadingLength(text) * 1000.0 / duration;
    if (check.CharsPerSecond > limits.MaxCharsPerSecond) check.Findings |= kTooFast;
  }
}

// Walks the timed rows in time order. A subtitle overlaps every later one
// that begins before the latest end seen so far; the gap is measured from
// that latest end to the next begin.
void CheckNeighbours(std::vector<RowCheck>& checks, const std::vector<SubtitleEntry>& entries, int rows,
                     SubtitleTime minGap) {
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    if ((checks[static_cast<std::size_t>(i)].Findings & kNoEnd) == 0) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return entries[static_cast<std::size_t>(a)].BeginTime <
                                              entries[static_cast<std::size_t>(b)].BeginTime; });
  int latest = -1;  // the row with the latest end so far
  for (const int row : order) {
    const SubtitleEntry& entry = entries[static_cast<std::size_t>(row)];
    if (latest >= 0) {
      const SubtitleTime latestEnd = entries[static_cast<std::size_t>(latest)].EndTime;
      if (entry.BeginTime < latestEnd) {
        checks[static_cast<std::size_t>(row)].Findings |= kOverlap;
        checks[static_cast<std::size_t>(latest)].Findings |= kOverlap;
      } else if (entry.BeginTime - latestEnd < minGap) {
        checks[static_cast<std::size_t>(latest)].Findings |= kSmallGap;
      }
    }
    if (latest < 0 || entry.EndTime > entries[static_cast<std::size_t>(latest)].EndTime) latest = row;
  }
}

}  // namespace

double ReadingLength(const std::string& text) {
  double length = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = NextCodePoint(text, i);
    if (c == '\r' || c == '\n') continue;
    length += IsCJK(c) ? 2 : 1;
  }
  return length;
}

LineLength MeasureLine(const std::string& line) {
  int cjk = 0;
  int other = 0;
  for (std::size_t i = 0; i < line.size();) (IsCJK(NextCodePoint(line, i)) ? cjk : other) += 1;
  if (cjk == 0) return {other, false};
  return {cjk + (other + 1) / 2, true};
}

std::vector<RowCheck> CheckSubtitles(const SubtitleDocument& document, const CheckLimits& limits,
                                     double frameRate) {
  const int rows = std::min(document.rowCount(), static_cast<int>(document.entries().size()));
  std::vector<RowCheck> checks(static_cast<std::size_t>(document.rowCount()));
  for (int i = 0; i < rows; ++i) {
    RowCheck& check = checks[static_cast<std::size_t>(i)];
    const SubtitleEntry& entry = document.entries()[static_cast<std::size_t>(i)];
    CheckTimes(check, entry, limits);
    CheckText(check, document.row(i).Subtitle, entry, limits);
  }
  const double fps = frameRate > 0 ? frameRate : 25.0;
  const auto minGap = static_cast<SubtitleTime>(std::lround(limits.MinGapFrames * 1000.0 / fps));
  CheckNeighbours(checks, document.entries(), rows, minGap);
  return checks;
}

}  // namespace orlisk
