#include "AssScript.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace orlisk {
namespace {

// The stroke and shadow the renderer draws, per pixel of character size, and
// their least sizes (kept in step with the text transform's drawing).
constexpr double kOutlinePerPixel = 1.0 / 21.0;
constexpr double kShadowPerPixel = 1.0 / 12.0;

// Inserted after a backslash of the text that would otherwise start an
// escape (\N, \n, \h, \{, \}): the word joiner, which nothing draws.
constexpr std::string_view kWordJoiner = "\xE2\x81\xA0";

// "&HAABBGGRR": our colours are 0x00BBGGRR already; alpha 0 is opaque.
std::string AssColour(Colour colour, int alpha = 0) {
  char text[16];
  std::snprintf(text, sizeof text, "&H%02X%06X", static_cast<unsigned>(alpha) & 0xFF, colour & 0xFFFFFF);
  return text;
}

// "&HBBGGRR&", as override tags write a colour.
std::string OverrideColour(Colour colour) {
  char text[16];
  std::snprintf(text, sizeof text, "&H%06X&", colour & 0xFFFFFF);
  return text;
}

std::string Figure(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string figure = text;
  while (figure.back() == '0') figure.pop_back();
  if (figure.back() == '.') figure.pop_back();
  return figure;
}

int BackdropAlpha(const SubtitleBackdrop& backdrop) {
  return 255 - std::clamp(backdrop.Opacity, 0, 100) * 255 / 100;
}

bool Boxed(const SubtitleStyle& style) { return style.Backdrop.Shape == SubtitleBackdrop::Kind::Box; }

std::string EscapedText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (c == '\r' || c == '\n') {
      escaped += "\\N";
    } else if (c == '{' || c == '}') {
      escaped += '\\';
      escaped += c;
    } else if (c == '\\') {
      escaped += c;
      const char next = i + 1 < text.size() ? text[i + 1] : '\0';
      if (next == 'N' || next == 'n' || next == 'h' || next == '{' || next == '}') escaped += kWordJoiner;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string DialogueFields(std::string_view first, const SubtitleEntry& entry, std::string_view text,
                           const SubtitleStyle& style, const AssCanvas& canvas) {
  std::string fields(first);
  fields += ",Default,,0,0,0,,";
  fields += AssEventText(entry, text, style, canvas);
  return fields;
}

}  // namespace

AssStyleFigures AssFiguresOf(const SubtitleStyle& style, const AssCanvas& canvas) {
  const double em = style.Font.Height < 0   ? -style.Font.Height
                    : style.Font.Height > 0 ? style.Font.Height / canvas.CellPerEm
                                            : style.Font.PointSize * 96.0 / 72.0;
  const double outline = std::max(1.0, em * kOutlinePerPixel);
  AssStyleFigures figures;
  figures.FontSize = std::max(1, static_cast<int>(std::lround(em * canvas.CellPerEm)));
  figures.Outline = style.BorderEnabled || Boxed(style) ? outline : 0.0;
  if (style.Backdrop.Shape == SubtitleBackdrop::Kind::Shadow)
    figures.Shadow = std::max(std::round(em * kShadowPerPixel), std::ceil(figures.Outline) + 1);
  return figures;
}

std::string FormatAssTime(SubtitleTime ms) {
  // Rounded up, the longest time would read back beyond 32 bits.
  const long long centis = ms <= 0 ? 0 : std::min<long long>((static_cast<long long>(ms) + 5) / 10, INT32_MAX / 10);
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%02lld", centis / 360000, centis / 6000 % 60,
                centis / 100 % 60, centis % 100);
  return text;
}

std::string AssScriptHeader(const SubtitleStyle& style, const AssCanvas& canvas) {
  const AssStyleFigures figures = AssFiguresOf(style, canvas);
  const SubtitleFont& font = style.Font;
  const auto flag = [](bool on) { return on ? std::string("-1") : std::string("0"); };
  // A box is the opaque-box border style, drawn in the outline's colour; the
  // letters then have no outline of their own.
  const std::string outlineColour =
      Boxed(style) ? AssColour(0, BackdropAlpha(style.Backdrop)) : AssColour(style.BorderColor);
  std::string header =
      "[Script Info]\r\n"
      "ScriptType: v4.00+\r\n"
      "WrapStyle: 2\r\n"
      "ScaledBorderAndShadow: yes\r\n"
      "PlayResX: " + std::to_string(canvas.Width) + "\r\n"
      "PlayResY: " + std::to_string(canvas.Height) + "\r\n"
      "\r\n"
      "[V4+ Styles]\r\n"
      "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, "
      "Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, "
      "MarginL, MarginR, MarginV, Encoding\r\n";
  header += "Style: Default," + font.Face + "," + std::to_string(figures.FontSize) + "," +
            AssColour(style.TextColor) + "," + AssColour(style.TextColor) + "," + outlineColour + "," +
            AssColour(0, BackdropAlpha(style.Backdrop)) + "," + flag(font.Bold) + "," + flag(font.Italic) + "," +
            flag(font.Underline) + "," + flag(font.StrikeOut) + ",100,100,0,0," + (Boxed(style) ? "3" : "1") +
            "," + Figure(figures.Outline) + "," + Figure(figures.Shadow) + ",7,0,0,0,1\r\n";
  header +=
      "\r\n"
      "[Events]\r\n"
      "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n";
  return header;
}

std::string AssEventText(const SubtitleEntry& entry, std::string_view text, const SubtitleStyle& style,
                         const AssCanvas& canvas) {
  const SubtitlePlacement& place = entry.Place;
  std::string tags = place.Centred ? "{\\an8\\pos(" + Figure(canvas.Width / 2.0) + "," + std::to_string(place.Y) + ")"
                                   : "{\\an7\\pos(" + std::to_string(place.X) + "," + std::to_string(place.Y) + ")";
  if (entry.TextColor != style.TextColor) tags += "\\1c" + OverrideColour(entry.TextColor);
  if (!Boxed(style)) {
    if (entry.Border && entry.BorderColor != style.BorderColor) tags += "\\3c" + OverrideColour(entry.BorderColor);
    if (entry.Border != style.BorderEnabled) {
      SubtitleStyle own = style;
      own.BorderEnabled = entry.Border;
      tags += "\\bord" + Figure(AssFiguresOf(own, canvas).Outline);
    }
  }
  return tags + "}" + EscapedText(text);
}

std::string AssDialogueLine(const SubtitleEntry& entry, std::string_view text, const SubtitleStyle& style,
                            const AssCanvas& canvas) {
  return "Dialogue: " +
         DialogueFields("0," + FormatAssTime(entry.BeginTime) + "," + FormatAssTime(entry.EndTime), entry, text,
                        style, canvas);
}

std::string AssPacketText(int readOrder, const SubtitleEntry& entry, std::string_view text,
                          const SubtitleStyle& style, const AssCanvas& canvas) {
  return DialogueFields(std::to_string(readOrder) + ",0", entry, text, style, canvas);
}

std::string WriteAssScript(const SubtitleDocument& document, const SubtitleStyle& style, const AssCanvas& canvas) {
  std::string script = AssScriptHeader(style, canvas);
  const auto& entries = document.entries();
  for (int i = 0; i < document.rowCount(); ++i) {
    const SubtitleEntry entry = static_cast<std::size_t>(i) < entries.size() ? entries[static_cast<std::size_t>(i)]
                                                                             : SubtitleEntry{};
    script += AssDialogueLine(entry, document.row(i).Subtitle, style, canvas) + "\r\n";
  }
  return script;
}

}  // namespace orlisk
