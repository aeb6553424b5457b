#include "settings/ProfileText.h"

#include <cstring>

namespace orlisk {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The blanks the profile rules trim around names and values.
bool IsProfileBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsProfileBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// One line of the file as offsets into it.
struct Line {
  std::size_t start = 0;    // first byte of the line's text (after a byte-order mark on line 1)
  std::size_t textEnd = 0;  // end of the text, before "\r\n" or "\n"
  std::size_t end = 0;      // after the line end; == textEnd for a last line without one
};

std::size_t ByteOrderMarkSize(std::string_view bytes) { return bytes.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0; }

// The line that starts at `start`.
Line LineAt(std::string_view bytes, std::size_t start) {
  Line line;
  line.start = start;
  const void* lf = std::memchr(bytes.data() + start, '\n', bytes.size() - start);
  if (!lf) {
    line.textEnd = line.end = bytes.size();
  } else {
    const auto at = static_cast<std::size_t>(static_cast<const char*>(lf) - bytes.data());
    line.textEnd = (at > start && bytes[at - 1] == '\r') ? at - 1 : at;
    line.end = at + 1;
  }
  return line;
}

// The next line from the line start `from` on that holds more than blanks.
// Blank lines are passed over byte by byte, never taken apart, so that a file
// of millions of them costs little.
std::optional<Line> NextFilledLine(std::string_view bytes, std::size_t from) {
  std::size_t lineStart = from;
  std::size_t at = from;
  for (; at < bytes.size(); ++at) {
    const char c = bytes[at];
    if (c == '\n') {
      lineStart = at + 1;
    } else if (!IsProfileBlank(c)) {
      return LineAt(bytes, lineStart);
    }
  }
  return std::nullopt;
}

// The file's last line, when it has one.
std::optional<Line> LastLine(std::string_view bytes) {
  const std::size_t first = ByteOrderMarkSize(bytes);
  if (bytes.size() <= first) return std::nullopt;
  // The last line's end is the file's end, or the line end there.
  const std::size_t searchEnd = bytes.back() == '\n' ? bytes.size() - 1 : bytes.size();
  std::size_t start = first;
  const std::string_view head = bytes.substr(first, searchEnd - first);
  if (const std::size_t lf = head.rfind('\n'); lf != std::string_view::npos) start = first + lf + 1;
  return LineAt(bytes, start);
}

std::string_view TextOf(std::string_view bytes, const Line& line) {
  return bytes.substr(line.start, line.textEnd - line.start);
}

// "[name]" (blanks allowed around the brackets) gives the name between them.
std::optional<std::string_view> SectionName(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.starts_with('[')) return std::nullopt;
  const std::size_t close = text.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return text.substr(1, close - 1);
}

struct KeyLine {
  std::string_view name;   // trimmed
  std::string_view value;  // trimmed
  std::size_t valueStart;  // offset just after the "=" in the line's text
};

std::optional<KeyLine> ParseKeyLine(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{TrimBlanks(text.substr(0, equals)), TrimBlanks(text.substr(equals + 1)), equals + 1};
}

// A value in a matching pair of single or double quotes loses them.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where a key is, or would go. Only the first section of a name counts.
struct Location {
  bool sectionFound = false;
  std::optional<Line> key;        // the key's line
  std::optional<KeyLine> parsed;  // and what it says
  Line lastFilled;                // the section's last non-blank line (its header at least)
};

Location Find(std::string_view bytes, std::string_view section, std::string_view key) {
  Location location;
  std::size_t from = ByteOrderMarkSize(bytes);
  while (const auto line = NextFilledLine(bytes, from)) {
    from = line->end;
    const std::string_view text = TextOf(bytes, *line);
    const auto name = SectionName(text);
    if (location.sectionFound) {
      if (name) break;
      location.lastFilled = *line;
      if (location.key) continue;
      if (auto keyLine = ParseKeyLine(text); keyLine && EqualsIgnoringCase(keyLine->name, key)) {
        location.key = line;
        location.parsed = keyLine;
      }
    } else if (name && EqualsIgnoringCase(*name, section)) {
      location.sectionFound = true;
      location.lastFilled = *line;
    }
  }
  return location;
}

}  // namespace

std::optional<std::string_view> FindProfileValue(std::string_view bytes, std::string_view section,
                                                 std::string_view key) {
  const Location location = Find(bytes, section, key);
  if (!location.key) return std::nullopt;
  return Unquote(location.parsed->value);
}

std::string WithProfileValue(std::string_view bytes, std::string_view section, std::string_view key,
                             std::string_view value) {
  std::string oneLine(value);
  for (char& c : oneLine) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  // New lines end the way the file's first line does.
  std::string ending = "\n";
  if (const std::size_t lf = bytes.find('\n'); lf != std::string_view::npos) {
    ending = (lf > 0 && bytes[lf - 1] == '\r') ? "\r\n" : "\n";
  }

  const Location location = Find(bytes, section, key);
  std::string result;
  result.reserve(bytes.size() + section.size() + key.size() + oneLine.size() + 8);
  if (location.key) {
    const std::size_t valueStart = location.key->start + location.parsed->valueStart;
    result.append(bytes.substr(0, valueStart));
    result.append(oneLine);
    result.append(bytes.substr(location.key->textEnd));
    return result;
  }

  std::string added;
  std::size_t at = bytes.size();
  std::optional<Line> before;  // the line the new lines follow
  if (location.sectionFound) {
    at = location.lastFilled.end;
    before = location.lastFilled;
  } else {
    before = LastLine(bytes);
    if (before && !TrimBlanks(TextOf(bytes, *before)).empty()) added += ending;
    added.append("[").append(section).append("]").append(ending);
  }
  added.append(key).append("=").append(oneLine).append(ending);
  // A line without a line end in front of the new ones gets one.
  if (before && before->end == before->textEnd) added.insert(0, ending);

  result.append(bytes.substr(0, at));
  result.append(added);
  result.append(bytes.substr(at));
  return result;
}

}  // namespace orlisk
