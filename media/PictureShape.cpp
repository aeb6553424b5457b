#include "PictureShape.h"

#include <algorithm>

extern "C" {
#include <libavutil/rational.h>
}

namespace orlisk {
namespace {

// Terms kept small enough that a size times both aspects fits 64 bits.
constexpr int kLargestTerm = 65535;

// The largest rectangle of shape shapeWidth:shapeHeight in the area, centred;
// sizes rounded to the nearest pixel, at least one.
PictureRect FitShape(int areaWidth, int areaHeight, std::int64_t shapeWidth, std::int64_t shapeHeight) {
  // Compares areaWidth / areaHeight with shapeWidth / shapeHeight without rounding.
  const std::int64_t areaByShape = std::int64_t{areaWidth} * shapeHeight;
  const std::int64_t shapeByArea = shapeWidth * areaHeight;
  PictureRect fitted;
  if (areaByShape > shapeByArea) {  // the area is wider: bars left and right
    fitted.Height = areaHeight;
    fitted.Width = static_cast<int>(std::max<std::int64_t>(1, (shapeByArea + shapeHeight / 2) / shapeHeight));
  } else {  // the area is taller (or the same shape): bars above and below
    fitted.Width = areaWidth;
    fitted.Height = static_cast<int>(std::max<std::int64_t>(1, (areaByShape + shapeWidth / 2) / shapeWidth));
  }
  fitted.X = (areaWidth - fitted.Width) / 2;
  fitted.Y = (areaHeight - fitted.Height) / 2;
  return fitted;
}

}  // namespace

PixelAspect MakePixelAspect(std::int64_t num, std::int64_t den) {
  if (num <= 0 || den <= 0 || num > 16 * den || den > 16 * num) return {};
  int reducedNum = 1;
  int reducedDen = 1;
  av_reduce(&reducedNum, &reducedDen, num, den, kLargestTerm);
  return {reducedNum, reducedDen};
}

PictureRect FitPicture(int areaWidth, int areaHeight, int pictureWidth, int pictureHeight, PixelAspect aspect) {
  if (areaWidth <= 0 || areaHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return {};
  return FitShape(areaWidth, areaHeight, std::int64_t{pictureWidth} * aspect.Num,
                  std::int64_t{pictureHeight} * aspect.Den);
}

PictureRect FitPictureAligned(int areaWidth, int areaHeight, PixelAspect areaAspect, int pictureWidth,
                              int pictureHeight, PixelAspect aspect, int stepX, int stepY) {
  if (areaWidth <= 0 || areaHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return {};
  stepX = std::max(1, stepX);
  stepY = std::max(1, stepY);
  // The picture's shape counted in the area's own pixels.
  PictureRect fitted = FitShape(areaWidth, areaHeight, std::int64_t{pictureWidth} * aspect.Num * areaAspect.Den,
                                std::int64_t{pictureHeight} * aspect.Den * areaAspect.Num);
  fitted.Width = NearestMultiple(fitted.Width, stepX, areaWidth);
  fitted.Height = NearestMultiple(fitted.Height, stepY, areaHeight);
  fitted.X = std::max(0, (areaWidth - fitted.Width) / 2 / stepX * stepX);
  fitted.Y = std::max(0, (areaHeight - fitted.Height) / 2 / stepY * stepY);
  return fitted;
}

int NearestMultiple(int value, int step, int maximum) {
  const int top = std::max(step, maximum / step * step);
  const int below = value / step * step;
  const int above = below + step;
  const int nearest = value - below <= above - value ? below : above;
  return std::clamp(nearest, step, top);
}

int DisplayWidth(int width, PixelAspect aspect) {
  const std::int64_t scaled = (std::int64_t{width} * aspect.Num + aspect.Den / 2) / aspect.Den;
  return static_cast<int>(std::clamp<std::int64_t>(scaled, 1, 1 << 30));
}

}  // namespace orlisk
