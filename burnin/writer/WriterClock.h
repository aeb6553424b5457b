#pragma once
// How much of the source's time line a writer has accepted: shared by the
// FFmpeg writer and its null twin so both count alike.
#include <cmath>
#include <cstdint>
#include <limits>

namespace orlisk {

// A frame rate a writer can count with: a missing or absurd rate counts as 25.
inline double UsableFrameRate(double frameRate) {
  return std::isfinite(frameRate) && frameRate > 0.0 ? frameRate : 25.0;
}

inline std::int32_t ClampToMs(double ms) {
  if (ms >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(std::llround(ms));
}

// Milliseconds of `frames` frames at `frameRate`, rounded to the nearest.
inline std::int32_t FramesToMs(std::int64_t frames, double frameRate) {
  return ClampToMs(static_cast<double>(frames) * 1000.0 / UsableFrameRate(frameRate));
}

// Milliseconds of `bytes` of interleaved 16-bit sound; 0 without sound.
inline std::int32_t AudioBytesToMs(std::int64_t bytes, int sampleRate, int channels) {
  if (sampleRate <= 0 || channels <= 0) return 0;
  const std::int64_t samples = bytes / (2 * std::int64_t{channels});
  return ClampToMs(static_cast<double>(samples) * 1000.0 / sampleRate);
}

}  // namespace orlisk
