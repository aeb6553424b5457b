#pragma once
// "Add as a subtitle track": whether a write job copies the video and adds
// the subtitles as a track instead of burning them in, and into which
// container. Settings file section "SoftSubtitles", keys "Track" (0 burn,
// 1 add as a track) and "Container" (0 MKV, 1 MP4).
#include <cstdint>

#include "ProfileFile.h"

namespace orlisk {

struct SoftSubtitleSetting {
  bool AddAsTrack = false;
  std::int32_t Container = 0;  // 0 MKV, 1 MP4

  bool operator==(const SoftSubtitleSetting&) const = default;
};

// A missing key, or a value other than 0 or 1, reads as the default (burn,
// MKV), so that a write job does what it always did.
SoftSubtitleSetting ReadSoftSubtitleSetting(const ProfileFile& settings);
// Throws ProfileWriteError as every write does.
void WriteSoftSubtitleSetting(ProfileFile& settings, const SoftSubtitleSetting& setting);

}  // namespace orlisk
