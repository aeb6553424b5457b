#include "settings/SoftSubtitleSetting.h"

namespace orlisk {

namespace {
constexpr const char* kSection = "SoftSubtitles";
constexpr const char* kTrackKey = "Track";
constexpr const char* kContainerKey = "Container";
}  // namespace

SoftSubtitleSetting ReadSoftSubtitleSetting(const ProfileFile& settings) {
  SoftSubtitleSetting setting;
  setting.AddAsTrack = settings.readInteger(kSection, kTrackKey, 0) == 1;
  setting.Container = settings.readInteger(kSection, kContainerKey, 0) == 1 ? 1 : 0;
  return setting;
}

void WriteSoftSubtitleSetting(ProfileFile& settings, const SoftSubtitleSetting& setting) {
  settings.writeInteger(kSection, kTrackKey, setting.AddAsTrack ? 1 : 0);
  settings.writeInteger(kSection, kContainerKey, setting.Container == 1 ? 1 : 0);
}

}  // namespace orlisk
