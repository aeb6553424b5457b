// The question at start after a run that did not end cleanly, and the restore.
#include "app/core/RecoveryCommands.h"

#include <gtest/gtest.h>

#include <fstream>

#include "FakeSeams.h"
#include "settings/RecoveryJournal.h"

namespace orlisk::testing {
namespace {

// 2026-12-08 01:55:07 UTC.
constexpr std::int64_t kLastChange = 1796694907000;

struct Recovery : ::testing::Test {
  Rig rig;
  MainState& s = rig.state;
  RecoveryCommands recovery{{.Basics = rig.controller.basics(),
                             .History = rig.controller.history(),
                             .List = rig.list,
                             .Playback = rig.controller.playback()}};
  fs::path data = rig.Paths().DataFolder;
  std::string video = rig.folder.file("film.avi");

  void SetUp() override {
    std::ofstream(video) << "a video";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }

  static DocumentSnapshot Work(int count) {
    DocumentSnapshot list;
    for (int i = 0; i < count; ++i) {
      list.Rows.push_back({TimeRangeText(1000 * i, 1000 * i + 800), "Line " + std::to_string(i) + "\r\nsecond"});
      SubtitleEntry entry;
      entry.Place = {30 + i, 170 - i, 200};
      entry.Text = list.Rows.back().Subtitle;
      entry.Tag = i + 1;
      entry.BorderColor = 0x0000FF;
      entry.TextColor = 0x00FF00;
      entry.Font = 0xABCDEF;
      entry.Border = i % 2 == 1;
      entry.BeginTime = 1000 * i;
      entry.EndTime = 1000 * i + 800;
      list.Entries.push_back(entry);
    }
    return list;
  }

  // A run that typed `count` subtitles over `video` and was then killed.
  fs::path leaveJournal(int count, std::int64_t at = kLastChange, const std::string& ofVideo = "") {
    RecoveryJournal::Parts parts;
    parts.Folder = data;
    parts.VideoPath = [&] { return ofVideo.empty() ? video : ofVideo; };
    parts.Clock = [at] { return at; };
    RecoveryJournal journal(parts);
    journal.historyStarted({});
    for (int i = 0; i < count; ++i) journal.documentChanged(*SpliceBetween(Work(i), Work(i + 1)), Work(i + 1));
    return journal.path();
  }
  std::size_t filesInData() const {
    std::size_t n = 0;
    for (const auto& item : fs::directory_iterator(data)) n += item.is_regular_file() ? 1 : 0;
    return n;
  }
};

TEST_F(Recovery, YesRestoresTheSubtitlesExactlyAndOpensTheirVideo) {
  const fs::path journal = leaveJournal(12);
  rig.messages.answers = {true};
  std::optional<LeftJournal> restored = recovery.RecoverFromJournal();

  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].kind, "question");
  EXPECT_EQ(rig.messages.shown[0].text,
            "The editor did not close properly last time. Restore the subtitles you were working on?\n\n"
            "Video: " + video + "\nLast change: 2026-12-08 01:55:07\nSubtitles: 12");
  EXPECT_EQ(DocumentSnapshot::Of(s.Document), Work(12));
  EXPECT_EQ(s.VideoPath, video);
  EXPECT_EQ(rig.reader.opens, 1);
  EXPECT_TRUE(s.Document.hasUnsavedChanges());  // closing offers to save it
  EXPECT_EQ(s.SubtitleCursor, 12);
  EXPECT_FALSE(rig.controller.history().canUndo());  // the restore is the history's start
  // Kept until this run's own journal holds the list.
  ASSERT_TRUE(restored);
  EXPECT_TRUE(fs::exists(journal));
  restored->remove();
  EXPECT_FALSE(fs::exists(journal));
}

TEST_F(Recovery, NoRemovesTheJournalAndLeavesTheListAlone) {
  leaveJournal(3);
  rig.messages.answers = {false};
  EXPECT_FALSE(recovery.RecoverFromJournal());
  EXPECT_EQ(s.Document.rowCount(), 0);
  EXPECT_EQ(rig.reader.opens, 0);
  EXPECT_EQ(filesInData(), 0u);
}

