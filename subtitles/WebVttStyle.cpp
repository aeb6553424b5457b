#include "WebVttStyle.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace orlisk {
namespace {

// The renderer's outline reaches a twenty-first of the character height out
// of the letters; the four shadows stand that far off in em, so the outline
// grows with the text as players scale it.
constexpr const char* kOutlineOffsets[] = {"-0.05em -0.05em", "0.05em -0.05em", "-0.05em 0.05em", "0.05em 0.05em"};

constexpr Colour Rgb(unsigned rgb) { return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16); }

struct NamedColour {
  std::string_view Name;
  Colour Value;
  bool CueClass;  // one of WebVTT's own colour classes
};
constexpr NamedColour kNamedColours[] = {
    {"white", Rgb(0xFFFFFF), true},    {"lime", Rgb(0x00FF00), true},    {"cyan", Rgb(0x00FFFF), true},
    {"red", Rgb(0xFF0000), true},      {"yellow", Rgb(0xFFFF00), true},  {"magenta", Rgb(0xFF00FF), true},
    {"blue", Rgb(0x0000FF), true},     {"black", Rgb(0x000000), true},   {"silver", Rgb(0xC0C0C0), false},
    {"gray", Rgb(0x808080), false},    {"grey", Rgb(0x808080), false},   {"maroon", Rgb(0x800000), false},
    {"purple", Rgb(0x800080), false},  {"fuchsia", Rgb(0xFF00FF), false}, {"green", Rgb(0x008000), false},
    {"olive", Rgb(0x808000), false},   {"navy", Rgb(0x000080), false},   {"teal", Rgb(0x008080), false},
    {"aqua", Rgb(0x00FFFF), false},    {"orange", Rgb(0xFFA500), false},
};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The pieces of `text` between `separator`s outside parentheses, trimmed.
std::vector<std::string_view> SplitOutside(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool end = i == text.size();
    if (!end && text[i] == '(') ++depth;
    if (!end && text[i] == ')') --depth;
    const bool split = end || (depth == 0 && (separator == ' ' ? std::isspace(static_cast<unsigned char>(text[i]))
                                                               : text[i] == separator));
    if (!split) continue;
    if (const std::string_view piece = Trimmed(text.substr(start, i - start)); !piece.empty()) pieces.push_back(piece);
    start = i + 1;
  }
  return pieces;
}

std::optional<int> ReadByte(std::string_view text) {
  const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  if (text.empty() || text.size() > 3 || !std::all_of(text.begin(), text.end(), digit)) return std::nullopt;
  const int value = std::stoi(std::string(text));
  return value <= 255 ? std::optional<int>(value) : std::nullopt;
}

std::optional<Colour> ReadHexColour(std::string_view digits) {
  if ((digits.size() != 3 && digits.size() != 6) ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
    return std::nullopt;
  std::string full(digits);
  if (digits.size() == 3) full = {digits[0], digits[0], digits[1], digits[1], digits[2], digits[2]};
  return Rgb(static_cast<unsigned>(std::stoul(full, nullptr, 16)));
}

std::optional<Colour> ReadRgbFunction(std::string_view arguments) {
  std::string spaced(arguments);
  std::replace(spaced.begin(), spaced.end(), ',', ' ');
  const std::vector<std::string_view> parts = SplitOutside(spaced, ' ');
  if (parts.size() != 3) return std::nullopt;
  unsigned rgb = 0;
  for (const std::string_view part : parts) {
    const std::optional<int> value = ReadByte(part);
    if (!value) return std::nullopt;
    rgb = rgb << 8 | static_cast<unsigned>(*value);
  }
  return Rgb(rgb);
}

// A shadow's length ("0", "-1px", ".05em"), as opposed to its colour.
bool IsLength(std::string_view token) {
  const char c = token.front();
  return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.';
}

// "none", or shadows that all have one colour: that colour as the outline.
std::optional<CueLook> ReadTextShadow(std::string_view value) {
  if (Lower(value) == "none") return CueLook{.Border = false};
  std::optional<Colour> outline;
  for (const std::string_view shadow : SplitOutside(value, ',')) {
    std::optional<Colour> colour;
    int colours = 0;
    for (const std::string_view token : SplitOutside(shadow, ' '))
      if (!IsLength(token)) {
        colour = ReadCssColour(token);
        ++colours;
      }
    if (colours != 1 || !colour || (outline && *outline != *colour)) return std::nullopt;
    outline = colour;
  }
  if (!outline) return std::nullopt;
  return CueLook{.BorderColor = outline, .Border = true};
}

// The declarations of one rule; false when any is not a colour we hold.
bool ReadDeclarations(std::string_view body, CueLook& look) {
  bool held = true;
  for (const std::string_view declaration : SplitOutside(body, ';')) {
    const std::size_t colon = declaration.find(':');
    const std::string property = Lower(Trimmed(declaration.substr(0, colon)));
    const std::string_view value = colon == std::string_view::npos ? "" : Trimmed(declaration.substr(colon + 1));
    std::optional<CueLook> read;
    if (property == "color") {
      if (const std::optional<Colour> colour = ReadCssColour(value)) read = CueLook{.TextColor = colour};
    } else if (property == "text-shadow") {
      read = ReadTextShadow(value);
    }
    if (read) look.Take(*read);
    else held = false;
  }
  return held;
}

bool IsClassName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
  });
}

