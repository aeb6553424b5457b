#pragma once
// The reaction delay: how long the user takes from hearing a line begin or end
// to pressing the key that stamps it. The stamps are taken that much earlier.
// Settings file section "Timing", key "ReactionDelay", in milliseconds.
#include <cstdint>

#include "ProfileFile.h"
#include "subtitles/SubtitleTime.h"

namespace orlisk {

inline constexpr std::int32_t kMaxReactionDelayMs = 2000;

// The stored delay, bounded to 0..kMaxReactionDelayMs. A missing key, text that
// is not a number, or a negative number reads as 0, so that stamps are taken
// as they always were; a larger number reads as the bound.
std::int32_t ReadReactionDelay(const ProfileFile& settings);
// Stores the delay bounded the same way; throws ProfileWriteError as every write does.
void WriteReactionDelay(ProfileFile& settings, std::int32_t delayMs);

// The time a stamp records when the key was pressed at `pressedAt`: delayMs
// earlier, never before 0. A delay of 0 or less, or a time that is not after 0
// already, is returned unchanged.
SubtitleTime CompensateReaction(SubtitleTime pressedAt, std::int32_t delayMs);

}  // namespace orlisk
