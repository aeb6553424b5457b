#include "settings/ReactionDelay.h"

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

TEST(ReactionDelayTest, ReadsTheStoredDelayBoundedAndTreatsAnythingElseAsZero) {
  struct Row {
    const char* file;
    std::int32_t expected;
  };
  const Row rows[] = {
      {"", 0},                                            // no file at all
      {"[Timing]\r\nOther=5\r\n", 0},                     // no key
      {"[Timing]\r\nReactionDelay=300\r\n", 300},
      {"[timing]\r\nREACTIONDELAY=0x64\r\n", 100},        // any case, hexadecimal as every integer
      {"[Timing]\r\nReactionDelay=\r\n", 0},
      {"[Timing]\r\nReactionDelay=fast\r\n", 0},
      {"[Timing]\r\nReactionDelay=250ms\r\n", 0},
      {"[Timing]\r\nReactionDelay=-200\r\n", 0},
      {"[Timing]\r\nReactionDelay=2000\r\n", 2000},
      {"[Timing]\r\nReactionDelay=2001\r\n", 2000},
      {"[Timing]\r\nReactionDelay=99999999999999\r\n", 0},  // beyond 32 bits: not a number
      {"[Timing]\r\nReactionDelay=2147483647\r\n", 2000},
  };
  for (const Row& row : rows) {
    TempFolder folder;
    if (*row.file) WriteBytes(folder / "orlisk.ini", row.file);
    EXPECT_EQ(ReadReactionDelay(ProfileFile(folder / "orlisk.ini")), row.expected) << row.file;
  }
}

TEST(ReactionDelayTest, WritesTheDelayBoundedAndReadsItBack) {
  TempFolder folder;
  ProfileFile settings(folder / "orlisk.ini");
  WriteReactionDelay(settings, 450);
  EXPECT_EQ(settings.readString("Timing", "ReactionDelay", ""), "450");
  WriteReactionDelay(settings, -5);
  EXPECT_EQ(ReadReactionDelay(settings), 0);
  WriteReactionDelay(settings, 60000);
  EXPECT_EQ(settings.readString("Timing", "ReactionDelay", ""), "2000");
}

TEST(ReactionDelayTest, StampsAreTakenEarlierButNeverBeforeZero) {
  struct Row {
    SubtitleTime pressedAt;
    std::int32_t delay;
    SubtitleTime expected;
  };
  const Row rows[] = {
      {62500, 0, 62500},      // no delay: the stamp as pressed
      {62500, 300, 62200},
      {300, 300, 0},
      {120, 300, 0},          // pressed near the start: held at 0
      {0, 300, 0},
      {62500, -100, 62500},   // a negative delay is no delay
      {62500, 100000, 60500}, // bounded even when handed in unbounded
      {-40, 300, -40},        // a time already before 0 is left alone
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CompensateReaction(row.pressedAt, row.delay), row.expected)
        << row.pressedAt << " - " << row.delay;
  }
}

}  // namespace
}  // namespace orlisk
