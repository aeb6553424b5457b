#include "app/skin/StripSound.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orlisk {
namespace {

float LevelOf(std::uint16_t peak) { return static_cast<float>(peak) / 65535.0F; }

}  // namespace

std::vector<LevelRange> LevelRangesOf(const PlaybarWaveform& sound, double startMs, double msPerColumn, int columns) {
  std::vector<LevelRange> ranges(static_cast<std::size_t>(std::max(0, columns)));
  const double peakMs = static_cast<double>(sound.peakMs());
  const auto known = static_cast<std::int64_t>(sound.knownPeaks());
  const double videoEnd = sound.duration();
  if (!(msPerColumn > 0) || peakMs <= 0) return ranges;
  for (std::size_t c = 0; c < ranges.size(); ++c) {
    const double begin = startMs + msPerColumn * static_cast<double>(c);
    const double end = std::min(begin + msPerColumn, videoEnd);
    if (begin < 0 || begin >= videoEnd) continue;
    const auto first = static_cast<std::int64_t>(begin / peakMs);
    // The peaks the column overlaps; at least the one its start falls in.
    const auto last = std::max(first + 1, static_cast<std::int64_t>(std::ceil(end / peakMs)));
    if (first >= known) continue;
    const auto from = sound.peaks().begin() + first;
    const auto [low, high] = std::minmax_element(from, sound.peaks().begin() + std::min(last, known));
    ranges[c] = {LevelOf(*low), LevelOf(*high)};
  }
  return ranges;
}

std::optional<std::int32_t> NearestSilenceEdge(const PlaybarWaveform& sound, std::int32_t ms, std::int32_t withinMs) {
  const std::int64_t peakMs = sound.peakMs();
  const auto known = static_cast<std::int64_t>(sound.knownPeaks());
  if (peakMs <= 0 || known == 0) return std::nullopt;
  const std::vector<std::uint16_t>& peaks = sound.peaks();
  const std::int64_t runNeeded = std::max<std::int64_t>(1, (kShortestSilenceMs + peakMs - 1) / peakMs);
  const auto quiet = [&](std::int64_t i) { return peaks[static_cast<std::size_t>(i)] < kSilenceLevel; };
  // Whether the peaks from `i` on (step +1) or before it (step -1) are silent
  // for at least the shortest silence; the sound's ends count as its edge.
  const auto silentRun = [&](std::int64_t i, int step) {
    for (std::int64_t n = 0; n < runNeeded; ++n, i += step) {
      if (i < 0 || i >= known) return n > 0;
      if (!quiet(i)) return false;
    }
    return true;
  };
  std::optional<std::int32_t> nearest;
  // Edge b lies between peaks b - 1 and b, at b * peakMs.
  const std::int64_t first = std::max<std::int64_t>(1, (std::int64_t{ms} - withinMs) / peakMs);
  const std::int64_t last = std::min(known - 1, (std::int64_t{ms} + withinMs) / peakMs + 1);
  for (std::int64_t b = first; b <= last; ++b) {
    if (quiet(b - 1) == quiet(b)) continue;
    const bool silenceBegins = quiet(b);
    if (!(silenceBegins ? silentRun(b, +1) : silentRun(b - 1, -1))) continue;
    const auto edge = static_cast<std::int32_t>(b * peakMs);
    if (std::abs(std::int64_t{edge} - ms) > withinMs) continue;
    if (!nearest || std::abs(std::int64_t{edge} - ms) < std::abs(std::int64_t{*nearest} - ms)) nearest = edge;
  }
  return nearest;
}

}  // namespace orlisk
