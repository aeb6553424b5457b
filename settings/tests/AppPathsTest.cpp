#include "settings/AppPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

using testing::TempFolder;
using testing::WriteBytes;
namespace fs = std::filesystem;

// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment {
 public:
  void set(const std::string& name, const char* value) {
    if (!saved_.contains(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      ::setenv(name.c_str(), value, 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

class AppPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    environment.set("HOME", (folder / "home").c_str());
    environment.set("XDG_CONFIG_HOME", nullptr);
    environment.set("XDG_DATA_HOME", nullptr);
  }
  TempFolder folder;
  ScopedEnvironment environment;
};

TEST_F(AppPathsTest, FallsBackToFoldersUnderHome) {
  const AppPaths paths = AppPaths::Discover(folder / "bin", folder / "share");
  const fs::path home = folder / "home";
  EXPECT_EQ(paths.HomeFolder, home);
  EXPECT_EQ(paths.SettingsFile, home / ".config" / "orlisk.ini");
  EXPECT_EQ(paths.DataFolder, home / ".local" / "share" / "orlisk");
  EXPECT_EQ(paths.VideosFolder, home / "Videos");
  EXPECT_EQ(paths.ProgramFolder, folder / "share");
}

TEST_F(AppPathsTest, FollowsXdgVariablesAndIgnoresRelativeOnes) {
  environment.set("XDG_CONFIG_HOME", (folder / "cfg").c_str());
  environment.set("XDG_DATA_HOME", "relative/data");
  const AppPaths paths = AppPaths::Discover(folder / "bin", folder / "share");
  EXPECT_EQ(paths.SettingsFile, folder / "cfg" / "orlisk.ini");
  EXPECT_EQ(paths.DataFolder, folder / "home" / ".local" / "share" / "orlisk");
}

TEST_F(AppPathsTest, ProgramFolderIsTheExecutablesWhenTheShippedFilesAreThere) {
  WriteBytes(folder / "bin" / "languageEn.ini", "[x]\n");
  EXPECT_EQ(AppPaths::Discover(folder / "bin", folder / "share").ProgramFolder, folder / "bin");
}

struct UserDirsCase {
  const char* name;
  const char* fileText;
  const char* videosUnderHome;  // nullptr: an absolute path given as is
  const char* absolute;
};

class VideosFolderTest : public AppPathsTest, public ::testing::WithParamInterface<UserDirsCase> {};

TEST_P(VideosFolderTest, ReadsUserDirsFile) {
  environment.set("XDG_CONFIG_HOME", (folder / "cfg").c_str());
  WriteBytes(folder / "cfg" / "user-dirs.dirs", GetParam().fileText);
  const fs::path expected =
      GetParam().videosUnderHome ? folder / "home" / GetParam().videosUnderHome : fs::path(GetParam().absolute);
  EXPECT_EQ(AppPaths::Discover(folder / "bin", folder / "share").VideosFolder, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, VideosFolderTest,
    ::testing::Values(
        UserDirsCase{"UnderHome", "# comment\nXDG_MUSIC_DIR=\"$HOME/Musik\"\nXDG_VIDEOS_DIR=\"$HOME/Filme\"\n",
                     "Filme", nullptr},
        UserDirsCase{"Absolute", "XDG_VIDEOS_DIR=\"/srv/clips\"\n", nullptr, "/srv/clips"},
        UserDirsCase{"Missing", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", "Videos", nullptr},
        UserDirsCase{"Unquoted", "XDG_VIDEOS_DIR=$HOME/Filme\n", "Videos", nullptr},
        UserDirsCase{"OtherVariable", "XDG_VIDEOS_DIR=\"$HOMEWORK/x\"\n", "Videos", nullptr},
        UserDirsCase{"CrLf", "XDG_VIDEOS_DIR=\"$HOME/Clips\"\r\n", "Clips", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orlisk
