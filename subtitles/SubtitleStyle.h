#pragma once
// How a subtitle looks and where it stands: the value types that the entries,
// the main window's state, the renderer, the subtitle files and the style
// dialogs share. Independent of Qt, so the document and the commands hold them.
#include <cstdint>
#include <string>
#include <string_view>

namespace orlisk {

// 32-bit colour in the layout 0x00BBGGRR (red in the low byte).
using Colour = std::uint32_t;

// The face and style the user chose.
struct SubtitleFont {
  std::string Face = "Arial";  // drawn with a metric-compatible face where Arial is missing
  // Windows-style height: negative is the character height in pixels (-21 at start).
  std::int32_t Height = -21;
  std::int32_t PointSize = 16;  // size in points (at 96 dots per inch: |Height| * 72 / 96)
  bool Bold = true;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;

  bool operator==(const SubtitleFont&) const = default;
};

// What stands behind the text of every subtitle so that it reads on any
// picture. One for all subtitles, like the font: the settings file keeps it,
// subtitle files do not, and nothing stands behind the text unless chosen.
struct SubtitleBackdrop {
  enum class Kind : std::int32_t {
    None = 0,
    Shadow = 1,  // the outlined text again, down and to the right, in black
    Box = 2,     // a black band behind each line
  };
  Kind Shape = Kind::None;
  std::int32_t Opacity = 60;  // percent; 100 hides the picture behind it

  bool operator==(const SubtitleBackdrop&) const = default;
};

// The subtitle style: font, text colour, outline colour and the outline
// switch, and the backdrop. The font and the backdrop are one for all
// subtitles; each subtitle keeps colours and outline of its own.
struct SubtitleStyle {
  SubtitleFont Font;
  Colour TextColor = 0x00FFFFFF;
  Colour BorderColor = 16711680;  // pure blue
  bool BorderEnabled = true;
  SubtitleBackdrop Backdrop;

  bool operator==(const SubtitleStyle&) const = default;
};

// Where a subtitle's text stands: its top-left corner in source-video pixels,
// and the drawing level passed through to the text drawing.
struct SubtitlePlacement {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t DrawLevel = 0;
  // The x is automatic: each line of the text is centred on the picture's
  // width and X is not used for drawing (it stays the start X, which files
  // keep so that older readers centre the text too). Off once the text was
  // moved sideways by hand: then X is the left edge of every line.
  bool Centred = false;

  bool operator==(const SubtitlePlacement&) const = default;
};

// Where a line `lineWidth` pixels wide starts when it is centred on a picture
// `pictureWidth` pixels wide (truncated toward zero, so a line wider than the
// picture overhangs both edges alike).
inline int CentredLineX(int pictureWidth, int lineWidth) { return (pictureWidth - lineWidth) / 2; }

// The placement a new subtitle gets on a video `videoHeight` pixels high:
// centred, three text heights above the bottom edge, at the drawing level 240.
inline SubtitlePlacement StartPlacement(int videoHeight, const SubtitleFont& font) {
  constexpr std::int32_t kStartX = 10;  // what files keep as X of a centred subtitle
  const std::int32_t height = font.Height < 0 ? -font.Height : font.Height;
  return {.X = kStartX, .Y = videoHeight - 3 * height, .DrawLevel = 240, .Centred = true};
}

// The value a captured subtitle keeps as its font reference: a stable 32-bit
// identity of the font (FNV-1a over its face and style). Nothing reads it back
// to draw; it only has to stay the same for the same font.
inline std::uint32_t FontId(const SubtitleFont& font) {
  std::uint32_t hash = 2166136261u;
  auto mix = [&hash](std::string_view bytes) {
    for (unsigned char b : bytes) {
      hash ^= b;
      hash *= 16777619u;
    }
  };
  auto mixInt = [&mix](std::int64_t v) {
    char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    mix(std::string_view(bytes, 8));
  };
  mix(font.Face);
  mixInt(font.Height);
  mixInt(font.PointSize);
  mixInt((font.Bold ? 1 : 0) | (font.Italic ? 2 : 0) | (font.Underline ? 4 : 0) | (font.StrikeOut ? 8 : 0));
  return hash;
}

}  // namespace orlisk
