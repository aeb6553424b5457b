#pragma once
// What stands behind the subtitles' text (nothing, a shadow or a box) and how
// opaque it is: one choice for all subtitles, kept in the settings file
// beside the outline, section "Color", keys "Backdrop" (0 nothing, 1 shadow,
// 2 box) and "BackdropOpacity" (percent).
#include "ProfileFile.h"
#include "subtitles/SubtitleStyle.h"

namespace orlisk {

inline constexpr std::int32_t kMinBackdropOpacity = 10;

// The stored backdrop. A missing key or a kind that names none of the three
// reads as nothing, so files from before look as they did; the opacity is
// bounded to kMinBackdropOpacity..100 (a missing one is the default 60).
SubtitleBackdrop ReadSubtitleBackdrop(const ProfileFile& settings);
// Stores both keys, the opacity bounded the same way; throws ProfileWriteError
// as every write does.
void WriteSubtitleBackdrop(ProfileFile& settings, const SubtitleBackdrop& backdrop);

}  // namespace orlisk
