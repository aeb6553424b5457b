#pragma once
// The subtitle font: the face and style the user chose, independent of Qt so
// the document and commands can hold it.
#include <cstdint>
#include <string>

#include "subtitles/SubtitleEntry.h"

namespace orlisk {

struct SubtitleFont {
  std::string Face = "Arial";  // drawn with a metric-compatible face where Arial is missing
  // Windows-style height: negative is the character height in pixels (-21 at start).
  std::int32_t Height = -21;
  std::int32_t PointSize = 16;  // size in points (at 96 dots per inch: |Height| * 72 / 96)
  bool Bold = true;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  Colour Color = 0x00FFFFFF;  // the font dialog's colour; becomes TextColor

  bool operator==(const SubtitleFont&) const = default;
};

}  // namespace orlisk
