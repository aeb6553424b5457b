#pragma once
// What the timing strip reads from the sound's loudness: the quietest and
// loudest peak under each of its pixel columns (worked out once per view or
// sound change, so painting never looks at the peaks), and where silences
// begin and end, for snapping an edge to them. Plain functions over the
// measured peaks.
#include <cstdint>
#include <optional>
#include <vector>

#include "app/skin/PlaybarWaveform.h"

namespace orlisk {

// The loudness (0..1) under one column: the lowest and highest 10 ms peak.
// Both are -1 where the measuring has not come yet (or past the video's end).
struct LevelRange {
  float Low = -1.0F;
  float High = -1.0F;
  bool operator==(const LevelRange&) const = default;
};

// `columns` columns of `msPerColumn` each, the first starting at `startMs`.
// A column narrower than a peak takes the peak its start falls in.
std::vector<LevelRange> LevelRangesOf(const PlaybarWaveform& sound, double startMs, double msPerColumn, int columns);

// A peak quieter than this (about -30 dB of full scale) is silence, when at
// least kShortestSilenceMs of them follow each other: the gaps between
// words are shorter and are not snapped to.
constexpr std::uint16_t kSilenceLevel = 2048;
constexpr std::int32_t kShortestSilenceMs = 150;

// The begin or end of a silence nearest to `ms`, no further than `withinMs`
// from it; nothing when none is that near (or the sound there is unknown).
std::optional<std::int32_t> NearestSilenceEdge(const PlaybarWaveform& sound, std::int32_t ms, std::int32_t withinMs);

}  // namespace orlisk