TEST_F(Recovery, AJournalWithNothingUnsavedIsRemovedWithoutAQuestion) {
  {
    RecoveryJournal::Parts parts;
    parts.Folder = data;
    RecoveryJournal journal(parts);
    journal.historyStarted({});
    journal.documentChanged(*SpliceBetween({}, Work(4)), Work(4));
    journal.documentSaved(Work(4));
  }
  EXPECT_FALSE(recovery.RecoverFromJournal());
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(filesInData(), 0u);
}

TEST_F(Recovery, TheNewestJournalIsOfferedAndAnOlderOneWaitsForTheNextStart) {
  leaveJournal(2, kLastChange - 60000);
  leaveJournal(5, kLastChange);
  rig.messages.answers = {true};
  std::optional<LeftJournal> restored = recovery.RecoverFromJournal();
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(s.Document.rowCount(), 5);
  restored->remove();
  restored.reset();
  EXPECT_EQ(filesInData(), 1u);

  rig.messages.answers = {false};
  EXPECT_FALSE(recovery.RecoverFromJournal());
  EXPECT_EQ(rig.messages.shown.size(), 2u);
  EXPECT_NE(rig.messages.shown[1].text.find("Subtitles: 2"), std::string::npos);
  EXPECT_EQ(filesInData(), 0u);
}

TEST_F(Recovery, ADamagedJournalSaysSoAndRestoresWhatCameBeforeTheDamage) {
  const fs::path journal = leaveJournal(6);
  fs::resize_file(journal, fs::file_size(journal) - 3);  // the last record cut short
  rig.messages.answers = {true};
  recovery.RecoverFromJournal();
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_NE(rig.messages.shown[0].text.find("Subtitles: 5\n\nThe end of the journal is damaged"), std::string::npos);
  EXPECT_EQ(DocumentSnapshot::Of(s.Document), Work(5));
}

TEST_F(Recovery, AJournalFromANewerEditorIsKeptAndNamedNeverRead) {
  fs::create_directories(data);
  std::ofstream(data / "recovery-42-abc.journal", std::ios::binary)
      << std::string("ORLSKJNL\x09\0\0\0", 12) << "what a later version writes";
  EXPECT_FALSE(recovery.RecoverFromJournal());
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_EQ(rig.messages.shown[0].kind, "information");
  EXPECT_NE(rig.messages.shown[0].text.find("newer version"), std::string::npos);
  EXPECT_NE(rig.messages.shown[0].text.find((data / "recovery-42-abc.journal.unreadable").string()),
            std::string::npos);
  EXPECT_TRUE(fs::exists(data / "recovery-42-abc.journal.unreadable"));
  EXPECT_EQ(s.Document.rowCount(), 0);
  // Set aside, it is not brought up again.
  EXPECT_FALSE(recovery.RecoverFromJournal());
  EXPECT_EQ(rig.messages.shown.size(), 1u);
}

TEST_F(Recovery, SubtitlesComeBackEvenWhenTheirVideoIsGone) {
  leaveJournal(3, kLastChange, rig.folder.file("deleted.avi"));
  rig.messages.answers = {true};
  recovery.RecoverFromJournal();
  EXPECT_NE(rig.messages.shown[0].text.find("deleted.avi"), std::string::npos);
  EXPECT_EQ(DocumentSnapshot::Of(s.Document), Work(3));
  EXPECT_TRUE(s.VideoPath.empty());
  EXPECT_EQ(rig.reader.opens, 0);
}

TEST_F(Recovery, AFailedJournalWriteTellsTheUserWhy) {
  recovery.JournalWriteFailed("Unable to write to /data/x.journal: No space left on device");
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_NE(rig.messages.shown[0].text.find("No space left on device"), std::string::npos);
}

}  // namespace
}  // namespace orlisk::testing
