#pragma once
// The timing strip under the picture: the sound of the open video over the
// stretch in view, the subtitles' spans on it with their numbers, and the
// play position. The wheel zooms around the mouse (Shift+wheel scrolls);
// dragging a span's edge re-times that subtitle when the button is let go;
// a click elsewhere seeks. The view pages on to keep the play position in
// sight. Everything it shows comes from the playbar's measured sound
// (PlaybarWaveform: peaks and spans); the arithmetic is TimingStripScale's.
//
// Painting is cheap: the sound's level ranges are worked out per pixel
// column only when the view or the sound changes, the ruler, sound and
// spans are kept in a pixmap until then, and a moving play position
// repaints only the columns its line leaves and enters.
#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/skin/StripSound.h"
#include "app/skin/TimingStripScale.h"

namespace orlisk {

class TimingStrip : public QWidget {
  Q_OBJECT
 public:
  struct Actions {
    // An edge was dragged: the list's row `row` is to run from begin to end.
    std::function<void(int row, std::int32_t begin, std::int32_t end)> Retime;
    // A click away from the edges: play or show from `ms`.
    std::function<void(std::int32_t ms)> Seek;
  };

  // `sound` outlives the strip.
  TimingStrip(const PlaybarWaveform& sound, QWidget* parent);
  void setActions(Actions actions) { actions_ = std::move(actions); }

  // The open video (0: none) and its frame rate; a new one shows whole.
  void showVideo(std::int32_t durationMs, double frameRate);
  // The sound or the spans may have changed: repaints if they did.
  void refresh();
  // The play position (what the play time shows); the view follows it
  // unless an edge is being dragged.
  void showPlayPosition(std::int32_t ms);
  void setSnapToSilence(bool on) { snapToSilence_ = on; }

  void zoomIn();
  void zoomOut();
  void showWholeVideo();
  const TimingStripScale& scale() const { return scale_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  struct EdgeDrag {
    SpanEdge Edge = SpanEdge::Begin;
    TimeSpan Before;
    TimeSpan Now;
  };
  // The view changed: the levels and the pixmap are worked out again.
  void ViewChanged();
  // The keys zoom around the play position when it is in view, else the middle.
  void ZoomAroundPlayPosition(double factor);
  void RebuildBackground();

  const PlaybarWaveform& sound_;
  TimingStripScale scale_;
  Actions actions_;
  std::vector<LevelRange> levels_;
  std::optional<std::uint64_t> levelsRevision_;  // the sound the levels are of; none after a view change
  QPixmap background_;
  bool backgroundValid_ = false;
  int currentSpan_ = -1;  // drawn denser: the subtitle at the play position
  std::optional<std::int32_t> playMs_;
  std::optional<EdgeDrag> drag_;
  bool seekOnRelease_ = false;
  bool snapToSilence_ = false;
};

}  // namespace orlisk
