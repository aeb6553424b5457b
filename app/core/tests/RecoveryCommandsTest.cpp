// The question at start after a run that did not end cleanly, and the restore.
#include "app/core/RecoveryCommands.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "FakeSeams.h"
#include "files/RecoveryJournal.h"

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
  std::string video = rig.file("film.avi");

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

TEST_F(Recovery, AJournalDamagedInItsBaseIsKeptAsideWithANotice) {
  const fs::path journal = leaveJournal(3);
  {
    std::fstream file(journal, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(kJournalHeaderBytes) + 8);  // the base's first byte
    file.put('\x7F');
  }
  EXPECT_FALSE(recovery.RecoverFromJournal());
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_NE(rig.messages.shown[0].text.find("damaged at its start"), std::string::npos);
  EXPECT_NE(rig.messages.shown[0].text.find(journal.string() + ".unreadable"), std::string::npos);
  EXPECT_TRUE(fs::exists(journal.string() + ".unreadable"));
}

TEST_F(Recovery, SubtitlesComeBackEvenWhenTheirVideoIsGone) {
  leaveJournal(3, kLastChange, rig.file("deleted.avi"));
  rig.messages.answers = {true};
  recovery.RecoverFromJournal();
  EXPECT_NE(rig.messages.shown[0].text.find("deleted.avi"), std::string::npos);
  EXPECT_EQ(DocumentSnapshot::Of(s.Document), Work(3));
  EXPECT_TRUE(s.VideoPath.empty());
  EXPECT_EQ(rig.reader.opens, 0);
}

// The editor's own commands, each run through the history as the window runs
// them: a video opened, then every twelfth step a subtitle inserted at a new
// play time and the others one letter typed into it.
void TypeFilm(Rig& rig, int steps, const std::function<void(int)>& afterEach = {}) {
  DocumentHistory& history = rig.controller.history();
  history.runCommand(CommandKind::UserAction, [&] { rig.openVideo(); });
  for (int step = 0; step < steps; ++step) {
    if (step % 12 == 0) {
      rig.skin.playtime = FormatSubtitleTime(1000 * step + 7);
      history.runCommand(CommandKind::UserAction, [&] { rig.controller.InsertSubtitle(); });
    } else {
      history.runCommand(CommandKind::Typing,
                         [&] { rig.memo.type(rig.memo.text() + static_cast<char>('a' + step % 26)); });
    }
    if (afterEach) afterEach(step + 1);
  }
}

// The editor killed with SIGKILL in the middle of typing: the next start
// restores every row, each with its times, text, place and style, as the
// last step that reached the journal left it.
TEST_F(Recovery, AnEditorKilledMidTypingIsRestoredRowForRow) {
  int progress[2];
  ASSERT_EQ(::pipe(progress), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(progress[0]);
    Rig editor;
    // Its temporary folder outlives it: the parent removes it.
    const std::string own = editor.folder.path().string();
    const int length = static_cast<int>(own.size());
    if (::write(progress[1], &length, sizeof length) != sizeof length ||
        ::write(progress[1], own.data(), own.size()) != static_cast<ssize_t>(own.size()))
      ::_exit(3);
    RecoveryJournal::Parts parts;
    parts.Folder = data;
    parts.VideoPath = [&editor] { return editor.state.VideoPath; };
    RecoveryJournal journal(parts);
    editor.controller.history().addObserver(journal);
    editor.controller.history().startFresh();
    TypeFilm(editor, 1 << 30, [&](int done) {
      if (::write(progress[1], &done, sizeof done) != sizeof done) ::_exit(3);
    });
    ::_exit(0);
  }
  ::close(progress[1]);
  int length = 0;
  ASSERT_EQ(::read(progress[0], &length, sizeof length), static_cast<ssize_t>(sizeof length));
  std::string childFolder(static_cast<std::size_t>(length), '\0');
  ASSERT_EQ(::read(progress[0], childFolder.data(), childFolder.size()), static_cast<ssize_t>(length));
  int reported = 0;
  while (reported < 300 && ::read(progress[0], &reported, sizeof reported) == sizeof reported) {
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  for (int done = 0; ::read(progress[0], &done, sizeof done) == sizeof done;) reported = done;
  ::close(progress[0]);
  fs::remove_all(childFolder);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_GE(reported, 300);

  rig.messages.answers = {true};
  std::optional<LeftJournal> restored = recovery.RecoverFromJournal();
  ASSERT_TRUE(restored);
  const DocumentSnapshot back = DocumentSnapshot::Of(s.Document);
  // The same steps again, in an editor that is not killed: the kill fell
  // after the last step the child reported, or during the one after it.
  auto stateAfter = [](int steps) {
    Rig again;
    TypeFilm(again, steps);
    return DocumentSnapshot::Of(again.state.Document);
  };
  const int steps = back == stateAfter(reported) ? reported : reported + 1;
  EXPECT_EQ(back, stateAfter(steps)) << "after " << reported << " reported steps";
  EXPECT_EQ(back.Rows.size(), static_cast<std::size_t>((steps + 11) / 12));
  EXPECT_GE(back.Rows.size(), 25u);
}

TEST_F(Recovery, AFailedJournalWriteTellsTheUserWhy) {
  recovery.JournalWriteFailed("Unable to write to /data/x.journal: No space left on device");
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  EXPECT_NE(rig.messages.shown[0].text.find("No space left on device"), std::string::npos);
}

}  // namespace
}  // namespace orlisk::testing
