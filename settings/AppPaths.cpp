#include "settings/AppPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace orlisk {
namespace fs = std::filesystem;

namespace {

// An environment variable that names a folder; XDG ignores relative paths.
std::optional<fs::path> AbsoluteFolderFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  fs::path folder(value);
  if (!folder.is_absolute()) return std::nullopt;
  return folder;
}

fs::path UserHomeFolder() {
  if (auto home = AbsoluteFolderFromEnvironment("HOME")) return *home;
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    return fs::path(user->pw_dir);
  }
  return fs::path("/");
}

// XDG_VIDEOS_DIR="$HOME/Videos" or an absolute path, as xdg-user-dirs writes it.
std::optional<fs::path> VideosFolderFromUserDirs(const fs::path& userDirsFile, const fs::path& home) {
  std::ifstream in(userDirsFile);
  std::string line;
  constexpr std::string_view kKey = "XDG_VIDEOS_DIR=";
  while (std::getline(in, line)) {
    std::string_view text = line;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (!text.starts_with(kKey)) continue;
    text.remove_prefix(kKey.size());
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
      text.remove_suffix(1);
    }
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') continue;
    text = text.substr(1, text.size() - 2);
    constexpr std::string_view kHome = "$HOME";
    if (text.starts_with(kHome) && (text.size() == kHome.size() || text[kHome.size()] == '/')) {
      text.remove_prefix(kHome.size());
      while (text.starts_with('/')) text.remove_prefix(1);
      return text.empty() ? home : home / fs::path(text);
    }
    if (text.starts_with('/')) return fs::path(text);
  }
  return std::nullopt;
}

}  // namespace

AppPaths AppPaths::Discover(const fs::path& executableFolder, const fs::path& installedDataFolder) {
  AppPaths paths;
  paths.HomeFolder = UserHomeFolder();
  const fs::path configFolder =
      AbsoluteFolderFromEnvironment("XDG_CONFIG_HOME").value_or(paths.HomeFolder / ".config");
  const fs::path dataHome =
      AbsoluteFolderFromEnvironment("XDG_DATA_HOME").value_or(paths.HomeFolder / ".local" / "share");

  std::error_code error;
  const bool shippedBeside = fs::exists(executableFolder / "languageEn.ini", error);
  paths.ProgramFolder = shippedBeside ? executableFolder : installedDataFolder;
  paths.SettingsFile = configFolder / "orlisk.ini";
  paths.DataFolder = dataHome / "orlisk";
  paths.VideosFolder = VideosFolderFromUserDirs(configFolder / "user-dirs.dirs", paths.HomeFolder)
                           .value_or(paths.HomeFolder / "Videos");
  return paths;
}

}  // namespace orlisk
