#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "FakeSeams.h"

namespace orlisk::testing {
namespace {

TEST(ParseSubtitleTime, ReadsFixedColumnsAndReportsMalformedText) {
  struct Row {
    const char* text;
    SubtitleTime ms;
    bool message;
  };
  for (Row row : {Row{"01:02:03,004", 3723004, false}, Row{"01x02y03z004", 3723004, false},
                  Row{"00:75:00,000", 4500000, false}, Row{"00:00:00", 0, true},
                  Row{" 01:02:03,004", 0, true}, Row{"", 0, true}}) {
    Rig r;
    EXPECT_EQ(r.controller.basics().ParseSubtitleTime(row.text), row.ms) << row.text;
    EXPECT_EQ(!r.messages.shown.empty(), row.message) << row.text;
    if (row.message) {
      EXPECT_EQ(r.lastMessage(), "Subtitle time errors");
    }
  }
}

std::string IniText(const Rig& r) {
  std::ifstream in(r.folder.path() / "orlisk.ini", std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(FormCloseQuery, WithNoVideoOnlyTheUpdateSwitchIsWritten) {
  Rig r;
  r.state.AutoUpdateCheck = false;
  EXPECT_TRUE(r.controller.FormCloseQuery());
  EXPECT_EQ(r.reader.closes, 0);
  EXPECT_TRUE(r.messages.shown.empty());
  std::string ini = IniText(r);
  EXPECT_NE(ini.find("[Update]"), std::string::npos);
  EXPECT_NE(ini.find("Bool=0"), std::string::npos);
  EXPECT_EQ(std::count(ini.begin(), ini.end(), '='), 1);
}

TEST(FormCloseQuery, StopsPlaybackAndClosesTheVideo) {
  Rig r;
  r.openVideo();
  r.controller.Play();
  EXPECT_TRUE(r.controller.FormCloseQuery());
  EXPECT_FALSE(r.state.IsPlaying);
  EXPECT_FALSE(r.timer.active);
  EXPECT_EQ(r.reader.closes, 1);
}

TEST(FormCloseQuery, WhilePausedTheVideoIsClosedWithoutAStop) {
  Rig r;
  r.openVideo();
  r.controller.Play();
  r.controller.Pause();
  auto clears = r.view.clears;
  EXPECT_TRUE(r.controller.FormCloseQuery());
  EXPECT_EQ(r.view.clears, clears);
  EXPECT_EQ(r.reader.closes, 1);
}

TEST(FormCloseQuery, DuringAWriteAsksAndNoKeepsEverything) {
  Rig r;
  r.openVideo();
  r.state.IsWriting = true;
  r.messages.answers = {false};
  EXPECT_FALSE(r.controller.FormCloseQuery());
  EXPECT_EQ(r.lastMessage(), "Close will stop writing, it closed?");
  EXPECT_EQ(r.messages.shown.back().kind, "question");
  EXPECT_TRUE(r.state.IsWriting);
  EXPECT_EQ(r.reader.closes, 0);
  EXPECT_NE(IniText(r).find("[Update]"), std::string::npos);
}

TEST(FormCloseQuery, DuringAWriteYesEndsTheJobAndCloses) {
  Rig r;
  r.openVideo();
  r.state.IsWriting = true;
  r.messages.answers = {true};
  EXPECT_TRUE(r.controller.FormCloseQuery());
  EXPECT_FALSE(r.state.IsWriting);
  EXPECT_EQ(r.reader.closes, 1);
}

TEST(StopWriting, AsksOnlyWhileWritingAndOnlyYesEndsTheJob) {
  Rig r;
  r.controller.StopWriting();
  EXPECT_TRUE(r.messages.shown.empty());

  r.state.IsWriting = true;
  r.messages.answers = {false, true};
  r.controller.StopWriting();
  EXPECT_EQ(r.messages.shown.back().kind, "question");
  EXPECT_TRUE(r.state.IsWriting);
  r.controller.StopWriting();
  EXPECT_FALSE(r.state.IsWriting);
  EXPECT_EQ(r.messages.shown.size(), 2u);
}

struct Closing : ::testing::Test {
  Rig r;
  void SetUp() override {
    r.state.FirstInsertHint = false;
    r.openVideo();
    r.controller.InsertSubtitle();
    r.memo.type("unsaved work");
  }
};

TEST_F(Closing, UnsavedSubtitlesAskAndCancelKeepsTheWindowAndTheVideo) {
  r.messages.saveAnswers = {MessageBoxes::SaveAnswer::Cancel};
  EXPECT_FALSE(r.controller.FormCloseQuery());
  EXPECT_EQ(r.messages.shown.back().kind, "save question");
  EXPECT_EQ(r.lastMessage(), "The subtitles have changed since they were last saved. Save them before closing?");
  EXPECT_EQ(r.reader.closes, 0);
  EXPECT_EQ(r.state.Document.rowCount(), 1);
}

TEST_F(Closing, NoLetsTheSubtitlesGo) {
  r.messages.saveAnswers = {MessageBoxes::SaveAnswer::Discard};
  EXPECT_TRUE(r.controller.FormCloseQuery());
  EXPECT_EQ(r.reader.closes, 1);
}

TEST_F(Closing, YesClosesOnlyOnceTheSaveSucceeded) {
  r.messages.saveAnswers = {MessageBoxes::SaveAnswer::Save, MessageBoxes::SaveAnswer::Save};
  r.dialogs.nextSave = std::nullopt;  // the save dialog is cancelled
  EXPECT_FALSE(r.controller.FormCloseQuery());
  EXPECT_FALSE(fs::exists(r.file("work.srt")));
  r.dialogs.nextSave = r.file("work");
  EXPECT_TRUE(r.controller.FormCloseQuery());
  EXPECT_TRUE(fs::exists(r.file("work.srt")));
}

TEST_F(Closing, SavedOrReadSubtitlesCloseWithoutAQuestion) {
  r.dialogs.nextSave = r.file("work");
  ASSERT_TRUE(r.controller.SaveSubtitleFile());
  r.messages.shown.clear();
  EXPECT_TRUE(r.controller.FormCloseQuery());
  EXPECT_TRUE(r.messages.shown.empty());

  Rig fresh;  // a new, empty list loses nothing either
  EXPECT_TRUE(fresh.controller.FormCloseQuery());
  EXPECT_TRUE(fresh.messages.shown.empty());
}

TEST_F(Closing, YesSavesAListWithAFileToThatFileWithoutADialog) {
  r.dialogs.nextSave = r.file("work");
  ASSERT_TRUE(r.controller.SaveSubtitleFile());
  r.memo.type("more work");
  r.messages.saveAnswers = {MessageBoxes::SaveAnswer::Save};
  r.dialogs.nextSave = r.file("second");  // what a dialog would be answered
  EXPECT_TRUE(r.controller.FormCloseQuery());
  EXPECT_EQ(r.dialogs.proposedNames.size(), 1u);
  EXPECT_FALSE(fs::exists(r.file("second.srt")));
  std::ifstream saved(r.file("work.srt"), std::ios::binary);
  EXPECT_NE(std::string(std::istreambuf_iterator<char>(saved), {}).find("more work"), std::string::npos);
}

// Nothing to lose: the empty list a saved one left behind when another video
// opened is replaced and closed without a question.
TEST_F(Closing, AnEmptyListNeverAsks) {
  r.dialogs.nextSave = r.file("work");
  ASSERT_TRUE(r.controller.SaveSubtitleFile());
  r.openVideo("second.avi");
  r.messages.shown.clear();
  r.openVideo("third.avi");
  EXPECT_TRUE(r.messages.shown.empty());
  EXPECT_TRUE(r.controller.FormCloseQuery());
  EXPECT_TRUE(r.messages.shown.empty());
}

TEST_F(Closing, ASettingsFileThatCannotBeWrittenDoesNotKeepTheEditorOpen) {
  r.messages.saveAnswers = {MessageBoxes::SaveAnswer::Discard};
  fs::remove(r.folder.path() / "orlisk.ini");
  fs::create_symlink(r.folder.path() / "missing" / "orlisk.ini", r.folder.path() / "orlisk.ini");
  EXPECT_TRUE(r.controller.FormCloseQuery());
}

// Opening a video or a subtitle file replaces the list with a fresh history,
// so unsaved subtitles are offered for saving first, as on closing.
struct Replacing : Closing {
  static constexpr const char* kQuestion =
      "The subtitles have changed since they were last saved. Save them before the list is replaced?";
  void openSubtitles() {
    const fs::path file = r.file("other.srt");
    std::ofstream(file, std::ios::binary) << "1\r\n00:00:01,000 --> 00:00:02,000\r\nread\r\n\r\n";
    r.dialogs.nextSubtitle = file.string();
    r.controller.OpenSubtitleFile();
  }
};

TEST_F(Replacing, CancelKeepsTheListAndOpensNoDialog) {
  for (bool video : {true, false}) {
    SCOPED_TRACE(video ? "video" : "subtitle file");
    r.messages.saveAnswers = {MessageBoxes::SaveAnswer::Cancel};
    const std::size_t dialogsBefore = r.dialogs.startFolders.size();
    video ? r.openVideo("next.avi") : openSubtitles();
    EXPECT_EQ(r.lastMessage(), kQuestion);
    EXPECT_EQ(r.dialogs.startFolders.size(), dialogsBefore);
    ASSERT_EQ(r.state.Document.rowCount(), 1);
    EXPECT_EQ(r.state.Document.row(0).Subtitle, "unsaved work");
  }
}

TEST_F(Replacing, DiscardOpensAndSaveOpensOnlyOnceSaved) {
  r.messages.saveAnswers = {MessageBoxes::SaveAnswer::Save};
  r.dialogs.nextSave = r.file("work");
  openSubtitles();
  EXPECT_TRUE(fs::exists(r.file("work.srt")));
  ASSERT_EQ(r.state.Document.rowCount(), 1);
  EXPECT_EQ(r.state.Document.row(0).Subtitle, "read");

  r.controller.InsertSubtitle();
  r.memo.type("more work");
  r.messages.saveAnswers = {MessageBoxes::SaveAnswer::Discard};
  r.openVideo("next.avi");
  EXPECT_EQ(r.messages.shown.back().text, kQuestion);
  EXPECT_EQ(r.state.Document.rowCount(), 0);
}

TEST_F(Replacing, SavedSubtitlesAreReplacedWithoutAQuestion) {
  r.dialogs.nextSave = r.file("work");
  ASSERT_TRUE(r.controller.SaveSubtitleFile());
  r.messages.shown.clear();
  openSubtitles();
  EXPECT_TRUE(r.messages.shown.empty());
  EXPECT_EQ(r.state.Document.row(0).Subtitle, "read");
}

}  // namespace
}  // namespace orlisk::testing
