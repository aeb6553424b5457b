#include "settings/SubtitleBackdrop.h"

#include <algorithm>

namespace orlisk {

namespace {
constexpr const char* kSection = "Color";
constexpr const char* kShapeKey = "Backdrop";
constexpr const char* kOpacityKey = "BackdropOpacity";

std::int32_t BoundedOpacity(std::int32_t percent) { return std::clamp(percent, kMinBackdropOpacity, 100); }
}  // namespace

SubtitleBackdrop ReadSubtitleBackdrop(const ProfileFile& settings) {
  const SubtitleBackdrop defaults;
  SubtitleBackdrop stored;
  const std::int32_t shape = settings.readInteger(kSection, kShapeKey, static_cast<std::int32_t>(defaults.Shape));
  switch (shape) {
    case static_cast<std::int32_t>(SubtitleBackdrop::Kind::Shadow):
    case static_cast<std::int32_t>(SubtitleBackdrop::Kind::Box):
      stored.Shape = static_cast<SubtitleBackdrop::Kind>(shape);
      break;
    default:
      stored.Shape = SubtitleBackdrop::Kind::None;
  }
  stored.Opacity = BoundedOpacity(settings.readInteger(kSection, kOpacityKey, defaults.Opacity));
  return stored;
}

void WriteSubtitleBackdrop(ProfileFile& settings, const SubtitleBackdrop& backdrop) {
  settings.writeInteger(kSection, kShapeKey, static_cast<std::int32_t>(backdrop.Shape));
  settings.writeInteger(kSection, kOpacityKey, BoundedOpacity(backdrop.Opacity));
}

}  // namespace orlisk
