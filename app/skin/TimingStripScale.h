#pragma once
// The timing strip's arithmetic, apart from any widget: which stretch of the
// video its pixel columns show (the zoom and the scroll), time <-> pixel,
// the play position kept in view, which subtitle edge lies under the mouse,
// and where a dragged edge lands (on the frame grid, optionally on the
// nearest silence edge, never before 0, past the video's end or across the
// subtitle's other edge). Times in ms; x in pixels from the strip's left.
#include <cstdint>
#include <optional>
#include <vector>

#include "app/skin/PlaybarWaveform.h"

namespace orlisk {

enum class SpanEdge { Begin, End };

// An edge of spans[Span] (an index into the spans given, not the list's row).
struct EdgeHit {
  int Span = -1;
  SpanEdge Edge = SpanEdge::Begin;
  bool operator==(const EdgeHit&) const = default;
};

class TimingStripScale {
 public:
  // The finest zoom: the sound is measured in 10 ms peaks, so a finer one
  // would show nothing new (at 25 frames a second a frame is 4 pixels).
  static constexpr double kFinestMsPerPixel = 10.0;
  // One wheel notch or zoom key: half or double the pixels in two steps.
  static constexpr double kZoomStep = 1.4142135623730951;
  // How near the mouse must be to an edge to take it, and to a silence
  // edge for the edge to snap to it.
  static constexpr int kGrabPixels = 4;
  static constexpr int kSilenceSnapPixels = 8;

  // A video of `durationMs` whose frames come `frameRate` times a second (0:
  // unknown, the grid is then the millisecond); shows the whole video.
  // Nothing changes when the video is the same.
  void setVideo(std::int32_t durationMs, double frameRate);
  // The strip's width; the zoom stays (the whole video stays whole).
  void setWidth(int pixels);

  std::int32_t duration() const { return duration_; }
  int width() const { return width_; }
  double startMs() const { return startMs_; }
  double msPerPixel() const { return msPerPixel_; }
  bool showsWholeVideo() const { return msPerPixel_ >= WholeVideoMsPerPixel(); }

  // Zooms by `factor` (below 1 zooms in) keeping the time under `anchorX`
  // where it is, between the whole video and kFinestMsPerPixel.
  void zoomBy(double factor, double anchorX);
  void showWholeVideo();
  // Scrolls by `pixels` (positive: later), within the video.
  void scrollBy(double pixels);
  // Keeps `ms` in view: when it has left the view, the view pages on so
  // that it stands a tenth of the width from the left. True when it moved.
  bool follow(std::int32_t ms);

  double xOf(double ms) const { return (ms - startMs_) / msPerPixel_; }
  // The time at pixel x, to the nearest ms, within the video.
  std::int32_t timeAt(double x) const;

  // The edge of `spans` nearest to x within kGrabPixels; of two at the same
  // distance (one subtitle ends where the next begins), that of the span the
  // mouse is inside. Nothing when no edge is that near.
  std::optional<EdgeHit> edgeAt(const std::vector<TimeSpan>& spans, double x) const;

  // Where the `edge` of `span` lands when dragged to x: on the nearest
  // silence edge within kSilenceSnapPixels when `silences` is given, then on
  // the nearest frame boundary (or the video's end, when nearer); kept at
  // least a frame from the other edge, and within 0 and the video's end.
  std::int32_t draggedEdgeTime(const TimeSpan& span, SpanEdge edge, double x,
                               const PlaybarWaveform* silences) const;

  // The start of frame `index` (rounded to the ms, as the reader gives frame
  // times), and the frame whose start is nearest `ms`.
  std::int32_t frameTime(std::int64_t index) const;
  std::int64_t nearestFrame(std::int32_t ms) const;

 private:
  double WholeVideoMsPerPixel() const;
  double VisibleMs() const { return msPerPixel_ * width_; }
  void KeepInVideo();

  std::int32_t duration_ = 0;
  double frameRate_ = 0;
  int width_ = 1;
  double startMs_ = 0;
  double msPerPixel_ = 1;
};

}  // namespace orlisk
