#pragma once
// The style dialog's sample: a text in Latin and Chinese letters drawn by the
// subtitle renderer and its text transform, as the picture and the written
// video draw it, over white, blue and black so that the user sees where it
// reads and where it does not.
#include <QImage>
#include <QSize>

#include "burnin/TextTransform.h"
#include "subtitles/SubtitleStyle.h"

namespace orlisk {

inline constexpr const char* kStyleSampleText = "Subtitle \xE5\xAD\x97\xE5\xB9\x95";  // "Subtitle 字幕"

// A picture `size` pixels large with the sample centred on it, the drawn text
// (outline and backdrop included) spanning a white, a blue and a black band.
// The text is drawn at its size in video pixels when it fits, and smaller,
// as on a picture scaled for the view, when it does not.
QImage DrawStyleSample(TextTransform& transform, const SubtitleStyle& style, QSize size);

}  // namespace orlisk
