#include "settings/SoftSubtitleSetting.h"

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(SoftSubtitleSettingTest, ReadsTheStoredChoiceAndAnythingElseAsBurningIntoMkv) {
  struct Row {
    const char* file;
    SoftSubtitleSetting expected;
  };
  const Row rows[] = {
      {"", {false, 0}},
      {"[SoftSubtitles]\r\nTrack=1\r\nContainer=1\r\n", {true, 1}},
      {"[SoftSubtitles]\r\nTrack=1\r\n", {true, 0}},
      {"[SoftSubtitles]\r\nTrack=2\r\nContainer=7\r\n", {false, 0}},
      {"[SoftSubtitles]\r\nTrack=yes\r\nContainer=-1\r\n", {false, 0}},
  };
  for (const Row& row : rows) {
    TempFolder folder;
    if (*row.file) WriteBytes(folder / "orlisk.ini", row.file);
    EXPECT_EQ(ReadSoftSubtitleSetting(ProfileFile(folder / "orlisk.ini")), row.expected) << row.file;
  }
}

TEST(SoftSubtitleSettingTest, WritesTheChoiceAndReadsItBack) {
  TempFolder folder;
  ProfileFile file(folder / "orlisk.ini");
  WriteSoftSubtitleSetting(file, {.AddAsTrack = true, .Container = 1});
  EXPECT_EQ(ReadSoftSubtitleSetting(file), (SoftSubtitleSetting{true, 1}));
}

}  // namespace
}  // namespace orlisk
