#include "settings/SubtitleBackdrop.h"

#include <gtest/gtest.h>

#include "settings/Settings.h"
#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

using testing::TempFolder;
using testing::WriteBytes;
using Kind = SubtitleBackdrop::Kind;

TEST(SubtitleBackdropTest, ReadsTheStoredChoiceAndAnythingElseAsNothingBehindTheText) {
  struct Row {
    const char* file;
    SubtitleBackdrop expected;
  };
  const Row rows[] = {
      {"", {Kind::None, 60}},  // no file: as before there was a choice
      {"[Color]\r\nborderColor=255\r\n", {Kind::None, 60}},
      {"[Color]\r\nBackdrop=1\r\n", {Kind::Shadow, 60}},
      {"[color]\r\nBACKDROP=2\r\nbackdropopacity=35\r\n", {Kind::Box, 35}},
      {"[Color]\r\nBackdrop=3\r\nBackdropOpacity=100\r\n", {Kind::None, 100}},
      {"[Color]\r\nBackdrop=-1\r\n", {Kind::None, 60}},
      {"[Color]\r\nBackdrop=box\r\nBackdropOpacity=half\r\n", {Kind::None, 60}},
      {"[Color]\r\nBackdrop=2\r\nBackdropOpacity=0\r\n", {Kind::Box, kMinBackdropOpacity}},
      {"[Color]\r\nBackdrop=2\r\nBackdropOpacity=250\r\n", {Kind::Box, 100}},
  };
  for (const Row& row : rows) {
    TempFolder folder;
    if (*row.file) WriteBytes(folder / "orlisk.ini", row.file);
    const ProfileFile settings(folder / "orlisk.ini");
    EXPECT_EQ(ReadSubtitleBackdrop(settings), row.expected) << row.file;
    EXPECT_EQ(LoadSettings(settings, "/v").Backdrop, row.expected) << row.file;
  }
}

TEST(SubtitleBackdropTest, WritesBothKeysBesideTheOutlineAndReadsThemBack) {
  TempFolder folder;
  WriteBytes(folder / "orlisk.ini", "[Color]\r\nborderColor=255\r\nBborder=0\r\n");
  ProfileFile settings(folder / "orlisk.ini");
  const SubtitleBackdrop written[] = {{Kind::Box, 75}, {Kind::Shadow, 100}, {Kind::None, 60}, {Kind::Box, 3}};
  const SubtitleBackdrop read[] = {{Kind::Box, 75}, {Kind::Shadow, 100}, {Kind::None, 60},
                                   {Kind::Box, kMinBackdropOpacity}};
  for (std::size_t i = 0; i < std::size(written); ++i) {
    WriteSubtitleBackdrop(settings, written[i]);
    EXPECT_EQ(ReadSubtitleBackdrop(settings), read[i]) << i;
  }
  EXPECT_EQ(settings.readString("Color", "Backdrop", ""), "2");
  EXPECT_EQ(settings.readString("Color", "BackdropOpacity", ""), std::to_string(kMinBackdropOpacity));
  // The outline's keys stay as they were.
  EXPECT_EQ(settings.readString("Color", "borderColor", ""), "255");
  EXPECT_EQ(settings.readString("Color", "Bborder", ""), "0");
}

}  // namespace
}  // namespace orlisk
