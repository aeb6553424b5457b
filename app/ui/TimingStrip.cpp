#include "app/ui/TimingStrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <utility>

#include "app/skin/TimingStripPainter.h"

namespace orlisk {
namespace {

constexpr int kWheelNotch = 120;  // angleDelta of one notch

}  // namespace

TimingStrip::TimingStrip(const PlaybarWaveform& sound, QWidget* parent) : QWidget(parent), sound_(sound) {
  setObjectName(QStringLiteral("TimingStrip"));
  setMouseTracking(true);  // the cursor tells where an edge can be taken
  setAttribute(Qt::WA_OpaquePaintEvent);
  scale_.setWidth(width());
}

void TimingStrip::ViewChanged() {
  levelsRevision_.reset();
  backgroundValid_ = false;
  update();
}

void TimingStrip::showVideo(std::int32_t durationMs, double frameRate) {
  const std::int32_t before = scale_.duration();
  scale_.setVideo(durationMs, frameRate);
  if (scale_.duration() != before) {
    drag_.reset();
    ViewChanged();
  }
}

void TimingStrip::refresh() {
  currentSpan_ = playMs_ ? sound_.spanAt(*playMs_) : -1;
  backgroundValid_ = false;
  update();
}

void TimingStrip::showPlayPosition(std::int32_t ms) {
  if (playMs_ == ms) return;
  const std::optional<std::int32_t> before = playMs_;
  playMs_ = ms;
  if (!drag_ && scale_.follow(ms)) {
    ViewChanged();
    return;
  }
  const int current = sound_.spanAt(ms);
  if (current != currentSpan_) {
    currentSpan_ = current;
    backgroundValid_ = false;
    update();
    return;
  }
  // Only the columns the line leaves and enters, and only when it moves a pixel.
  const auto columnOf = [this](std::int32_t at) { return static_cast<int>(std::floor(scale_.xOf(at))); };
  if (before && columnOf(*before) == columnOf(ms)) return;
  if (before) update(columnOf(*before), 0, 1, height());
  update(columnOf(ms), 0, 1, height());
}

void TimingStrip::ZoomAroundPlayPosition(double factor) {
  const double playX = playMs_ ? scale_.xOf(*playMs_) : -1;
  scale_.zoomBy(factor, playX >= 0 && playX < width() ? playX : width() / 2.0);
  ViewChanged();
}

void TimingStrip::zoomIn() { ZoomAroundPlayPosition(1 / TimingStripScale::kZoomStep); }
void TimingStrip::zoomOut() { ZoomAroundPlayPosition(TimingStripScale::kZoomStep); }

void TimingStrip::showWholeVideo() {
  scale_.showWholeVideo();
  ViewChanged();
}

void TimingStrip::RebuildBackground() {
  if (levelsRevision_ != sound_.soundRevision()) {
    levels_ = LevelRangesOf(sound_, scale_.startMs(), scale_.msPerPixel(), width());
    levelsRevision_ = sound_.soundRevision();
  }
  background_ = QPixmap(size());
  QPainter painter(&background_);
  PaintStripBackground(painter, rect(), scale_, levels_, sound_.spans(), currentSpan_);
  backgroundValid_ = true;
}

void TimingStrip::paintEvent(QPaintEvent* event) {
  if (!backgroundValid_ || background_.size() != size()) RebuildBackground();
  QPainter painter(this);
  painter.drawPixmap(event->rect(), background_, event->rect());
  if (drag_) PaintDraggedSpan(painter, rect(), scale_, drag_->Now);
  if (playMs_) PaintPlayPosition(painter, rect(), scale_, *playMs_);
}

void TimingStrip::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  scale_.setWidth(width());
  ViewChanged();
}

void TimingStrip::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || scale_.duration() <= 0) return QWidget::mousePressEvent(event);
  const std::vector<TimeSpan>& spans = sound_.spans();
  if (const std::optional<EdgeHit> hit = scale_.edgeAt(spans, event->position().x())) {
    const TimeSpan& span = spans[static_cast<std::size_t>(hit->Span)];
    drag_ = EdgeDrag{.Edge = hit->Edge, .Before = span, .Now = span};
  } else {
    seekOnRelease_ = true;
  }
}

void TimingStrip::mouseMoveEvent(QMouseEvent* event) {
  const double x = event->position().x();
  if (drag_) {
    const std::int32_t time =
        scale_.draggedEdgeTime(drag_->Before, drag_->Edge, x, snapToSilence_ ? &sound_ : nullptr);
    (drag_->Edge == SpanEdge::Begin ? drag_->Now.Begin : drag_->Now.End) = time;
    update();
    return;
  }
  const bool overEdge = scale_.duration() > 0 && scale_.edgeAt(sound_.spans(), x).has_value();
  setCursor(overEdge ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

void TimingStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  const std::optional<EdgeDrag> drag = std::exchange(drag_, std::nullopt);
  const bool seek = std::exchange(seekOnRelease_, false);
  if (drag) {
    update();
    if (drag->Now != drag->Before && actions_.Retime) actions_.Retime(drag->Now.Row, drag->Now.Begin, drag->Now.End);
  } else if (seek && actions_.Seek) {
    actions_.Seek(scale_.timeAt(event->position().x()));
  }
}

void TimingStrip::wheelEvent(QWheelEvent* event) {
  if (scale_.duration() <= 0) return;
  const QPoint delta = event->angleDelta();
  // Shift turns a wheel into a sideways one (some systems swap the axes themselves).
  const bool sideways = (event->modifiers() & Qt::ShiftModifier) || std::abs(delta.x()) > std::abs(delta.y());
  const double notches = static_cast<double>(sideways ? (delta.x() != 0 ? delta.x() : delta.y()) : delta.y()) /
                         kWheelNotch;
  if (sideways) {
    scale_.scrollBy(-notches * width() / 8.0);
  } else {
    scale_.zoomBy(std::pow(TimingStripScale::kZoomStep, -notches), event->position().x());
  }
  ViewChanged();
  event->accept();
}

}  // namespace orlisk
