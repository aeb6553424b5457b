#include "settings/ReactionDelay.h"

#include <algorithm>

namespace orlisk {

namespace {
constexpr const char* kSection = "Timing";
constexpr const char* kKey = "ReactionDelay";
}  // namespace

std::int32_t ReadReactionDelay(const ProfileFile& settings) {
  return std::clamp(settings.readInteger(kSection, kKey, 0), 0, kMaxReactionDelayMs);
}

void WriteReactionDelay(ProfileFile& settings, std::int32_t delayMs) {
  settings.writeInteger(kSection, kKey, std::clamp(delayMs, 0, kMaxReactionDelayMs));
}

SubtitleTime CompensateReaction(SubtitleTime pressedAt, std::int32_t delayMs) {
  if (delayMs <= 0 || pressedAt <= 0) return pressedAt;
  return std::max<SubtitleTime>(0, pressedAt - std::min(delayMs, kMaxReactionDelayMs));
}

}  // namespace orlisk
