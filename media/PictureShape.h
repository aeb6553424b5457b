#pragma once
// The shape of a picture: the pixel aspect of its samples, and where a picture
// of one shape goes inside an area of another (the view's picture rectangle,
// the writer's picture inside a frame of another size). Plain values.
#include <cstdint>

namespace orlisk {

// The width of one sample over its height (FFmpeg's sample aspect ratio): a
// 720x576 picture with 16:11 samples is shown 1047 wide. Always positive and
// reduced; an unknown or absurd aspect counts as square.
struct PixelAspect {
  int Num = 1;
  int Den = 1;

  bool square() const { return Num == Den; }
  friend bool operator==(const PixelAspect&, const PixelAspect&) = default;
};

// `num`:`den` reduced, or 1:1 when either is 0 or below or the aspect is
// beyond 1:16..16:1 (no real video's samples are that far from square).
PixelAspect MakePixelAspect(std::int64_t num, std::int64_t den);

// A picture's rectangle in the pixels of the area it is placed in.
struct PictureRect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;

  friend bool operator==(const PictureRect&, const PictureRect&) = default;
};

// A picture of pictureWidth x pictureHeight samples, each `aspect` wide,
// placed in an area of areaWidth x areaHeight square pixels: as large as fits
// with its displayed shape kept, centred, bars filling the rest. A sliver keeps
// at least one row or column; nothing to fit gives an empty rectangle.
PictureRect FitPicture(int areaWidth, int areaHeight, int pictureWidth, int pictureHeight,
                       PixelAspect aspect = {});

// The same into an area whose own pixels are `areaAspect` wide, with the
// rectangle's left and width on multiples of stepX and its top and height on
// multiples of stepY (a picture's place in a 4:2:0 frame falls on whole chroma
// samples); it stays inside the area and is at least one step on each side.
PictureRect FitPictureAligned(int areaWidth, int areaHeight, PixelAspect areaAspect, int pictureWidth,
                              int pictureHeight, PixelAspect aspect, int stepX, int stepY);

// The multiple of `step` nearest to `value` (a tie goes down), within
// [step, maximum].
int NearestMultiple(int value, int step, int maximum);

// The width a picture `width` samples wide is shown at, in square pixels
// (rounded to the nearest, at least 1).
int DisplayWidth(int width, PixelAspect aspect);

}  // namespace orlisk
