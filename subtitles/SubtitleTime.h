#pragma once
// Time codes: a SubtitleTime is a signed 32-bit count of milliseconds from the
// start of the video. Its text form is hh:mm:ss,mmm with at least 2, 2, 2 and 3
// digits; a range is begin " --> " end.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orlisk {

using SubtitleTime = std::int32_t;

// 3,723,004 -> "01:02:03,004"; negative fields keep their sign: -1500 ->
// "00:00:-01,-500". Hours are not limited to two digits. Never fails.
std::string FormatSubtitleTime(SubtitleTime ms);

// FormatSubtitleTime(begin) + " --> " + FormatSubtitleTime(end).
std::string TimeRangeText(SubtitleTime begin, SubtitleTime end);

// The integer notation of time fields and SubRip block numbers: leading blanks,
// an optional sign, then decimal digits, or hexadecimal after "$", "x" or "0x".
// Empty text, any other character or a value outside 32 bits gives nullopt.
std::optional<std::int32_t> ParseTimeInteger(std::string_view text);

// The strict fixed-column reader behind the begin/end edit boxes: fields at
// characters 1-2, 4-5, 7-8 and 10-12 of the untrimmed text (shortened when the
// text is shorter); separators are never looked at. nullopt when any field
// fails. The caller shows "Subtitle time errors" and uses 0.
std::optional<SubtitleTime> ParseSubtitleTimeFields(std::string_view text);

// Silent readers of one SubRip time line; 0 on any failure.
// Begin: the text before the first space. End: the text after the first ">"
// (the whole line when there is none). Both trimmed, cut to 12 characters.
SubtitleTime ParseBeginTime(std::string_view line);
SubtitleTime ParseEndTime(std::string_view line);

// x * y / z with a 64-bit intermediate, rounded to the nearest integer (halves
// away from zero); -1 when z is 0 or the result does not fit in 32 bits.
std::int32_t MulDiv(std::int32_t x, std::int32_t y, std::int32_t z);

}  // namespace orlisk
