// Where a video goes: targets that may or may not take one, the hidden
// partial it is written into, its one-step naming, and the clean-up of
// partials a killed job left behind.
#include "burnin/writer/PartialOutput.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "media/MediaError.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace orlisk {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::SpecialKind;
using testing::TempFolder;
using testing::WriteBytes;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

struct RefusalRow {
  std::string name;
  std::function<std::string(const fs::path&)> make;  // "" when made
  std::string refusal;                               // a part of it; "" for none
};

TEST(TargetRefusalTest, OnlyNothingOrARegularFileMayTakeAVideo) {
  const auto special = [](SpecialKind kind) {
    return [kind](const fs::path& p) { return testing::MakeSpecialFile(kind, p); };
  };
  const std::vector<RefusalRow> rows = {
      {"nothing", [](const fs::path&) { return std::string(); }, ""},
      {"file", [](const fs::path& p) { return WriteBytes(p, "old"), std::string(); }, ""},
      {"link-to-file",
       [](const fs::path& p) {
         WriteBytes(p.string() + ".real", "old");
         fs::create_symlink(p.filename().string() + ".real", p);
         return std::string();
       },
       ""},
      {"folder", special(SpecialKind::Folder), "is a folder, not a regular file"},
      {"pipe", special(SpecialKind::Pipe), "is a pipe (FIFO), not a regular file"},
      {"socket", special(SpecialKind::Socket), "is a socket, not a regular file"},
      {"device", special(SpecialKind::FullDevice), "is a device, not a regular file"},
      {"dangling-link", [](const fs::path& p) { return fs::create_symlink("gone", p), std::string(); },
       "is a link that leads nowhere"},
      {"link-to-pipe",
       [](const fs::path& p) {
         fs::create_symlink(p.filename().string() + ".pipe", p);
         return testing::MakeSpecialFile(SpecialKind::Pipe, p.string() + ".pipe");
       },
       "is a pipe (FIFO)"},
  };
  TempFolder folder("target");
  for (const RefusalRow& row : rows) {
    const fs::path target = folder / row.name;
    if (const std::string why = row.make(target); !why.empty()) {
      std::cout << "[ skipped row " << row.name << ": " << why << " ]\n";
      continue;
    }
    const std::string refusal = RefusalOfTarget(target.string());
    if (row.refusal.empty()) {
      EXPECT_EQ(refusal, "") << row.name;
    } else {
      EXPECT_NE(refusal.find(row.refusal), std::string::npos) << row.name << ": " << refusal;
      // Refused before anything is made beside it.
      EXPECT_THROW(PartialOutput({.Path = target.string(), .ReplaceFile = true, .NextFreeName = {}}), MediaError);
    }
  }
}

TEST(PartialOutputTest, IsWrittenUnderAHiddenNameAndTakesTheTargetsNameInOneStep) {
  TempFolder folder("partial");
  const fs::path target = folder / "talk.mp4";
  PartialOutput partial({.Path = target.string(), .ReplaceFile = false, .NextFreeName = {}});
  const fs::path written(partial.path());
  EXPECT_EQ(written.parent_path(), folder.path());
  EXPECT_EQ(written.filename().string().rfind(".talk.mp4.orlisk-partial-" + std::to_string(::getpid()) + "-", 0), 0u);
  EXPECT_EQ(PartialOwner(written.filename().string()), ::getpid());
  WriteBytes(written, "video");
  EXPECT_FALSE(fs::exists(target));
  EXPECT_EQ(partial.Commit(), target.string());
  EXPECT_EQ(ReadBytes(target), "video");
  EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"talk.mp4"});
}

TEST(PartialOutputTest, ANameTakenMeanwhileIsNeverReplaced) {
  TempFolder folder("partial");
  const fs::path target = folder / "talk.avi";
  {
    PartialOutput partial({.Path = target.string(), .ReplaceFile = false,
                           .NextFreeName = [&] { return (folder / "New_1talk.avi").string(); }});
    WriteBytes(target, "another job's");
    EXPECT_EQ(partial.Commit(), (folder / "New_1talk.avi").string());
  }
  {
    PartialOutput partial({.Path = target.string(), .ReplaceFile = false, .NextFreeName = {}});
    WriteBytes(partial.path(), "lost");
    EXPECT_THROW(partial.Commit(), MediaError);
  }
  EXPECT_EQ(ReadBytes(target), "another job's");
  EXPECT_EQ(Names(folder.path()), (std::vector<std::string>{"New_1talk.avi", "talk.avi"}));
}

