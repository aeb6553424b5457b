#pragma once
// Where the program's files live.
#include <filesystem>

namespace orlisk {

struct AppPaths {
  // The shipped files (language and skin files, help/, update.ini): the
  // executable's folder when they are there (the build tree), else
  // <prefix>/share/orlisk.
  std::filesystem::path ProgramFolder;
  // orlisk.ini: $XDG_CONFIG_HOME/orlisk.ini (~/.config/orlisk.ini).
  std::filesystem::path SettingsFile;
  // Files the program writes for itself: $XDG_DATA_HOME/orlisk.
  std::filesystem::path DataFolder;
  // Default output folder: the XDG videos folder (~/Videos).
  std::filesystem::path VideosFolder;
  // Default starting folder of the file dialogs: the user's home.
  std::filesystem::path HomeFolder;

  // From the environment and the executable's own path.
  static AppPaths Discover(const std::filesystem::path& executableFolder,
                           const std::filesystem::path& installedDataFolder);
};

}  // namespace orlisk
