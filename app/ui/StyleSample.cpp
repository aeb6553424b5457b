#include "app/ui/StyleSample.h"

#include <QColor>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "burnin/FrameRenderer.h"

namespace orlisk {
namespace {

// How much of the sample the drawn text may fill before it is shown smaller.
constexpr double kFitWidth = 0.92;
constexpr double kFitHeight = 0.8;

// The bands behind the text: the drawn text's left third on white, its middle
// on blue (the start-up outline's own colour), its right third on black.
void PaintBands(QImage& picture, double scale, const TextArea& drawn) {
  const double width = drawn.empty() ? picture.width() * scale : drawn.Width;
  const double left = drawn.empty() ? 0 : drawn.X;
  const int firstEdge = static_cast<int>(std::lround((left + width / 3) / scale));
  const int secondEdge = static_cast<int>(std::lround((left + 2 * width / 3) / scale));
  QPainter painter(&picture);
  painter.fillRect(0, 0, firstEdge, picture.height(), Qt::white);
  painter.fillRect(firstEdge, 0, secondEdge - firstEdge, picture.height(), QColor(0, 0, 255));
  painter.fillRect(secondEdge, 0, picture.width() - secondEdge, picture.height(), Qt::black);
}

}  // namespace

QImage DrawStyleSample(TextTransform& transform, const SubtitleStyle& style, QSize size) {
  const std::string text = kStyleSampleText;
  SubtitlePlacement place{.X = 0, .Y = 0, .DrawLevel = 240, .Centred = true};
  const TextArea atSize = transform.DrawnArea(size.width(), place, text, style);
  // A text too large for the sample is drawn on a larger picture scaled down
  // to the sample, as the view shows a large video.
  const double scale = std::max({1.0, atSize.Width / (kFitWidth * size.width()),
                                 atSize.Height / (kFitHeight * size.height())});
  const int placeWidth = static_cast<int>(std::ceil(size.width() * scale));
  const int placeHeight = static_cast<int>(std::ceil(size.height() * scale));
  TextArea drawn = transform.DrawnArea(placeWidth, place, text, style);
  place.Y = (placeHeight - drawn.Height) / 2 - drawn.Y;
  drawn.Y += place.Y;

  QImage picture(size, QImage::Format_RGB32);
  PaintBands(picture, scale, drawn);
  Frame frame{size.width(), size.height(), static_cast<int>(picture.bytesPerLine()),
              std::vector<std::uint8_t>(picture.constBits(), picture.constBits() + picture.sizeInBytes())};
  if (scale > 1.0) {
    frame.SourceWidth = placeWidth;
    frame.SourceHeight = placeHeight;
  }
  const EditText edit{.Text = text, .Place = place, .Style = style};
  const Frame sample = RenderEditFrame(transform, frame, edit, nullptr);
  if (sample.empty()) return picture;
  std::memcpy(picture.bits(), sample.Pixels.data(),
              std::min<std::size_t>(sample.Pixels.size(), static_cast<std::size_t>(picture.sizeInBytes())));
  return picture;
}

}  // namespace orlisk
