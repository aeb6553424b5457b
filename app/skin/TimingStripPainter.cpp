#include "app/skin/TimingStripPainter.h"

#include <QFont>
#include <QString>
#include <algorithm>
#include <cmath>

#include "app/skin/PlaybarWaveformPainter.h"

namespace orlisk {
namespace {

const QColor kBackground(0x0e, 0x11, 0x17);
const QColor kRulerBackground(0x1a, 0x1f, 0x29);
const QColor kRulerText(0xaa, 0xb2, 0xc0);
const QColor kRulerMark(0x3a, 0x41, 0x50);
// The loudest peak of a column outside, the quietest inside: speech shows as
// a light core in a darker envelope, silence as the centre line alone.
const QColor kLoudest(0x3f, 0x6f, 0xc0);
const QColor kQuietest(0x8f, 0xb3, 0xff);
const QColor kSpanBand(0xff, 0xc4, 0x40, 45);
const QColor kCurrentSpanBand(0xff, 0xc4, 0x40, 95);
const QColor kSpanEdge(0xff, 0xc4, 0x40, 200);
const QColor kSpanNumber(0xff, 0xd8, 0x80);
const QColor kDraggedEdge(0xff, 0xff, 0xff);
const QColor kPlayPosition(0xff, 0x5a, 0x5a);

QString RulerLabel(std::int64_t ms, std::int32_t step) {
  const std::int64_t seconds = ms / 1000;
  QString text = seconds >= 3600 ? QStringLiteral("%1:%2:%3")
                                       .arg(seconds / 3600)
                                       .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                       .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                                 : QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
  if (step < 1000) text += QStringLiteral(".%1").arg(ms % 1000 / 100);
  return text;
}

void PaintRuler(QPainter& painter, const QRect& area, const TimingStripScale& scale) {
  const QRect ruler(area.left(), area.top(), area.width(), kStripRulerHeight);
  painter.fillRect(ruler, kRulerBackground);
  const std::int32_t step = RulerStepMs(scale.msPerPixel());
  QFont font = painter.font();
  font.setPixelSize(10);
  painter.setFont(font);
  const double endMs = scale.startMs() + scale.msPerPixel() * area.width();
  for (auto ms = static_cast<std::int64_t>(std::ceil(scale.startMs() / step)) * step; ms <= endMs; ms += step) {
    const int x = area.left() + static_cast<int>(std::floor(scale.xOf(static_cast<double>(ms))));
    painter.fillRect(QRect(x, ruler.top() + 4, 1, ruler.height() - 4), kRulerMark);
    painter.setPen(kRulerText);
    painter.drawText(QRect(x + 3, ruler.top(), 80, ruler.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     RulerLabel(ms, step));
  }
}

void PaintSound(QPainter& painter, const QRect& wave, const std::vector<LevelRange>& levels) {
  const double centreY = wave.top() + wave.height() / 2.0;
  const double halfHeight = std::max(1.0, wave.height() / 2.0 - 2);
  const int columns = std::min(static_cast<int>(levels.size()), wave.width());
  for (int c = 0; c < columns; ++c) {
    const LevelRange& range = levels[static_cast<std::size_t>(c)];
    if (range.High < 0) continue;
    const double x = wave.left() + c;
    const double high = std::max(0.5, WaveformHeightOf(range.High) * halfHeight);
    const double low = std::max(0.5, WaveformHeightOf(range.Low) * halfHeight);
    painter.fillRect(QRectF(x, centreY - high, 1, 2 * high), kLoudest);
    painter.fillRect(QRectF(x, centreY - low, 1, 2 * low), kQuietest);
  }
}

// The whole pixel columns a span covers in `wave`, at least one; empty when
// out of view. Whole pixels keep the fills on the painter's fast path.
QRect SpanRect(const QRect& wave, const TimingStripScale& scale, const TimeSpan& span) {
  const double left = std::floor(scale.xOf(span.Begin));
  const double right = std::max(left + 1, std::floor(scale.xOf(span.End)));
  if (right <= 0 || left >= wave.width()) return {};
  const int from = static_cast<int>(std::max(left, -1.0));
  const int to = static_cast<int>(std::min(right, wave.width() + 1.0));
  return QRect(wave.left() + from, wave.top(), to - from, wave.height());
}

void PaintBand(QPainter& painter, const QRect& band, const QColor& fill) {
  painter.fillRect(band, fill);
  painter.fillRect(QRect(band.left(), band.top(), 1, band.height()), kSpanEdge);
  painter.fillRect(QRect(band.right(), band.top(), 1, band.height()), kSpanEdge);
}

// Spans narrower than this many pixels are merged by pixel column: zoomed
// out over a long list, thousands share a column, and drawing each one
// would take seconds.
constexpr int kNarrowSpanPixels = 3;

}  // namespace

std::int32_t RulerStepMs(double msPerPixel, int minimumPixels) {
  static constexpr std::int32_t kSteps[] = {100,   200,    500,    1000,   2000,   5000,    10000,  15000,
                                            30000, 60000,  120000, 300000, 600000, 1800000, 3600000};
  for (const std::int32_t step : kSteps) {
    if (step / msPerPixel >= minimumPixels) return step;
  }
  return kSteps[std::size(kSteps) - 1];
}

void PaintStripBackground(QPainter& painter, const QRect& area, const TimingStripScale& scale,
                          const std::vector<LevelRange>& levels, const std::vector<TimeSpan>& spans,
                          int currentSpan) {
  painter.save();
  painter.fillRect(area, kBackground);
  PaintRuler(painter, area, scale);
  const QRect wave = area.adjusted(0, kStripRulerHeight, 0, 0);
  painter.setClipRect(wave);
  PaintSound(painter, wave, levels);

  QFont font = painter.font();
  font.setPixelSize(11);
  font.setBold(true);
  painter.setFont(font);
  const int numberWidth = painter.fontMetrics().horizontalAdvance(QStringLiteral("0"));
  std::vector<bool> narrowCovers(static_cast<std::size_t>(std::max(0, wave.width())), false);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const QRect band = SpanRect(wave, scale, spans[i]);
    if (band.isEmpty()) continue;
    const bool current = static_cast<int>(i) == currentSpan;
    if (band.width() < kNarrowSpanPixels && !current) {
      for (int x = std::max(band.left(), wave.left()); x <= std::min(band.right(), wave.right()); ++x)
        narrowCovers[static_cast<std::size_t>(x - wave.left())] = true;
      continue;
    }
    PaintBand(painter, band, current ? kCurrentSpanBand : kSpanBand);
    // The list's number, where the band is wide enough for it.
    const QString number = QString::number(spans[i].Row + 1);
    if (band.width() >= numberWidth * (number.size() + 1)) {
      painter.setPen(kSpanNumber);
      painter.drawText(band.adjusted(3, 1, -2, 0), Qt::AlignLeft | Qt::AlignTop, number);
    }
  }
  // The narrow spans: one band per run of columns they cover.
  for (int x = 0; x < wave.width();) {
    if (!narrowCovers[static_cast<std::size_t>(x)]) {
      ++x;
      continue;
    }
    const int from = x;
    while (x < wave.width() && narrowCovers[static_cast<std::size_t>(x)]) ++x;
    PaintBand(painter, QRect(wave.left() + from, wave.top(), x - from, wave.height()), kSpanBand);
  }
  painter.restore();
}

void PaintPlayPosition(QPainter& painter, const QRect& area, const TimingStripScale& scale, std::int32_t ms) {
  const double x = scale.xOf(ms);
  if (x < 0 || x >= area.width()) return;
  painter.fillRect(QRectF(area.left() + std::floor(x), area.top(), 1, area.height()), kPlayPosition);
}

void PaintDraggedSpan(QPainter& painter, const QRect& area, const TimingStripScale& scale, const TimeSpan& span) {
  const QRect wave = area.adjusted(0, kStripRulerHeight, 0, 0);
  const QRect band = SpanRect(wave, scale, span);
  if (band.isEmpty()) return;
  painter.save();
  painter.setClipRect(wave);
  painter.setPen(QPen(kDraggedEdge, 1, Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(band.adjusted(0, 0, -1, -1));
  painter.restore();
}

}  // namespace orlisk
