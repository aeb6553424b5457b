#pragma once
// The one mapping of the subtitle style to Qt and back, used by the text
// transform that draws subtitles and by the font dialog that chooses them.
#include <QColor>
#include <QFont>

#include "subtitles/SubtitleStyle.h"

namespace orlisk {

// 0x00BBGGRR <-> QColor.
QColor ToQColor(Colour colour);
Colour FromQColor(const QColor& colour);

// The Qt font for a subtitle font. Faces missing on this machine are replaced
// by their metric twins ("Arial" is drawn in Liberation Sans); characters the
// face lacks (Chinese) come from WenQuanYi Micro Hei. A negative Height is the
// character height in pixels, a positive one the cell height; 0 uses PointSize
// at 96 dots per inch.
QFont ToQFont(const SubtitleFont& font);

// A Qt font chosen by the user: its pixel height becomes the negative Height,
// and PointSize is |Height| * 72 / 96, rounded.
SubtitleFont FromQFont(const QFont& font);

// The face's cell (ascent plus descent) per pixel of character size, as the
// text transform draws it: what an ASS script's font size needs.
double FontCellPerEm(const SubtitleFont& font);

}  // namespace orlisk
