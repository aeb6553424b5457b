#include "MarkupTags.h"

#include "Utf8Append.h"

#include <cctype>
#include <cstdint>
#include <string_view>

namespace orlisk {
namespace {

bool IsSubRipTag(std::string_view tag) {
  // tag: what stands between '<' and '>'.
  if (!tag.empty() && tag.front() == '/') tag.remove_prefix(1);
  std::string name;
  for (const char c : tag) {
    if (c == ' ' || c == '\t') break;
    name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (name == "font") return true;
  return name.size() == tag.size() && (name == "i" || name == "b" || name == "u" || name == "s");
}


// The character a reference (between '&' and ';') stands for; false when it
// is not one of those WebVTT files use, and is then kept as written.
bool DecodeReference(std::string_view name, std::string& out) {
  struct Named { std::string_view Name; std::uint32_t Code; };
  constexpr Named kNamed[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''},
                              {"nbsp", 0xA0}, {"lrm", 0x200E}, {"rlm", 0x200F}};
  for (const Named& named : kNamed) {
    if (name == named.Name) {
      AppendUtf8(out, named.Code);
      return true;
    }
  }
  if (name.size() < 2 || name.size() > 8 || name.front() != '#') return false;
  const bool hex = name[1] == 'x' || name[1] == 'X';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty()) return false;
  std::uint32_t code = 0;
  for (const char c : digits) {
    const int digit = std::isdigit(static_cast<unsigned char>(c))             ? c - '0'
                      : hex && std::isxdigit(static_cast<unsigned char>(c)) ? std::tolower(c) - 'a' + 10
                                                                              : -1;
    if (digit < 0) return false;
    code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
  }
  // Nothing, surrogates and what lies beyond Unicode stand for the replacement character.
  AppendUtf8(out, code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ? 0xFFFD : code);
  return true;
}

}  // namespace

bool StripSubRipMarkup(std::string& line) {
  std::string kept;
  bool removed = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char open = line[i];
    const char close = open == '<' ? '>' : open == '{' ? '}' : '\0';
    const std::size_t end = close ? line.find(close, i + 1) : std::string::npos;
    if (end != std::string::npos) {
      const std::string_view inside = std::string_view(line).substr(i + 1, end - i - 1);
      if (open == '<' ? IsSubRipTag(inside) : (!inside.empty() && inside.front() == '\\')) {
        removed = true;
        i = end;
        continue;
      }
    }
    kept += open;
  }
  if (removed) line = std::move(kept);
  return removed;
}

bool StripWebVttMarkup(std::string& line) {
  std::string kept;
  bool removed = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '<') {
      const std::size_t end = line.find('>', i + 1);
      removed = true;
      if (end == std::string::npos) break;  // a tag cut short takes the rest of the line
      i = end;
    } else if (const std::size_t semicolon = line[i] == '&' ? line.find(';', i + 1) : std::string::npos;
               semicolon != std::string::npos &&
               DecodeReference(std::string_view(line).substr(i + 1, semicolon - i - 1), kept)) {
      i = semicolon;
    } else {
      kept += line[i];
    }
  }
  line = std::move(kept);
  return removed;
}

}  // namespace orlisk
