#include "settings/CheckLimitsSettings.h"

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(CheckLimitsSettingsTest, ReadsPositiveLimitsAndKeepsTheUsualOnesOtherwise) {
  TempFolder folder;
  WriteBytes(folder / "orlisk.ini",
             "[Checks]\r\nMinDuration=1000\r\nMaxDuration=0\r\nMinGapFrames=-3\r\nMaxCharsPerSecond=fast\r\n"
             "MaxLineLength=37\r\nmaxlinelengthcjk=20\r\n");
  CheckLimits expected;
  expected.MinDuration = 1000;
  expected.MaxLineLength = 37;
  expected.MaxLineLengthCJK = 20;
  EXPECT_EQ(LoadCheckLimits(ProfileFile(folder / "orlisk.ini")), expected);
  EXPECT_EQ(LoadCheckLimits(ProfileFile(folder / "none.ini")), CheckLimits{});
}

}  // namespace
}  // namespace orlisk
