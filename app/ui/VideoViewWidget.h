#pragma once
// `VideoView1`: paints the current frame in its displayed shape (its pixel
// aspect kept) in its FitPicture rectangle between black bars (as it is when
// the reader already scaled it to that size, smoothly scaled otherwise) and
// reports mouse moves and releases in its own pixels.
#include <QWidget>
#include <functional>

#include "playback/VideoView.h"

namespace orlisk {

class VideoViewWidget : public QWidget, public VideoView {
  Q_OBJECT
 public:
  explicit VideoViewWidget(QWidget* parent = nullptr);

  // Where the mouse goes: moves with the position in view pixels, and any
  // button's release.
  void setMouseHandlers(std::function<void(int x, int y)> moved, std::function<void()> released);

  void ShowFrame(Frame frame) override;
  void ClearView() override;
  void setViewVisible(bool visible) override { setVisible(visible); }
  int viewWidth() const override { return width(); }
  int viewHeight() const override { return height(); }
  void setHandCursor(bool hand) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Frame frame_;  // kept so repaints (exposure, moves) need no new frame
  std::function<void(int, int)> moved_;
  std::function<void()> released_;
};

}  // namespace orlisk
