#include "settings/Settings.h"

#include "settings/SubtitleBackdrop.h"

namespace orlisk {
namespace {
constexpr const char* kOutputSection = "Output";
constexpr const char* kOutputFolderKey = "Path";
}  // namespace

StartupSettings LoadSettings(const ProfileFile& settings, const std::string& defaultOutputFolder) {
  const StartupSettings defaults;
  StartupSettings loaded;
  loaded.OutputFolder = settings.readString(kOutputSection, kOutputFolderKey, defaultOutputFolder);
  loaded.OutputMode = settings.readInteger("Video", "wh", defaults.OutputMode);
  // Colours are stored as signed decimal text of the 0x00BBGGRR value.
  loaded.BorderColor = static_cast<std::uint32_t>(
      settings.readInteger("Color", "borderColor", static_cast<std::int32_t>(defaults.BorderColor)));
  loaded.BorderEnabled = settings.readBool("Color", "Bborder", defaults.BorderEnabled);
  loaded.Backdrop = ReadSubtitleBackdrop(settings);
  loaded.AutoUpdateCheck = settings.readBool("Update", "Bool", defaults.AutoUpdateCheck);
  loaded.FirstInsertHint = settings.readBool("Firstinsertsubtitle", "Bool", defaults.FirstInsertHint);
  loaded.AutoOpenOutput = settings.readBool("Orlisk", "autoopen", defaults.AutoOpenOutput);
  return loaded;
}

void WriteOutputFolder(ProfileFile& settings, const std::string& folder) {
  settings.writeString(kOutputSection, kOutputFolderKey, folder);
}

}  // namespace orlisk
