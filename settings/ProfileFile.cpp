#include "settings/ProfileFile.h"

#include <exception>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "settings/WholeFile.h"
#include "subtitles/SubtitleTime.h"

namespace orlisk {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One line of the file with the line end it had, so untouched lines are
// written back byte for byte.
struct Line {
  std::string text;
  std::string ending;  // "\r\n", "\n", or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& bytes) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lf = bytes.find('\n', start);
    if (lf == std::string::npos) {
      lines.push_back({bytes.substr(start), ""});
      break;
    }
    const bool crlf = lf > start && bytes[lf - 1] == '\r';
    const std::size_t textEnd = crlf ? lf - 1 : lf;
    lines.push_back({bytes.substr(start, textEnd - start), crlf ? "\r\n" : "\n"});
    start = lf + 1;
  }
  return lines;
}

std::string JoinLines(const std::vector<Line>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += line.text + line.ending;
  return bytes;
}

// The whole file, or nothing when it is missing or cannot be read.
std::optional<std::string> ReadFileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

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

// The text of line i as the rules see it: a byte-order mark in front of the
// first line is not part of it.
std::string_view Content(const std::vector<Line>& lines, std::size_t i) {
  std::string_view text = lines[i].text;
  if (i == 0 && text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  return text;
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

// Where a key is, or would go. Only the first section of a name counts.
struct Location {
  std::optional<std::size_t> section;  // line of the section header
  std::optional<std::size_t> key;      // line of the key
  std::size_t insertAt = 0;            // just after the section's last non-blank line
};

Location Find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Location location;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view text = Content(lines, i);
    const auto name = SectionName(text);
    if (location.section) {
      if (name) break;
      if (!TrimBlanks(text).empty()) location.insertAt = i + 1;
      const auto keyLine = ParseKeyLine(text);
      if (!location.key && keyLine && EqualsIgnoringCase(keyLine->name, key)) location.key = i;
    } else if (name && EqualsIgnoringCase(*name, section)) {
      location.section = i;
      location.insertAt = i + 1;
    }
  }
  return location;
}

// A value in a matching pair of single or double quotes loses them.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Writes the new contents beside the file and renames it over the old one, so
// a failure part-way leaves the old settings whole.
void ReplaceFileContents(const fs::path& file, const std::string& bytes) {
  std::error_code error;
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  fs::create_directories(folder, error);
  if (error) throw ProfileWriteError(file);
  try {
    ReplaceFilesTogether({{file, bytes}});
  } catch (const std::exception&) {
    throw ProfileWriteError(file);
  }
}

}  // namespace

ProfileWriteError::ProfileWriteError(const fs::path& file)
    : std::runtime_error("Unable to write to " + file.string()) {}

std::string ProfileFile::readString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
  const auto bytes = ReadFileBytes(file_);
  if (!bytes) return defaultValue;
  const auto lines = SplitLines(*bytes);
  const Location location = Find(lines, section, key);
  if (!location.key) return defaultValue;
  const auto keyLine = ParseKeyLine(Content(lines, *location.key));
  std::string value(Unquote(keyLine->value));
  if (value.size() > kMaxProfileValue) value.resize(kMaxProfileValue);
  return value;
}

std::int32_t ProfileFile::readInteger(const std::string& section, const std::string& key,
                                      std::int32_t defaultValue) const {
  std::string text = readString(section, key, "");
  // "0x" counts as a hexadecimal prefix only in front of at least one more character.
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text = "$" + text.substr(2);
  }
  return ParseTimeInteger(text).value_or(defaultValue);
}

bool ProfileFile::readBool(const std::string& section, const std::string& key, bool defaultValue) const {
  return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void ProfileFile::writeString(const std::string& section, const std::string& key,
                              const std::string& value) {
  std::vector<Line> lines;
  std::error_code error;
  if (fs::exists(file_, error)) {
    const auto bytes = ReadFileBytes(file_);
    // Rewriting a file we cannot read would lose every other setting in it.
    if (!bytes) throw ProfileWriteError(file_);
    lines = SplitLines(*bytes);
  }
  const std::string ending =
      (!lines.empty() && !lines.front().ending.empty()) ? lines.front().ending : std::string("\n");
  // A line break inside a value would start new lines (and keys) in the file.
  std::string oneLine = value;
  for (char& c : oneLine) {
    if (c == '\r' || c == '\n') c = ' ';
  }

  const Location location = Find(lines, section, key);
  if (location.key) {
    // A key line always follows its section header, so it never carries the mark.
    Line& line = lines[*location.key];
    line.text = line.text.substr(0, ParseKeyLine(line.text)->valueStart) + oneLine;
  } else {
    std::size_t at = location.section ? location.insertAt : lines.size();
    std::vector<Line> added;
    if (!location.section) {
      if (!lines.empty() && !TrimBlanks(lines.back().text).empty()) added.push_back({"", ending});
      added.push_back({"[" + section + "]", ending});
    }
    added.push_back({key + "=" + oneLine, ending});
    if (at > 0 && lines[at - 1].ending.empty()) lines[at - 1].ending = ending;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
  }
  ReplaceFileContents(file_, JoinLines(lines));
}

void ProfileFile::writeInteger(const std::string& section, const std::string& key, std::int32_t value) {
  writeString(section, key, std::to_string(value));
}

void ProfileFile::writeBool(const std::string& section, const std::string& key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

}  // namespace orlisk
