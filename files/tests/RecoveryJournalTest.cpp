// The recovery journal on disk: written while the user works, found and read
// back after a run that was killed, left alone while its editor lives.
#include "files/RecoveryJournal.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "files/LeftJournals.h"
#include "tests/support/TempFolder.h"

namespace orlisk::testing {
namespace {

namespace fs = std::filesystem;

// The list after `keystrokes` keystrokes of a scripted typist: each subtitle
// gets a line typed letter by letter, then the next one is inserted.
DocumentSnapshot TypedList(int keystrokes) {
  static const std::string kLine = "The quick brown fox";
  DocumentSnapshot list;
  int left = keystrokes;
  for (int row = 0; left > 0; ++row) {
    --left;  // the insert
    const int letters = std::min<int>(left, static_cast<int>(kLine.size()));
    left -= letters;
    const std::string text = kLine.substr(0, static_cast<std::size_t>(letters));
    list.Rows.push_back({"00:00:" + std::to_string(10 + row) + ",000 --> 00:00:00,000", text});
    SubtitleEntry entry;
    entry.Place = {10 + row, 300, 240};
    entry.Text = text;
    entry.TextColor = 0x00FFFFFF;
    entry.BorderColor = static_cast<Colour>(row);
    entry.Border = true;
    entry.BeginTime = 10000 + 1000 * row;
    list.Entries.push_back(entry);
  }
  return list;
}

RecoveryJournal::Parts PartsIn(const fs::path& folder) {
  RecoveryJournal::Parts parts;
  parts.Folder = folder;
  parts.VideoPath = [] { return std::string("/v/film.avi"); };
  return parts;
}

// Types `keystrokes` changes into a journal as the editor would report them.
void Type(RecoveryJournal& journal, int from, int to) {
  for (int k = from; k < to; ++k) {
    const DocumentSnapshot before = TypedList(k), after = TypedList(k + 1);
    journal.documentChanged(*SpliceBetween(before, after), after);
  }
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& item : fs::directory_iterator(folder)) files.push_back(item.path().filename());
  return files;
}

// The editor killed with SIGKILL while typing: the journal it left gives back
// every row it had, down to the last keystroke that reached the journal.
TEST(RecoveryJournalTest, AJournalLeftByAKilledTypistRestoresEveryRow) {
  TempFolder folder("journal");
  int progress[2];
  ASSERT_EQ(::pipe(progress), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(progress[0]);
    RecoveryJournal journal(PartsIn(folder.path()));
    journal.historyStarted({});
    for (int k = 0;; ++k) {
      Type(journal, k, k + 1);
      const int done = k + 1;
      if (::write(progress[1], &done, sizeof done) != sizeof done) ::_exit(3);
    }
  }
  ::close(progress[1]);
  int reported = 0;
  while (reported < 400) {
    if (::read(progress[0], &reported, sizeof reported) != sizeof reported) break;
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  // The reports the child made before it died: the last one is the last
  // keystroke it knew to be in the journal.
  for (int done = 0; ::read(progress[0], &done, sizeof done) == sizeof done;) reported = done;
  ::close(progress[0]);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_GE(reported, 400);

  std::vector<LeftJournal> left = ClaimLeftJournals(folder.path());
  ASSERT_EQ(left.size(), 1u);
  const JournalContents& read = left[0].contents();
  EXPECT_TRUE(read.HoldsUnsavedWork);
  EXPECT_EQ(read.VideoPath, "/v/film.avi");
  // The kill lands after the last report or in the middle of the next
  // keystroke: the list is the reported one or the one after it.
  const DocumentSnapshot& restored = read.Subtitles;
  ASSERT_FALSE(restored.Rows.empty());
  const int keystrokes = 20 * static_cast<int>(restored.Rows.size() - 1) + 1 +
                         static_cast<int>(restored.Rows.back().Subtitle.size());
  EXPECT_TRUE(keystrokes == reported || keystrokes == reported + 1) << keystrokes << " of " << reported;
  EXPECT_EQ(restored, TypedList(keystrokes));
  EXPECT_GE(read.Subtitles.Rows.size(), 20u);
}

TEST(RecoveryJournalTest, ALivingEditorsJournalIsNeverClaimed) {
  TempFolder folder("journal");
  RecoveryJournal journal(PartsIn(folder.path()));
  journal.historyStarted(TypedList(30));
  EXPECT_TRUE(ClaimLeftJournals(folder.path()).empty());
}

TEST(RecoveryJournalTest, AJournalIsClaimedByOneStartOnly) {
  TempFolder folder("journal");
  {
    RecoveryJournal journal(PartsIn(folder.path()));
    journal.historyStarted(TypedList(30));
  }  // ends without a clean close
  std::vector<LeftJournal> first = ClaimLeftJournals(folder.path());
  ASSERT_EQ(first.size(), 1u);
  EXPECT_TRUE(ClaimLeftJournals(folder.path()).empty());  // a second editor starting meanwhile
  first.clear();
  EXPECT_EQ(ClaimLeftJournals(folder.path()).size(), 1u);
}

TEST(RecoveryJournalTest, ACleanCloseRemovesTheJournal) {
  TempFolder folder("journal");
  RecoveryJournal journal(PartsIn(folder.path()));
  journal.historyStarted({});
  Type(journal, 0, 10);
  journal.closeCleanly();
  EXPECT_TRUE(FilesIn(folder.path()).empty());
}

TEST(RecoveryJournalTest, ASaveDropsTheOlderRecordsAndLeavesNothingToRestore) {
  TempFolder folder("journal");
  {
    RecoveryJournal journal(PartsIn(folder.path()));
    journal.historyStarted({});
    Type(journal, 0, 50);
    journal.documentSaved(TypedList(50));
    EXPECT_EQ(fs::file_size(journal.path()),
              kJournalHeaderBytes + EncodeJournalBase(TypedList(50), "/v/film.avi", JournalBaseKind::Saved,
                                                      0).size());
  }
  std::vector<LeftJournal> left = ClaimLeftJournals(folder.path());
  ASSERT_EQ(left.size(), 1u);
  EXPECT_FALSE(left[0].contents().HoldsUnsavedWork);
  EXPECT_EQ(left[0].contents().Subtitles, TypedList(50));
}

TEST(RecoveryJournalTest, ALongSessionIsRewrittenAsOneBaseAndStaysSmall) {
  TempFolder folder("journal");
  RecoveryJournal::Parts parts = PartsIn(folder.path());
  parts.CompactAfterBytes = 4096;
  {
    RecoveryJournal journal(parts);
    journal.historyStarted({});
    Type(journal, 0, 600);
    EXPECT_LT(fs::file_size(journal.path()), 3 * 4096 + 2 * EncodeJournalBase(TypedList(600), "", {}, 0).size());
  }
  std::vector<LeftJournal> left = ClaimLeftJournals(folder.path());
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].contents().Status, JournalReadStatus::Complete);
  EXPECT_EQ(left[0].contents().Subtitles, TypedList(600));
}

