#pragma once
// A subtitle drawn on nothing: what the text transform covers when it draws
// the subtitle as the preview does, cut to the drawn pixels. The write job
// draws each subtitle once this way and blends the result into every
// picture it is due on, instead of drawing the text on every picture.
#include "TextTransform.h"
#include "subtitles/SubtitleEntry.h"

namespace orlisk {

struct SubtitleBitmap {
  int X = 0;  // the drawn pixels' top-left corner on the picture
  int Y = 0;
  Frame Pixels;  // premultiplied (Frame::Premultiplied); empty when nothing fell on the picture
};

// `due` drawn by DrawOutlinedText in its own colours and outline, with the
// font and backdrop of `inUse`, as on a picture of width x height place
// pixels, on a transparent band as wide as the picture and as high as the
// transform's DrawnArea: whatever falls outside the picture is clipped away,
// as on the preview.
SubtitleBitmap DrawSubtitleBitmap(TextTransform& transform, const SubtitleEntry& due, const SubtitleStyle& inUse,
                                  int width, int height);

}  // namespace orlisk
