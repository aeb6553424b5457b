#include "app/skin/PlaybarWaveformPainter.h"

#include <algorithm>
#include <cmath>

namespace orlisk {
namespace {

const QColor kUnplayedWave(0x9a, 0xa3, 0xb5);
// Subtitle spans: amber, see-through so the sound stays readable under them;
// the current subtitle's band is denser and edged.
const QColor kSpanBand(0xff, 0xc4, 0x40, 60);
const QColor kCurrentSpanBand(0xff, 0xc4, 0x40, 130);
const QColor kCurrentSpanEdge(0xff, 0xd0, 0x60, 230);

}  // namespace

double WaveformHeightOf(double level) { return std::sqrt(std::clamp(level, 0.0, 1.0)); }

void PaintPlaybarWithWaveform(QPainter& painter, const SkinObjectData& bar, SkinObjectState state,
                              const PlaybarWaveform& waveform) {
  const QRectF rect(bar.rect);
  const double radius = rect.height() / 2.0;
  const double travelLeft = rect.left() + radius;
  const double travel = std::max(0.0, rect.width() - 2 * radius);
  const double centreY = rect.center().y();
  const double halfHeight = std::max(1.0, rect.height() / 2.0 - 1);
  const double thumbX = ScrollThumbCentre(bar.rect, bar.scrollPosition);
  const std::int32_t duration = waveform.duration();
  const QColor track = ScrollbarTrackOf(bar);
  const QColor accent = ScrollbarAccentOf(bar);

  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(track.darker(150));
  painter.drawRoundedRect(rect, 3, 3);
  // The plain track's line runs on where the measuring has not come yet.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRectF(travelLeft, centreY - 1, travel, 2), track);

  // One column per pixel of the thumb's travel; silence still shows as a
  // line, so the played part stays visible.
  const std::vector<float>& levels = waveform.columnLevels(static_cast<int>(travel));
  for (std::size_t c = 0; c < levels.size(); ++c) {
    if (levels[c] < 0) continue;
    const double x = travelLeft + static_cast<double>(c);
    const double height = std::max(0.5, WaveformHeightOf(levels[c]) * halfHeight);
    painter.fillRect(QRectF(x, centreY - height, 1, 2 * height), x + 0.5 <= thumbX ? accent : kUnplayedWave);
  }

  if (duration > 0) {
    const auto xOf = [&](std::int32_t ms) {
      return travelLeft + travel * std::clamp<double>(ms, 0, duration) / duration;
    };
    const std::int32_t now =
        static_cast<std::int32_t>(std::llround(static_cast<double>(bar.scrollPosition) * duration / kScrollRange));
    const int current = waveform.spanAt(now);
    const std::vector<TimeSpan>& spans = waveform.spans();
    for (std::size_t i = 0; i < spans.size(); ++i) {
      const double left = xOf(spans[i].Begin);
      const double width = std::max(1.0, xOf(spans[i].End) - left);
      const bool isCurrent = static_cast<int>(i) == current;
      painter.fillRect(QRectF(left, rect.top(), width, rect.height()), isCurrent ? kCurrentSpanBand : kSpanBand);
    }
    if (current >= 0) {
      const double left = xOf(spans[static_cast<std::size_t>(current)].Begin);
      const double width = std::max(1.0, xOf(spans[static_cast<std::size_t>(current)].End) - left);
      painter.fillRect(QRectF(left, rect.top(), width, 1), kCurrentSpanEdge);
      painter.fillRect(QRectF(left, rect.bottom() - 1, width, 1), kCurrentSpanEdge);
    }
  }
  painter.restore();

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  PaintScrollbarThumb(painter, bar, state);
  painter.restore();
}

}  // namespace orlisk
