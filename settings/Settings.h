#pragma once
// The settings file orlisk.ini: the values read at start. Every other key is
// read by its user when needed, with the defaults given there.
#include <cstdint>
#include <string>

#include "ProfileFile.h"
#include "subtitles/SubtitleStyle.h"

namespace orlisk {

struct StartupSettings {
  std::string OutputFolder;      // "Output"/"Path"
  std::int32_t OutputMode = 0;   // "Video"/"wh": 0 Original, 1 Custom
  std::uint32_t BorderColor = 16711680;  // "Color"/"borderColor"
  bool BorderEnabled = true;     // "Color"/"Bborder"
  SubtitleBackdrop Backdrop;     // "Color"/"Backdrop", "Color"/"BackdropOpacity" (SubtitleBackdrop.h)
  bool AutoUpdateCheck = true;   // "Update"/"Bool"
  bool FirstInsertHint = true;   // "Firstinsertsubtitle"/"Bool"
  bool AutoOpenOutput = true;    // "Orlisk"/"autoopen"
};

StartupSettings LoadSettings(const ProfileFile& settings, const std::string& defaultOutputFolder);

// Keeps a newly chosen output folder ("Output"/"Path").
void WriteOutputFolder(ProfileFile& settings, const std::string& folder);

}  // namespace orlisk
