#include "QtTextTransform.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

namespace orlisk {
namespace {

std::vector<QString> SplitLines(const std::string& utf8) {
  std::vector<QString> lines;
  std::string_view rest(utf8);
  while (true) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return lines;
}

// The stroke reaches this far outside the letters per pixel of font size: one
// pixel at the start-up size of 21 pixels (16 points), where the outline was
// always one pixel wide, and never less than that.
constexpr double kOutlinePerPixel = 1.0 / 21.0;
// The shadow falls this far down and right per pixel of font size (2 pixels
// at the start-up size), never less than one pixel beyond the outline.
constexpr double kShadowPerPixel = 1.0 / 12.0;
// A box reaches this far beyond each line's ends, per pixel of font size.
constexpr double kBoxMarginPerPixel = 0.25;

QColor BackdropColour(const SubtitleBackdrop& backdrop) {
  return QColor(0, 0, 0, std::clamp(backdrop.Opacity, 0, 100) * 255 / 100);
}

// The pixels a rectangle touches, anti-aliased edges included.
TextArea PixelsTouched(const QRectF& bounds) {
  if (bounds.isEmpty()) return {};
  const int left = static_cast<int>(std::floor(bounds.left()));
  const int top = static_cast<int>(std::floor(bounds.top()));
  const int right = static_cast<int>(std::ceil(bounds.right()));
  const int bottom = static_cast<int>(std::ceil(bounds.bottom()));
  return {.X = left, .Y = top, .Width = right - left, .Height = bottom - top};
}

}  // namespace

int TextPixelWidth(const std::string& utf8Line, const SubtitleFont& font) {
  return QFontMetrics(ToQFont(font)).horizontalAdvance(QString::fromStdString(utf8Line));
}

QtTextTransform::QtTextTransform() = default;

QtTextTransform::~QtTextTransform() { EndPainting(); }

void QtTextTransform::LoadFrame(const Frame& frame) {
  EndPainting();
  surface_ = QImage();
  if (frame.empty()) {
    frame_ = Frame{};
    return;
  }
  const long long rowBytes = static_cast<long long>(frame.Width) * 4;
  if (frame.Width <= 0 || frame.Height <= 0 || frame.Stride < rowBytes || frame.Stride % 4 != 0 ||
      static_cast<long long>(frame.Pixels.size()) <
          static_cast<long long>(frame.Stride) * (frame.Height - 1) + rowBytes) {
    throw std::invalid_argument("The picture to draw subtitles on is damaged: its size (" +
                                std::to_string(frame.Width) + " x " +
                                std::to_string(frame.Height) + ") does not match its pixels.");
  }
  frame_ = frame;
  // QImage over a writable buffer paints into it without copying.
  surface_ = QImage(frame_.Pixels.data(), frame_.Width, frame_.Height, frame_.Stride,
                    frame_.Premultiplied ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

const QtTextTransform::CachedFont& QtTextTransform::FontFor(const SubtitleFont& font) {
  for (const CachedFont& cached : fonts_) {
    if (cached.Key == font) return cached;
  }
  // A handful of styles are in use at a time; a full cache means the user
  // went through many, and starting afresh keeps it small.
  constexpr std::size_t kMaxCachedFonts = 16;
  if (fonts_.size() >= kMaxCachedFonts) fonts_.clear();
  QFont qfont = ToQFont(font);
  const QFontMetrics metrics(qfont);
  fonts_.push_back(CachedFont{font, std::move(qfont), metrics});
  return fonts_.back();
}


QtTextTransform::Layout& QtTextTransform::LayoutFor(int placeWidth, const SubtitlePlacement& place,
                                                  const std::string& text, const SubtitleStyle& style) {
  if (layout_ && layout_->PlaceWidth == placeWidth && layout_->Place == place && layout_->Text == text &&
      layout_->Style == style)
    return *layout_;
  const CachedFont& cached = FontFor(style.Font);
  auto layout = std::make_unique<Layout>();
  layout->PlaceWidth = placeWidth;
  layout->Place = place;
  layout->Text = text;
  layout->Style = style;
  const double size = cached.Font.pixelSize();
  layout->OutlineWidth = style.BorderEnabled ? std::max(1.0, size * kOutlinePerPixel) : 0.0;
  const double boxMargin = std::max(layout->OutlineWidth + 1, size * kBoxMarginPerPixel);
  // The box is one path of rectangles turning the same way, so lines whose
  // bands overlap are filled once: the overlap is no darker.
  layout->Box.setFillRule(Qt::WindingFill);
  const bool boxed = style.Backdrop.Shape == SubtitleBackdrop::Kind::Box;
  int top = place.Y;
  for (const QString& line : SplitLines(text)) {
    if (!line.isEmpty()) {
      // Widths are measured in place pixels, like the picture's place width,
      // so a scaled picture shows each line where the source's picture has it.
      const int advance = cached.Metrics.horizontalAdvance(line);
      const int left = place.Centred ? CentredLineX(placeWidth, advance) : place.X;
      layout->Letters.addText(left, top + cached.Metrics.ascent(), cached.Font, line);
      if (boxed)
        layout->Box.addRect(QRectF(left - boxMargin, top - layout->OutlineWidth, advance + 2 * boxMargin,
                                   cached.Metrics.height() + 2 * layout->OutlineWidth));
    }
    top += cached.Metrics.lineSpacing();
  }
  if (!layout->Letters.isEmpty()) {
    const double w = layout->OutlineWidth;
    layout->OutlinedBounds = layout->Letters.boundingRect().adjusted(-w, -w, w, w);
    QRectF drawn = layout->OutlinedBounds;
    if (style.Backdrop.Shape == SubtitleBackdrop::Kind::Shadow) {
      const double offset = std::max(std::round(size * kShadowPerPixel), std::ceil(w) + 1);
      layout->ShadowOffset = QPointF(offset, offset);
      drawn |= layout->OutlinedBounds.translated(layout->ShadowOffset);
    }
    if (!layout->Box.isEmpty()) drawn |= layout->Box.boundingRect();
    layout->Area = PixelsTouched(drawn);
  }
  layout_ = std::move(layout);
  return *layout_;
}

// The strength and level values are handed on by the callers as they stand in
// the subtitle; they carry no meaning for this painter, which draws the text
// opaque in its colours.
void QtTextTransform::DrawText(double /*strength*/, const SubtitlePlacement& place, const std::string& text,
                               const SubtitleStyle& style) {
  if (surface_.isNull() || text.empty()) return;
  Layout& layout = LayoutFor(frame_.PlaceWidth(), place, text, style);
  if (layout.Letters.isEmpty()) return;
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&surface_);
    painter_->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    // A picture scaled for the view gets the text scaled with it: the same
    // place and size on the picture as on the source's.
    if (frame_.PlaceWidth() != frame_.Width || frame_.PlaceHeight() != frame_.Height) {
      painter_->scale(static_cast<double>(frame_.Width) / frame_.PlaceWidth(),
                      static_cast<double>(frame_.Height) / frame_.PlaceHeight());
    }
  }
  if (!layout.Box.isEmpty()) painter_->fillPath(layout.Box, BackdropColour(style.Backdrop));
  const QTransform device = painter_->transform();
  const QRect clip = surface_.rect();
  if (!layout.HasLayers || layout.LayersFor != device || layout.LayersClip != clip) MakeLayers(layout, device, clip);
  // The layers are in the frame's pixels, on its pixel grid.
  painter_->save();
  painter_->resetTransform();
  if (!layout.Shadow.isNull()) {
    painter_->setOpacity(BackdropColour(style.Backdrop).alphaF());
    painter_->drawImage(layout.ShadowAt, layout.Shadow);
    painter_->setOpacity(1.0);
  }
  if (!layout.Ink.isNull()) painter_->drawImage(layout.InkAt, layout.Ink);
  painter_->restore();
}

// The stroke goes first and the letters over it, covering its inner half.
// The shadow is the outlined letters in black, drawn opaque into a layer of
// their own: drawn straight on at the backdrop's opacity, stroke and letters
// would overlap and darken each other.
void QtTextTransform::MakeLayers(Layout& layout, const QTransform& device, const QRect& clip) {
  const auto draw = [&layout, &clip](QImage& layer, QPoint& at, const QTransform& toPlace, const QColor& border,
                                     const QColor& letters) {
    const TextArea touched = PixelsTouched(toPlace.mapRect(layout.OutlinedBounds));
    // Only what falls on the frame: a huge font or a place far off the
    // picture must not make a layer larger than the frame.
    const QRect area = QRect(touched.X, touched.Y, touched.Width, touched.Height).intersected(clip);
    layer = QImage();
    if (area.isEmpty()) return;
    layer = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    at = area.topLeft();
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(toPlace * QTransform::fromTranslate(-area.x(), -area.y()));
    if (layout.OutlineWidth > 0) {
      painter.strokePath(layout.Letters,
                         QPen(border, 2 * layout.OutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    painter.fillPath(layout.Letters, letters);
  };
  draw(layout.Ink, layout.InkAt, device, ToQColor(layout.Style.BorderColor), ToQColor(layout.Style.TextColor));
  layout.Shadow = QImage();
  if (!layout.ShadowOffset.isNull()) {
    draw(layout.Shadow, layout.ShadowAt,
         QTransform::fromTranslate(layout.ShadowOffset.x(), layout.ShadowOffset.y()) * device, Qt::black, Qt::black);
  }
  layout.HasLayers = true;
  layout.LayersFor = device;
  layout.LayersClip = clip;
}

TextArea QtTextTransform::DrawnArea(int placeWidth, const SubtitlePlacement& place, const std::string& text,
                                    const SubtitleStyle& style) {
  if (text.empty()) return {};
  return LayoutFor(placeWidth, place, text, style).Area;
}

Frame QtTextTransform::TakeFrame() {
  EndPainting();
  surface_ = QImage();
  Frame finished = std::move(frame_);
  frame_ = Frame{};
  return finished;
}

void QtTextTransform::EndPainting() {
  if (painter_) {
    painter_->end();
    painter_.reset();
  }
}

}  // namespace orlisk
