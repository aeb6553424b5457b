#include "CheckLimitsSettings.h"

namespace orlisk {
namespace {

constexpr const char* kSection = "Checks";

void ReadPositive(const ProfileFile& settings, const char* key, std::int32_t& limit) {
  const std::int32_t value = settings.readInteger(kSection, key, limit);
  if (value > 0) limit = value;
}

}  // namespace

CheckLimits LoadCheckLimits(const ProfileFile& settings) {
  CheckLimits limits;
  ReadPositive(settings, "MinDuration", limits.MinDuration);
  ReadPositive(settings, "MaxDuration", limits.MaxDuration);
  ReadPositive(settings, "MinGapFrames", limits.MinGapFrames);
  ReadPositive(settings, "MaxCharsPerSecond", limits.MaxCharsPerSecond);
  ReadPositive(settings, "MaxLineLength", limits.MaxLineLength);
  ReadPositive(settings, "MaxLineLengthCJK", limits.MaxLineLengthCJK);
  return limits;
}

}  // namespace orlisk
