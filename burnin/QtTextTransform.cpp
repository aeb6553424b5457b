#include "QtTextTransform.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <QStringList>
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

// The strength and level values are handed on by the callers as they stand in
// the subtitle; they carry no meaning for this painter, which draws the text
// opaque in its colour. Later draws cover earlier ones, which is all the
// outline needs.
void QtTextTransform::DrawText(double /*strength*/, int x, int y, const std::string& text,
                               const SubtitleFont& font, Colour colour, int /*level*/) {
  DrawLines(x, false, y, text, font, colour);
}

void QtTextTransform::DrawCentredText(double /*strength*/, int dx, int y, const std::string& text,
                                      const SubtitleFont& font, Colour colour, int /*level*/) {
  DrawLines(dx, true, y, text, font, colour);
}

void QtTextTransform::DrawLines(int x, bool centred, int y, const std::string& text, const SubtitleFont& font,
                                Colour colour) {
  if (surface_.isNull() || text.empty()) return;
  const CachedFont& cached = FontFor(font);
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&surface_);
    painter_->setRenderHint(QPainter::TextAntialiasing);
    // A picture scaled for the view gets the text scaled with it: the same
    // place and size on the picture as on the source's.
    if (frame_.PlaceWidth() != frame_.Width || frame_.PlaceHeight() != frame_.Height) {
      painter_->scale(static_cast<double>(frame_.Width) / frame_.PlaceWidth(),
                      static_cast<double>(frame_.Height) / frame_.PlaceHeight());
    }
  }
  painter_->setFont(cached.Font);
  painter_->setPen(ToQColor(colour));
  // Widths are measured in place pixels, like the picture's place width, so
  // a scaled picture shows each line where the source's picture has it.
  int baseline = y + cached.Metrics.ascent();
  for (const QString& line : SplitLines(text)) {
    if (!line.isEmpty()) {
      const int left = centred ? CentredLineX(frame_.PlaceWidth(), cached.Metrics.horizontalAdvance(line)) + x : x;
      painter_->drawText(left, baseline, line);
    }
    baseline += cached.Metrics.lineSpacing();
  }
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
