#include "settings/Settings.h"
#include "settings/OutputSettings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(LoadSettingsTest, FirstStartWithoutFileUsesDefaultsAndCreatesNothing) {
  TempFolder folder;
  const ProfileFile settings(folder / "orlisk.ini");
  const StartupSettings loaded = LoadSettings(settings, "/home/u/Videos");

  EXPECT_EQ(loaded.OutputFolder, "/home/u/Videos");
  EXPECT_EQ(loaded.OutputMode, 0);
  EXPECT_EQ(loaded.BorderColor, 16711680u);
  EXPECT_TRUE(loaded.BorderEnabled);
  EXPECT_TRUE(loaded.AutoUpdateCheck);
  EXPECT_TRUE(loaded.FirstInsertHint);
  EXPECT_TRUE(loaded.AutoOpenOutput);
  EXPECT_FALSE(std::filesystem::exists(settings.path()));
}

TEST(LoadSettingsTest, ReadsEveryStartupKeyWhateverTheCase) {
  TempFolder folder;
  WriteBytes(folder / "orlisk.ini",
             "[output]\r\nPATH=/data/out\r\n[VIDEO]\r\nWH=1\r\n[color]\r\nBORDERCOLOR=0x0000FF\r\n"
             "bborder=0\r\n[update]\r\nbool=0\r\n[FirstInsertSubtitle]\r\nBool=0\r\n"
             "[orlisk]\r\nAutoOpen=0\r\n");
  const StartupSettings loaded = LoadSettings(ProfileFile(folder / "orlisk.ini"), "/unused");

  EXPECT_EQ(loaded.OutputFolder, "/data/out");
  EXPECT_EQ(loaded.OutputMode, 1);
  EXPECT_EQ(loaded.BorderColor, 255u);
  EXPECT_FALSE(loaded.BorderEnabled);
  EXPECT_FALSE(loaded.AutoUpdateCheck);
  EXPECT_FALSE(loaded.FirstInsertHint);
  EXPECT_FALSE(loaded.AutoOpenOutput);
}

TEST(LoadSettingsTest, UnreadableValuesFallBackToTheirDefaults) {
  TempFolder folder;
  WriteBytes(folder / "orlisk.ini",
             "[Video]\nwh=custom\n[Color]\nborderColor=\nBborder=yes\n[Update]\nBool=on\n");
  const StartupSettings loaded = LoadSettings(ProfileFile(folder / "orlisk.ini"), "/v");

  EXPECT_EQ(loaded.OutputMode, 0);
  EXPECT_EQ(loaded.BorderColor, 16711680u);
  EXPECT_TRUE(loaded.BorderEnabled);
  EXPECT_TRUE(loaded.AutoUpdateCheck);
}

TEST(LoadSettingsTest, ColourWrittenAsSignedDecimalReadsBack) {
  TempFolder folder;
  ProfileFile settings(folder / "orlisk.ini");
  settings.writeInteger("Color", "borderColor", static_cast<std::int32_t>(0xFF0000u));
  EXPECT_EQ(settings.readString("Color", "borderColor", ""), "16711680");
  EXPECT_EQ(LoadSettings(settings, "/v").BorderColor, 0xFF0000u);
}

TEST(OutputSettingKeysTest, OneTableGivesBothDefaultsAndWhatTheDialogStores) {
  TempFolder folder;
  ProfileFile settings(folder / "orlisk.ini");
  // Missing keys: a write job's defaults are the value type's own; the dialog
  // starts two frame-rate lists on other rows.
  EXPECT_EQ(ReadOutputSettings(settings), OutputSettings{});
  const OutputSettings shown = ReadShownOutputSettings(settings);
  EXPECT_EQ(shown.AviFrameRate, 3);
  EXPECT_EQ(shown.MpegFrameRate, 0);
  EXPECT_EQ(ShownOutputDefaults(), shown);

  OutputSettings chosen;
  for (const OutputSettingKey& key : kOutputSettingKeys) chosen.*key.Value = 7;
  WriteDialogOutputSettings(settings, chosen);
  OutputSettings read = ReadOutputSettings(settings);
  EXPECT_EQ(read.RmProfile, OutputSettings{}.RmProfile);  // the dialog has no RM list
  read.RmProfile = 7;
  EXPECT_EQ(read, chosen);
}

}  // namespace
}  // namespace orlisk
