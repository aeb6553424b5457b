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

// Walks the lines of a text without copying them.
class Lines {
 public:
  explicit Lines(std::string_view bytes) : bytes_(bytes) {
    if (bytes_.starts_with(kUtf8Bom)) next_ = kUtf8Bom.size();
  }

  bool next(Line& line) {
    if (next_ >= bytes_.size()) return false;
    line.start = next_;
    const void* lf = std::memchr(bytes_.data() + next_, '\n', bytes_.size() - next_);
    if (!lf) {
      line.textEnd = line.end = bytes_.size();
    } else {
      const auto at = static_cast<std::size_t>(static_cast<const char*>(lf) - bytes_.data());
      line.textEnd = (at > next_ && bytes_[at - 1] == '\r') ? at - 1 : at;
      line.end = at + 1;
    }
    next_ = line.end;
    return true;
  }

  std::string_view text(const Line& line) const { return bytes_.substr(line.start, line.textEnd - line.start); }

 private:
  std::string_view bytes_;
  std::size_t next_ = 0;
};

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
  std::optional<Line> key;       // the key's line
  std::optional<KeyLine> parsed;  // and what it says
  Line lastFilled;               // the section's last non-blank line (its header at least)
  Line lastLine;                 // the file's last line
  bool anyLine = false;
};

Location Find(std::string_view bytes, std::string_view section, std::string_view key, bool stopAtKey) {
  Location location;
  Lines lines(bytes);
  Line line;
  while (lines.next(line)) {
    location.lastLine = line;
    location.anyLine = true;
    const std::string_view text = lines.text(line);
    const auto name = SectionName(text);
    if (location.sectionFound) {
      if (name) {
        // The rest of the file no longer matters, except where it ends.
        if (stopAtKey) break;
        while (lines.next(line)) location.lastLine = line;
        break;
      }
      if (TrimBlanks(text).empty()) continue;
      location.lastFilled = line;
      if (location.key) continue;
      if (auto keyLine = ParseKeyLine(text); keyLine && EqualsIgnoringCase(keyLine->name, key)) {
        location.key = line;
        location.parsed = keyLine;
        if (stopAtKey) break;
      }
    } else if (name && EqualsIgnoringCase(*name, section)) {
      location.sectionFound = true;
      location.lastFilled = line;
    }
  }
  return location;
}

}  // namespace

std::optional<std::string_view> FindProfileValue(std::string_view bytes, std::string_view section,
                                                 std::string_view key) {
  const Location location = Find(bytes, section, key, true);
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

  const Location location = Find(bytes, section, key, false);
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
  const Line* before = nullptr;  // the line the new lines follow
  if (location.sectionFound) {
    at = location.lastFilled.end;
    before = &location.lastFilled;
  } else {
    if (location.anyLine) {
      before = &location.lastLine;
      const std::string_view lastText =
          bytes.substr(location.lastLine.start, location.lastLine.textEnd - location.lastLine.start);
      if (!TrimBlanks(lastText).empty()) added += ending;
    }
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