// A journal that cannot be rewritten (here a folder squats on the name the
// rewrite uses) reports once, keeps the editor going, and is whole again at
// the first change after the obstacle went.
TEST(RecoveryJournalTest, AFailedWriteIsReportedOnceAndMendedByTheNextChange) {
  TempFolder folder("journal");
  std::vector<std::string> reports;
  RecoveryJournal::Parts parts = PartsIn(folder.path());
  parts.WriteFailed = [&reports](const std::string& message) { reports.push_back(message); };
  {
    RecoveryJournal journal(parts);
    const fs::path squatter = journal.path().string() + ".new";
    fs::create_directory(squatter);
    journal.historyStarted(TypedList(5));
    Type(journal, 5, 9);
    EXPECT_FALSE(journal.healthy());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Unable to write to"), std::string::npos);
    fs::remove(squatter);
    Type(journal, 9, 12);
    EXPECT_TRUE(journal.healthy());
  }
  std::vector<LeftJournal> left = ClaimLeftJournals(folder.path());
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].contents().Subtitles, TypedList(12));
}

TEST(RecoveryJournalTest, LeftJournalsComeNewestFirstAndUnreadableOnesAreSetAside) {
  TempFolder folder("journal");
  std::int64_t now = 1000;
  RecoveryJournal::Parts parts = PartsIn(folder.path());
  parts.Clock = [&now] { return now; };
  for (int run = 0; run < 3; ++run) {
    now = 1000 * (run == 1 ? 9 : run + 1);
    RecoveryJournal journal(parts);
    journal.historyStarted(TypedList(run + 1));
  }
  WriteBytes(folder / "recovery-1-future.journal", std::string("ORLSKJNL\x07\0\0\0", 12) + "later format");
  std::vector<LeftJournal> left = ClaimLeftJournals(folder.path());
  ASSERT_EQ(left.size(), 4u);
  EXPECT_EQ(left[0].contents().LastChangeMs, 9000);
  EXPECT_EQ(left[1].contents().LastChangeMs, 3000);
  EXPECT_EQ(left[2].contents().LastChangeMs, 1000);
  EXPECT_EQ(left[3].contents().Status, JournalReadStatus::Newer);
  const fs::path kept = left[3].setAside();
  EXPECT_EQ(kept.filename(), "recovery-1-future.journal.unreadable");
  EXPECT_TRUE(fs::exists(kept));
  for (LeftJournal& journal : left) journal.remove();
  left.clear();
  EXPECT_EQ(FilesIn(folder.path()), std::vector<fs::path>{kept.filename()});
  EXPECT_TRUE(ClaimLeftJournals(folder.path()).empty());
}

TEST(RecoveryJournalTest, AFolderThatCannotBeMadeIsReportedAsAnError) {
  TempFolder folder("journal");
  WriteBytes(folder / "file", "not a folder");
  EXPECT_THROW(RecoveryJournal(PartsIn(folder / "file" / "orlisk")), JournalError);
  EXPECT_TRUE(ClaimLeftJournals(folder / "missing").empty());
}

}  // namespace
}  // namespace orlisk::testing
