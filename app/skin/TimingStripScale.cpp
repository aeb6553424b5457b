#include "app/skin/TimingStripScale.h"

#include <algorithm>
#include <cmath>

#include "app/skin/StripSound.h"

namespace orlisk {

void TimingStripScale::setVideo(std::int32_t durationMs, double frameRate) {
  durationMs = std::max<std::int32_t>(0, durationMs);
  if (!(frameRate > 0)) frameRate = 0;
  if (durationMs == duration_ && frameRate == frameRate_) return;
  duration_ = durationMs;
  frameRate_ = frameRate;
  showWholeVideo();
}

void TimingStripScale::setWidth(int pixels) {
  const bool whole = showsWholeVideo();
  width_ = std::max(1, pixels);
  msPerPixel_ = whole ? WholeVideoMsPerPixel() : std::clamp(msPerPixel_, kFinestMsPerPixel, WholeVideoMsPerPixel());
  KeepInVideo();
}

double TimingStripScale::WholeVideoMsPerPixel() const {
  return std::max(kFinestMsPerPixel, static_cast<double>(duration_) / width_);
}

void TimingStripScale::KeepInVideo() {
  startMs_ = std::clamp(startMs_, 0.0, std::max(0.0, duration_ - VisibleMs()));
}

void TimingStripScale::zoomBy(double factor, double anchorX) {
  const double anchorMs = startMs_ + anchorX * msPerPixel_;
  msPerPixel_ = std::clamp(msPerPixel_ * factor, kFinestMsPerPixel, WholeVideoMsPerPixel());
  startMs_ = anchorMs - anchorX * msPerPixel_;
  KeepInVideo();
}

void TimingStripScale::showWholeVideo() {
  msPerPixel_ = WholeVideoMsPerPixel();
  startMs_ = 0;
}

void TimingStripScale::scrollBy(double pixels) {
  startMs_ += pixels * msPerPixel_;
  KeepInVideo();
}

bool TimingStripScale::follow(std::int32_t ms) {
  if (ms >= startMs_ && ms < startMs_ + VisibleMs()) return false;
  const double before = startMs_;
  startMs_ = ms - VisibleMs() / 10;
  KeepInVideo();
  return startMs_ != before;
}

std::int32_t TimingStripScale::timeAt(double x) const {
  return static_cast<std::int32_t>(std::clamp(std::llround(startMs_ + x * msPerPixel_), 0LL,
                                              static_cast<long long>(duration_)));
}

std::optional<EdgeHit> TimingStripScale::edgeAt(const std::vector<TimeSpan>& spans, double x) const {
  std::optional<EdgeHit> best;
  double bestDistance = kGrabPixels + 0.5;
  bool bestInside = false;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const double left = xOf(spans[i].Begin);
    const double right = xOf(spans[i].End);
    const bool inside = left <= x && x < right;
    for (const SpanEdge edge : {SpanEdge::Begin, SpanEdge::End}) {
      const double distance = std::abs(x - (edge == SpanEdge::Begin ? left : right));
      if (distance > bestDistance || (distance == bestDistance && (bestInside || !inside))) continue;
      best = EdgeHit{static_cast<int>(i), edge};
      bestDistance = distance;
      bestInside = inside;
    }
  }
  return best;
}

std::int32_t TimingStripScale::frameTime(std::int64_t index) const {
  if (frameRate_ <= 0) return static_cast<std::int32_t>(index);
  return static_cast<std::int32_t>(std::llround(static_cast<double>(index) * 1000.0 / frameRate_));
}

std::int64_t TimingStripScale::nearestFrame(std::int32_t ms) const {
  if (frameRate_ <= 0) return ms;
  const std::int64_t guess = std::llround(ms * frameRate_ / 1000.0);
  // Frame times are rounded to the ms, so a neighbour can be nearer.
  std::int64_t nearest = guess;
  for (const std::int64_t n : {guess - 1, guess + 1}) {
    if (std::abs(frameTime(n) - ms) < std::abs(frameTime(nearest) - ms)) nearest = n;
  }
  return nearest;
}

std::int32_t TimingStripScale::draggedEdgeTime(const TimeSpan& span, SpanEdge edge, double x,
                                               const PlaybarWaveform* silences) const {
  std::int32_t wanted = timeAt(x);
  if (silences) {
    const auto within = static_cast<std::int32_t>(std::ceil(kSilenceSnapPixels * msPerPixel_));
    if (const std::optional<std::int32_t> silenceEdge = NearestSilenceEdge(*silences, wanted, within))
      wanted = *silenceEdge;
  }
  const std::int64_t frame = nearestFrame(wanted);
  if (edge == SpanEdge::Begin) {
    // The last frame that starts before the subtitle's end.
    std::int64_t latest = nearestFrame(span.End);
    while (latest > 0 && frameTime(latest) >= span.End) --latest;
    return frameTime(std::clamp<std::int64_t>(frame, 0, latest));
  }
  // The first frame after the subtitle's begin; past the last frame that
  // starts within the video, the video's end itself.
  std::int64_t earliest = nearestFrame(span.Begin);
  while (frameTime(earliest) <= span.Begin) ++earliest;
  const std::int32_t end = frameTime(std::max(frame, earliest));
  // The video's end is a place to land too: it need not lie on the grid.
  const bool videoEndNearer = std::abs(duration_ - wanted) < std::abs(end - wanted);
  if (end <= duration_ && !videoEndNearer) return end;
  return duration_ > span.Begin ? duration_ : span.End;
}

}  // namespace orlisk
