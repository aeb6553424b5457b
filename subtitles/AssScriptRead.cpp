// ASS and SSA scripts read into the list.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "SubtitleExport.h"
#include "SubtitleImport.h"

namespace orlisk {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// `count` comma-separated fields, the last taking the rest (the text may hold commas).
std::vector<std::string_view> Fields(std::string_view text, std::size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) break;
    fields.push_back(Trim(text.substr(0, comma)));
    text.remove_prefix(comma + 1);
  }
  fields.push_back(fields.size() + 1 < count ? Trim(text) : text);
  return fields;
}

double Number(std::string_view text, double otherwise = 0) {
  try {
    return text.empty() ? otherwise : std::stod(std::string(text));
  } catch (const std::exception&) {
    return otherwise;
  }
}

// "&HAABBGGRR", "&HBBGGRR&" or a decimal number (SSA): the 0x00BBGGRR part.
std::optional<Colour> ReadColour(std::string_view text) {
  text = Trim(text);
  while (!text.empty() && text.back() == '&') text.remove_suffix(1);
  int base = 10;
  if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty()) return std::nullopt;
  try {
    std::size_t used = 0;
    const unsigned long long value = std::stoull(std::string(text), &used, base);
    if (used != text.size()) return std::nullopt;
    return static_cast<Colour>(value & 0xFFFFFF);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// "H:MM:SS.cc" in milliseconds; nullopt when it is not a time.
std::optional<SubtitleTime> ReadAssTime(std::string_view text) {
  long long fields[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::size_t end = text.find(i < 2 ? ':' : '.');
    const std::string_view digits = text.substr(0, end);
    if (digits.empty() || digits.size() > 6 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
      return std::nullopt;
    fields[i] = std::stoll(std::string(digits));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  double fraction = 0;
  if (!text.empty()) fraction = Number("0." + std::string(text), -1);
  if (fraction < 0) return std::nullopt;
  const long long ms = ((fields[0] * 60 + fields[1]) * 60 + fields[2]) * 1000 + std::llround(fraction * 1000);
  if (ms > INT32_MAX) return std::nullopt;
  return static_cast<SubtitleTime>(ms);
}

// SSA's alignment (1-3 bottom, +4 top, +8 middle) as a numpad one.
int NumpadAlignment(int legacy) {
  const int side = std::clamp(legacy & 3, 1, 3);
  return side + ((legacy & 4) ? 6 : (legacy & 8) ? 3 : 0);
}

struct AssStyle {
  std::string Font = "Arial";
  double Size = 20;
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  Colour Primary = 0xFFFFFF, Outline = 0;
  bool Border = true;
  int Alignment = 2;  // numpad
  double MarginL = 10, MarginR = 10, MarginV = 10;
};

// What an event's text says besides the words.
struct EventText {
  std::vector<std::string> Lines{std::string()};
  std::optional<double> PosX, PosY;
  std::optional<int> Alignment;
  std::optional<Colour> Primary, Outline;
  std::optional<bool> Border;
  bool OtherTags = false;
  bool Drawing = false;
};

void ReadTag(std::string_view tag, bool leading, EventText& event) {
  const auto argument = [&](std::size_t from) { return tag.substr(from); };
  if (tag.starts_with("pos(")) {
    const std::string_view inside = tag.substr(4, tag.find(')') - 4);
    const std::size_t comma = inside.find(',');
    event.PosX = Number(Trim(inside.substr(0, comma)));
    event.PosY = Number(Trim(inside.substr(comma + 1)));
  } else if (tag.starts_with("an") && tag.size() == 3 && tag[2] >= '1' && tag[2] <= '9') {
    event.Alignment = tag[2] - '0';
  } else if (tag.size() >= 2 && tag[0] == 'a' && std::isdigit(static_cast<unsigned char>(tag[1]))) {
    event.Alignment = NumpadAlignment(static_cast<int>(Number(argument(1))));
  } else if (leading && (tag.starts_with("1c") || (tag.starts_with("c") && tag.size() > 1 && tag[1] == '&'))) {
    event.Primary = ReadColour(argument(tag[0] == '1' ? 2 : 1));
  } else if (leading && tag.starts_with("3c")) {
    event.Outline = ReadColour(argument(2));
  } else if (leading && tag.starts_with("bord")) {
    event.Border = Number(argument(4)) > 0;
  } else if (tag.size() >= 2 && tag[0] == 'p' && std::isdigit(static_cast<unsigned char>(tag[1]))) {
    event.Drawing |= Number(argument(1)) > 0;  // any drawing: the event is a picture
  } else if (tag != "r" && !tag.empty()) {
    event.OtherTags = true;
  }
}

EventText ReadEventText(std::string_view text, bool hardLineBreaksOnly) {
  EventText event;
  bool leading = true;  // nothing drawn yet: colours here are the whole subtitle's
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '{') {
      const std::size_t end = text.find('}', i);
      const std::string_view block = text.substr(i + 1, end == std::string_view::npos ? end : end - i - 1);
      if (block.find('\\') == std::string_view::npos) event.OtherTags = true;  // a note in braces
      std::size_t start = block.find('\\');
      while (start != std::string_view::npos) {
        const std::size_t next = block.find('\\', start + 1);
        ReadTag(Trim(block.substr(start + 1, next == std::string_view::npos ? next : next - start - 1)), leading,
                event);
        start = next;
      }
      if (end == std::string_view::npos) break;
      i = end;
      continue;
    }
    std::string& line = event.Lines.back();
    if (c == '\\' && i + 1 < text.size()) {
      const char next = text[i + 1];
      if (next == 'N' || (next == 'n' && hardLineBreaksOnly)) {
        event.Lines.emplace_back();
        ++i;
        continue;
      }
      if (next == 'n' || next == 'h') {
        line += next == 'h' ? "\xC2\xA0" : " ";
        ++i;
        continue;
      }
      if (next == '{' || next == '}') {
        line += next;
        ++i;
        continue;
      }
      // A word joiner after a backslash keeps a written "\N" from being a break.
      line += c;
      if (text.substr(i + 1).starts_with("\xE2\x81\xA0")) i += 3;
      leading = false;
      continue;
    }
    line += c;
    leading = false;
  }
  return event;
}

class ScriptReader {
 public:
  explicit ScriptReader(const SubRipReadContext& context) : context_(context) {}

  SubRipReadResult Read(std::string_view utf8Text) {
    for (const std::string& raw : TextLines(utf8Text)) {
      const std::string_view line = Trim(raw);
      if (line.starts_with("[")) {
        section_ = Lower(line);
        continue;
      }
      const std::size_t colon = line.find(':');
      if (colon == std::string_view::npos || line.starts_with(";")) continue;
      const std::string key = Lower(Trim(line.substr(0, colon)));
      const std::string_view value = Trim(line.substr(colon + 1));
      if (section_ == "[script info]") ReadInfo(key, value);
      else if (section_ == "[v4+ styles]" || section_ == "[v4 styles]") ReadStyleLine(key, value);
      else if (section_ == "[events]") ReadEventLine(key, value);
    }
    return std::move(result_);
  }

 private:
  void ReadInfo(const std::string& key, std::string_view value) {
    if (key == "playresx") playResX_ = Number(value);
    else if (key == "playresy") playResY_ = Number(value);
    else if (key == "wrapstyle") hardLineBreaksOnly_ = Number(value) == 2;
  }

  void ReadStyleLine(const std::string& key, std::string_view value) {
    if (key == "format") {
      styleFormat_.clear();
      for (const std::string_view name : Fields(value, 64)) styleFormat_.push_back(Lower(name));
      return;
    }
    if (key != "style") return;
    const std::vector<std::string_view> fields = Fields(value, styleFormat_.size());
    AssStyle style;
    std::string name;
    for (std::size_t i = 0; i < fields.size() && i < styleFormat_.size(); ++i) {
      const std::string& field = styleFormat_[i];
      const std::string_view v = fields[i];
      if (field == "name") name = v;
      else if (field == "fontname") style.Font = v;
      else if (field == "fontsize") style.Size = Number(v, style.Size);
      else if (field == "bold") style.Bold = Number(v) != 0;
      else if (field == "italic") style.Italic = Number(v) != 0;
      else if (field == "underline") style.Underline = Number(v) != 0;
      else if (field == "strikeout") style.StrikeOut = Number(v) != 0;
      else if (field == "primarycolour") style.Primary = ReadColour(v).value_or(style.Primary);
      else if (field == "outlinecolour" || field == "tertiarycolour") style.Outline = ReadColour(v).value_or(style.Outline);
      else if (field == "outline") style.Border = Number(v) > 0;
      else if (field == "alignment")
        style.Alignment = section_ == "[v4 styles]" ? NumpadAlignment(static_cast<int>(Number(v, 2)))
                                                    : std::clamp(static_cast<int>(Number(v, 2)), 1, 9);
      else if (field == "marginl") style.MarginL = Number(v);
      else if (field == "marginr") style.MarginR = Number(v);
      else if (field == "marginv") style.MarginV = Number(v);
    }
    styles_[Lower(name)] = style;
  }

  void ReadEventLine(const std::string& key, std::string_view value) {
    if (key == "format") {
      eventFormat_.clear();
      for (const std::string_view name : Fields(value, 64)) eventFormat_.push_back(Lower(name));
      return;
    }
    if (key == "comment") ++result_.Repairs[SubRipRepair::Comments];
    if (key == "picture" || key == "sound" || key == "movie" || key == "command")
      ++result_.Repairs[SubRipRepair::Drawings];
    if (key != "dialogue") return;
    std::map<std::string, std::string_view> fields;
    const std::vector<std::string_view> values = Fields(value, eventFormat_.size());
    for (std::size_t i = 0; i < values.size(); ++i) fields[eventFormat_[i]] = values[i];
    const std::optional<SubtitleTime> begin = ReadAssTime(fields["start"]);
    const std::optional<SubtitleTime> end = ReadAssTime(fields["end"]);
    if (!begin || !end) {
      ++result_.Repairs[SubRipRepair::LinesOutside];
      return;
    }
    std::string styleName = Lower(fields["style"]);
    if (!styleName.empty() && styleName.front() == '*') styleName.erase(0, 1);  // "*Default" in older scripts
    const auto found = styles_.find(styleName);
    const AssStyle style = found != styles_.end() ? found->second : AssStyle{};
    EventText text = ReadEventText(fields["text"], hardLineBreaksOnly_);
    if (text.Drawing) {
      ++result_.Repairs[SubRipRepair::Drawings];
      return;
    }
    if (text.OtherTags) ++result_.Repairs[SubRipRepair::OverrideTags];
    if (!Trim(fields["effect"]).empty()) ++result_.Repairs[SubRipRepair::Effects];
    if (!FontIsInUse(style)) ++result_.Repairs[SubRipRepair::StyleFonts];
    ForeignCue cue;
    cue.Begin = *begin;
    cue.End = *end;
    cue.TextColor = text.Primary.value_or(style.Primary);
    cue.BorderColor = text.Outline.value_or(style.Outline);
    cue.Border = text.Border.value_or(style.Border);
    cue.Place = PlaceOf(text, style, fields);
    if (text.Lines.size() == 1 && text.Lines[0].empty()) text.Lines.clear();
    cue.Lines = std::move(text.Lines);
    AppendForeignCue(result_, std::move(cue), context_);
  }

  // PlayResX and PlayResY as players take them when one or both are missing.
  double ScriptWidth() const {
    return playResX_ > 0 ? playResX_ : playResY_ > 0 ? (playResY_ == 1024 ? 1280 : playResY_ * 4 / 3) : 384;
  }
  double ScriptHeight() const {
    return playResY_ > 0 ? playResY_ : playResX_ > 0 ? (playResX_ == 1280 ? 1024 : playResX_ * 3 / 4) : 288;
  }

  bool FontIsInUse(const AssStyle& style) const {
    const SubtitleFont& font = context_.Style.Font;
    const double cell = (font.Height < 0 ? -font.Height : font.Height / kMetricTwinCellPerEm) * kMetricTwinCellPerEm;
    const double size = style.Size * context_.Picture.Height / ScriptHeight();
    return Lower(style.Font) == Lower(font.Face) && style.Bold == font.Bold && style.Italic == font.Italic &&
           style.Underline == font.Underline && style.StrikeOut == font.StrikeOut && std::abs(size - cell) <= 1.5;
  }

  SubtitlePlacement PlaceOf(const EventText& text, const AssStyle& style,
                            std::map<std::string, std::string_view>& fields) {
    const double sx = context_.Picture.Width / ScriptWidth();
    const double sy = context_.Picture.Height / ScriptHeight();
    const auto margin = [&](const char* name, double otherwise) {
      const double own = Number(fields[name]);
      return (own != 0 ? own : otherwise);
    };
    const int alignment = text.Alignment.value_or(style.Alignment);
    const int side = (alignment - 1) % 3;      // 0 left, 1 centre, 2 right
    const int height = (alignment - 1) / 3;    // 0 bottom, 1 middle, 2 top
    const double width = context_.Picture.Width;
    double x = 0, y = 0;
    if (text.PosX && text.PosY) {
      x = *text.PosX * sx;
      y = *text.PosY * sy;
    } else {
      const double left = margin("marginl", style.MarginL) * sx, right = margin("marginr", style.MarginR) * sx;
      x = side == 0 ? left : side == 1 ? (width + left - right) / 2 : width - right;
      const double vertical = margin("marginv", style.MarginV) * sy;
      y = height == 2 ? vertical : height == 1 ? context_.Picture.Height / 2.0 : context_.Picture.Height - vertical;
    }
    const int block = TextBlockHeight(static_cast<int>(text.Lines.size()), context_.Style.Font);
    SubtitlePlacement place{.X = context_.Placement.X, .Centred = side != 0};
    place.Y = static_cast<int>(std::lround(height == 2 ? y : height == 1 ? y - block / 2.0 : y - block));
    if (side == 0) place.X = static_cast<int>(std::lround(x));
    // The right edge, or a centre off the picture's: the text's width is not known here.
    if (side == 2 || (side == 1 && std::abs(x - width / 2) > 1)) ++result_.Repairs[SubRipRepair::PlacesApproximated];
    return place;
  }

  const SubRipReadContext& context_;
  SubRipReadResult result_;
  std::string section_;
  double playResX_ = 0, playResY_ = 0;
  bool hardLineBreaksOnly_ = false;
  std::vector<std::string> styleFormat_{"name",      "fontname", "fontsize",  "primarycolour", "secondarycolour",
                                        "outlinecolour", "backcolour", "bold", "italic", "underline", "strikeout",
                                        "scalex", "scaley", "spacing", "angle", "borderstyle", "outline", "shadow",
                                        "alignment", "marginl", "marginr", "marginv", "encoding"};
  std::vector<std::string> eventFormat_{"layer",   "start",   "end",     "style",  "name",
                                        "marginl", "marginr", "marginv", "effect", "text"};
  std::map<std::string, AssStyle> styles_;
};

}  // namespace

SubRipReadResult ReadAssScript(std::string_view utf8Text, const SubRipReadContext& context) {
  return ScriptReader(context).Read(utf8Text);
}

}  // namespace orlisk