TEST(PartialOutputTest, AReplacedFileKeepsItsPermissionsAndALinkToItStaysALink) {
  TempFolder folder("partial");
  WriteBytes(folder / "real.avi", "old");
  fs::permissions(folder / "real.avi", fs::perms(0640));
  fs::create_symlink("real.avi", folder / "link.avi");
  PartialOutput partial({.Path = (folder / "link.avi").string(), .ReplaceFile = true, .NextFreeName = {}});
  WriteBytes(partial.path(), "new");
  EXPECT_EQ(ReadBytes(folder / "real.avi"), "old");
  EXPECT_EQ(partial.Commit(), (folder / "link.avi").string());
  EXPECT_TRUE(fs::is_symlink(folder / "link.avi"));
  EXPECT_EQ(ReadBytes(folder / "real.avi"), "new");
  EXPECT_EQ(fs::status(folder / "real.avi").permissions(), fs::perms(0640));
  EXPECT_EQ(Names(folder.path()), (std::vector<std::string>{"link.avi", "real.avi"}));
}

TEST(PartialNameTest, LongNamesAreCutWholeCharactersFirstAndOnlyOurNamesAreRead) {
  std::string longName;
  while (longName.size() < 300) longName += "字";
  const std::string name = PartialName(longName, 4242, "abc123");
  EXPECT_LE(name.size(), 255u);
  EXPECT_EQ((name.size() - std::string(".orlisk-partial-4242-abc123").size() - 1) % 3, 0u);  // whole characters
  EXPECT_EQ(PartialOwner(name), 4242);
  for (const char* other : {".a.avi.orlisk-partial-12-abc", ".a.avi.orlisk-partial-x2-abc123",
                                   "a.avi.orlisk-partial-12-abc123", ".a.avi.orlisk-partial-0-abc123",
                                   ".a.avi.orlisk-partial--abc123", "a.avi"}) {
    EXPECT_EQ(PartialOwner(other), std::nullopt) << other;
  }
}

// A process that has ended, whose pid nobody has yet.
pid_t EndedProcess() {
  pid_t pid = 0;
  char* argv[] = {const_cast<char*>("true"), nullptr};
  EXPECT_EQ(posix_spawnp(&pid, "true", nullptr, nullptr, argv, environ), 0);
  waitpid(pid, nullptr, 0);
  return pid;
}

struct LivingProcess {
  pid_t pid = 0;
  LivingProcess() {
    char* argv[] = {const_cast<char*>("sleep"), const_cast<char*>("60"), nullptr};
    EXPECT_EQ(posix_spawnp(&pid, "sleep", nullptr, nullptr, argv, environ), 0);
  }
  ~LivingProcess() {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
};

struct LeftoverRow {
  std::string name;
  pid_t owner;
  int secondsAgo;  // when it was last written
  bool locked;     // someone holds its lock
  bool removed;
};

TEST(DeadPartialsTest, GoOnlyWhenOlderThanTheJobAndTheirOwnerIsGone) {
  TempFolder folder("leftovers");
  LivingProcess living;
  const pid_t ended = EndedProcess();
  const auto now = std::chrono::system_clock::now();
  const std::vector<LeftoverRow> rows = {
      {"ended owner", ended, 5, false, true},
      {"ended owner, written after the job started", ended, -15, false, false},
      {"living owner", living.pid, 0, false, false},
      {"living process that took the number later", living.pid, 600, false, true},
      {"ended owner, lock still held", ended, 5, true, false},
  };
  std::vector<int> locks;
  for (const LeftoverRow& row : rows) {
    const fs::path file = folder / PartialName(row.name, row.owner, "abc123");
    WriteBytes(file, "part");
    const auto written = std::chrono::duration_cast<std::chrono::nanoseconds>(
        (now - std::chrono::seconds(row.secondsAgo)).time_since_epoch());
    const timespec times[2] = {{0, UTIME_OMIT}, {written.count() / 1'000'000'000, written.count() % 1'000'000'000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    if (row.locked) {
      locks.push_back(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
      ASSERT_EQ(::flock(locks.back(), LOCK_EX), 0);
    }
  }
  // Not partials, or not files: never touched.
  WriteBytes(folder / ".a.avi.orlisk-partial-1-abc", "not ours");
  fs::create_directory(folder / PartialName("folder", ended, "abc123"));
  fs::create_symlink("a.avi", folder / PartialName("link", ended, "abc123"));

  const auto jobStarted = now + std::chrono::seconds(10);
  EXPECT_EQ(RemoveDeadPartials(folder.path().string(), jobStarted), 2);
  for (const LeftoverRow& row : rows) {
    EXPECT_EQ(fs::exists(folder / PartialName(row.name, row.owner, "abc123")), !row.removed) << row.name;
  }
  EXPECT_EQ(Names(folder.path()).size(), 6u);
  for (const int fd : locks) ::close(fd);
}

TEST(DeadPartialsTest, ANewPartialClearsItsFolderFirst) {
  TempFolder folder("leftovers");
  const fs::path left = folder / PartialName("talk.avi", EndedProcess(), "abc123");
  WriteBytes(left, "cut short");
  const auto before = fs::last_write_time(left) - std::chrono::seconds(5);
  fs::last_write_time(left, before);
  PartialOutput partial({.Path = (folder / "talk.avi").string(), .ReplaceFile = false, .NextFreeName = {}});
  EXPECT_FALSE(fs::exists(left));
  EXPECT_TRUE(fs::exists(partial.path()));
}

}  // namespace
}  // namespace orlisk
