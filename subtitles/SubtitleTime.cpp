#include "subtitles/SubtitleTime.h"

#include <cstdlib>
#include <limits>

namespace orlisk {
namespace {

// One field, written as a minus sign (when negative) and at least `width`
// zero-padded digits: -1 with width 2 is "-01".
std::string PaddedField(std::int64_t value, std::size_t width) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Blanks and control characters (every byte up to and including the space).
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  return text;
}

// The substring of `text` at 1-based characters first..last, shortened (down
// to empty) where it runs past the end.
std::string_view Columns(std::string_view text, std::size_t first, std::size_t last) {
  if (text.size() < first) return {};
  return text.substr(first - 1, last - first + 1);
}

// Reads a SubRip time line field: trimmed, cut to 12 characters, fixed columns.
SubtitleTime ParseTrimmedTime(std::string_view text) {
  text = Trim(text);
  if (text.size() > 12) text = text.substr(0, 12);
  return ParseSubtitleTimeFields(text).value_or(0);
}

}  // namespace

std::string FormatSubtitleTime(SubtitleTime ms) {
  // Signed divisions truncate toward zero, so every field of a negative time
  // carries its own sign.
  const std::int64_t s = ms / 1000;
  const std::int64_t h = s / 3600;
  const std::int64_t m = (s - h * 3600) / 60;
  const std::int64_t sec = s % 60;
  const std::int64_t milli = ms - s * 1000;
  return PaddedField(h, 2) + ":" + PaddedField(m, 2) + ":" + PaddedField(sec, 2) + "," +
         PaddedField(milli, 3);
}

std::string TimeRangeText(SubtitleTime begin, SubtitleTime end) {
  return FormatSubtitleTime(begin) + " --> " + FormatSubtitleTime(end);
}

std::optional<std::int32_t> ParseTimeInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;

  if (hex) {
    // Up to eight hexadecimal digits: any 32-bit pattern, so "$FFFFFFFF" is -1.
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
      const int digit = HexDigitValue(text[i]);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<std::uint64_t>(digit);
      if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
  }

  std::int64_t value = 0;
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::optional<SubtitleTime> ParseSubtitleTimeFields(std::string_view text) {
  const auto hours = ParseTimeInteger(Columns(text, 1, 2));
  const auto minutes = ParseTimeInteger(Columns(text, 4, 5));
  const auto seconds = ParseTimeInteger(Columns(text, 7, 8));
  const auto millis = ParseTimeInteger(Columns(text, 10, 12));
  if (!hours || !minutes || !seconds || !millis) return std::nullopt;
  // Two- and three-character fields keep the sum far inside 32 bits.
  return *hours * 3'600'000 + *minutes * 60'000 + *seconds * 1'000 + *millis;
}

SubtitleTime ParseBeginTime(std::string_view line) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos) return ParseTrimmedTime({});
  return ParseTrimmedTime(line.substr(0, space + 1));
}

SubtitleTime ParseEndTime(std::string_view line) {
  const std::size_t arrow = line.find('>');
  if (arrow == std::string_view::npos) return ParseTrimmedTime(line);
  return ParseTrimmedTime(line.substr(arrow + 1));
}

std::int32_t MulDiv(std::int32_t x, std::int32_t y, std::int32_t z) {
  if (z == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(x) * y;
  std::int64_t quotient = product / z;
  const std::int64_t remainder = product % z;
  // Round half away from zero: the remainder is at least half the divisor.
  if (2 * std::llabs(remainder) >= std::llabs(static_cast<std::int64_t>(z))) {
    quotient += ((product < 0) != (z < 0)) ? -1 : 1;
  }
  if (quotient < std::numeric_limits<std::int32_t>::min() ||
      quotient > std::numeric_limits<std::int32_t>::max()) {
    return -1;
  }
  return static_cast<std::int32_t>(quotient);
}

}  // namespace orlisk
