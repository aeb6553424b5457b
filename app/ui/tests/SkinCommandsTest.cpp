#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/ui/SkinCommands.h"

namespace orlisk {
namespace {

struct SkinRow {
  const char* name;
  const char* command;
};

class SkinCommandRows : public ::testing::TestWithParam<SkinRow> {};

TEST_P(SkinCommandRows, RunsItsCommandOnceAndNothingElse) {
  test::RecordingCommands commands;
  EXPECT_TRUE(SkinCommand(QString::fromLatin1(GetParam().name), commands));
  EXPECT_EQ(commands.calls, std::vector<std::string>{GetParam().command});
}

INSTANTIATE_TEST_SUITE_P(
    EveryObject, SkinCommandRows,
    ::testing::Values(SkinRow{"openvideo", "OpenVideo"}, SkinRow{"opensubtitle", "OpenSubtitleFile"},
                      SkinRow{"savesubtitle", "SaveSubtitleFile"}, SkinRow{"start", "WriteSubtitlesToVideo"},
                      SkinRow{"stop", "StopWriting"}, SkinRow{"play", "Play"}, SkinRow{"pause", "Pause"},
                      SkinRow{"playstop", "StopPlayback"}, SkinRow{"stopplay", "StopPlayback"},
                      SkinRow{"insertsubtitle", "InsertSubtitle"}, SkinRow{"setbegintime", "SetBeginTime"},
                      SkinRow{"setendtime", "SetEndTime"}, SkinRow{"remove", "RemoveSubtitle"},
                      SkinRow{"clear", "ClearSubtitles"}, SkinRow{"file", "ShowFileMenu"},
                      SkinRow{"edit", "ShowSubtitleStyle"}, SkinRow{"settings", "ShowOutputSettings"},
                      SkinRow{"tools", "OpenGiftPage"}, SkinRow{"help", "ShowHelpMenu"},
                      SkinRow{"help1", "ShowHelpTopic0"}, SkinRow{"help2", "ShowHelpTopic1"},
                      SkinRow{"help3", "ShowHelpTopic2"}, SkinRow{"help4", "ShowHelpTopic3"},
                      SkinRow{"fastback", "FastBack"}, SkinRow{"fastforward", "FastForward"},
                      SkinRow{"lvinsert", "InsertBlankSubtitle"}, SkinRow{"lvedit", "EditSubtitle"}),
    [](const auto& info) { return std::string(info.param.name); });

class IgnoredSkinNames : public ::testing::TestWithParam<const char*> {};

TEST_P(IgnoredSkinNames, DispatchNothing) {
  test::RecordingCommands commands;
  EXPECT_FALSE(SkinCommand(QString::fromUtf8(GetParam()), commands));
  EXPECT_TRUE(commands.calls.empty());
}

// The playbar and the time texts act only through their own events; names
// that differ in letter case, by a blank or by a prefix are not commands.
INSTANTIATE_TEST_SUITE_P(Names, IgnoredSkinNames,
                         ::testing::Values("playbar", "playtime", "videotime", "shpb", "skin", "", "Play",
                                           "SETBEGINTIME", "Help1", "play ", "help5", "help0", "open",
                                           "openvideo2"));

struct MenuRow {
  SkinMenu menu;
  bool chinese;
  QPoint expected;
};

TEST(SkinMenuPosition, FollowsTheWindowAndTheInterfaceLanguage) {
  const QPoint movedWindow(300, 120);
  for (const MenuRow& row : {MenuRow{SkinMenu::File, false, {327, 184}}, MenuRow{SkinMenu::File, true, {327, 184}},
                             MenuRow{SkinMenu::Help, false, {565, 184}}, MenuRow{SkinMenu::Help, true, {548, 184}}}) {
    EXPECT_EQ(SkinMenuPosition(row.menu, movedWindow, row.chinese), row.expected);
  }
  EXPECT_EQ(SkinMenuPosition(SkinMenu::File, QPoint(0, 0), false), QPoint(27, 64));
}

}  // namespace
}  // namespace orlisk