std::string WithoutComments(std::string_view css) {
  std::string text;
  while (true) {
    const std::size_t open = css.find("/*");
    text += css.substr(0, open);
    if (open == std::string_view::npos) return text;
    const std::size_t close = css.find("*/", open + 2);
    if (close == std::string_view::npos) return text;
    css.remove_prefix(close + 2);
  }
}

}  // namespace

std::string CssColour(Colour colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  return text;
}

std::optional<Colour> ReadCssColour(std::string_view text) {
  const std::string colour = Lower(Trimmed(text));
  if (colour.starts_with('#')) return ReadHexColour(std::string_view(colour).substr(1));
  if (colour.starts_with("rgb(") && colour.ends_with(')'))
    return ReadRgbFunction(std::string_view(colour).substr(4, colour.size() - 5));
  for (const NamedColour& named : kNamedColours)
    if (named.Name == colour) return named.Value;
  return std::nullopt;
}

CueColourClasses::Look CueColourClasses::LookOf(Colour text, bool border, Colour outline) {
  return Look{.Text = text & 0xFFFFFF, .Border = border, .Outline = border ? outline & 0xFFFFFF : 0};
}

std::string CueColourClasses::ClassFor(const SubtitleEntry& entry) {
  const Look look = LookOf(entry.TextColor, entry.Border, entry.BorderColor);
  if (look == LookOf(style_.TextColor, style_.BorderEnabled, style_.BorderColor)) return "";
  auto found = std::find(classes_.begin(), classes_.end(), look);
  if (found == classes_.end()) found = classes_.insert(classes_.end(), look);
  return "c" + std::to_string(found - classes_.begin() + 1);
}

std::string CueColourClasses::StyleBlock() const {
  if (classes_.empty()) return "";
  const auto rule = [](const std::string& selector, const Look& look) {
    std::string shadow = "none";
    if (look.Border) {
      shadow.clear();
      for (const char* offset : kOutlineOffsets)
        shadow += (shadow.empty() ? "" : ", ") + CssColour(look.Outline) + " " + offset;
    }
    return selector + " { color: " + CssColour(look.Text) + "; text-shadow: " + shadow + "; }\n";
  };
  std::string block = "STYLE\n" + rule("::cue", LookOf(style_.TextColor, style_.BorderEnabled, style_.BorderColor));
  for (std::size_t k = 0; k < classes_.size(); ++k)
    block += rule("::cue(.c" + std::to_string(k + 1) + ")", classes_[k]);
  return block;
}

void CueLook::Take(const CueLook& later) {
  if (later.TextColor) TextColor = later.TextColor;
  if (later.BorderColor) BorderColor = later.BorderColor;
  if (later.Border) Border = later.Border;
}

bool ReadCueStyles(std::string_view css, CueStyleSheet& sheet) {
  const std::string text = WithoutComments(css);
  const std::string_view rest(text);
  bool held = true;
  std::size_t at = 0;
  while (true) {
    const std::size_t open = rest.find('{', at);
    const std::size_t close = open == std::string_view::npos ? open : rest.find('}', open);
    if (close == std::string_view::npos) return held && Trimmed(rest.substr(at)).empty();
    CueLook look;
    held &= ReadDeclarations(rest.substr(open + 1, close - open - 1), look);
    const std::vector<std::string_view> selectors = SplitOutside(rest.substr(at, open - at), ',');
    held &= !selectors.empty();
    for (const std::string_view selector : selectors) {
      const std::string_view name =
          selector.starts_with("::cue(.") && selector.ends_with(')') ? selector.substr(7, selector.size() - 8) : "";
      if (selector == "::cue") sheet.AllCues.Take(look);
      else if (IsClassName(name)) sheet.Classes[std::string(name)].Take(look);
      else held = false;
    }
    at = close + 1;
  }
}

std::optional<CueLook> LookOfClasses(const CueStyleSheet& sheet, const std::vector<std::string>& classes) {
  CueLook look;
  for (const std::string& name : classes) {
    if (const auto rule = sheet.Classes.find(name); rule != sheet.Classes.end()) {
      look.Take(rule->second);
      continue;
    }
    const auto named = std::find_if(std::begin(kNamedColours), std::end(kNamedColours),
                                    [&name](const NamedColour& c) { return c.CueClass && c.Name == name; });
    if (named == std::end(kNamedColours)) return std::nullopt;
    look.Take(CueLook{.TextColor = named->Value});
  }
  return look;
}

}  // namespace orlisk
