#include "app/ui/VideoViewWidget.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace orlisk {

VideoViewWidget::VideoViewWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);  // moves without a button held start the drag
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoViewWidget::setMouseHandlers(std::function<void(int, int)> moved, std::function<void()> released) {
  moved_ = std::move(moved);
  released_ = std::move(released);
}

void VideoViewWidget::ShowFrame(Frame frame) {
  frame_ = std::move(frame);
  update();
}

void VideoViewWidget::ClearView() {
  frame_ = Frame{};
  update();
}

void VideoViewWidget::setHandCursor(bool hand) {
  if (hand) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
}

void VideoViewWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool usable = !frame_.empty() && frame_.Width > 0 && frame_.Height > 0 &&
                      frame_.Stride >= frame_.Width * 4 &&
                      frame_.Pixels.size() >= static_cast<std::size_t>(frame_.Stride) * frame_.Height;
  if (!usable) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  // Wraps the kept pixels; nothing is copied to paint.
  const QImage picture(frame_.Pixels.data(), frame_.Width, frame_.Height, frame_.Stride, QImage::Format_RGB32);
  // The source's displayed shape, as the mouse maps it: a picture the reader
  // scaled may be a pixel off that shape after rounding, and a picture of
  // wide or narrow pixels is stretched to it.
  const PictureRect fitted =
      FitPicture(width(), height(), frame_.PlaceWidth(), frame_.PlaceHeight(), frame_.Aspect);
  const QRect target(fitted.X, fitted.Y, fitted.Width, fitted.Height);
  // Only the bars are filled, so the picture is not painted twice.
  const QRegion bars = QRegion(rect()).subtracted(QRegion(target));
  for (const QRect& bar : bars) painter.fillRect(bar, Qt::black);
  if (picture.size() == target.size()) {
    // Scaled to the view by the reader: copied as it is.
    painter.drawImage(target.topLeft(), picture);
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, picture);
}

void VideoViewWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (moved_) moved_(at.x(), at.y());
}

void VideoViewWidget::mouseReleaseEvent(QMouseEvent*) {
  if (released_) released_();
}

}  // namespace orlisk
