// Whole files replaced together, never left half-written.
#include "files/WholeFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "tests/support/AsUserWithoutRoot.h"
#include "FaultySteps.h"
#include "tests/support/TempFolder.h"

namespace orlisk::testing {
namespace {

namespace fs = std::filesystem;

// Files in a folder, to see that no temporary file was left behind.
std::size_t FileCount(const fs::path& folder) {
  std::size_t n = 0;
  for (const auto& e : fs::directory_iterator(folder)) n += e.is_regular_file() ? 1 : 0;
  return n;
}

TEST(ReplaceFilesTogether, AFailedWriteTouchesNoTargetAndLeavesNoTemporaryFile) {
  TempFolder folder;
  WriteBytes(folder / "a.dat", "old a");
  std::vector<std::pair<fs::path, std::string>> files = {{folder / "a.dat", "new a"},
                                                         {folder / "missing" / "b.srt", "new b"}};
  EXPECT_THROW(ReplaceFilesTogether(files), std::runtime_error);
  EXPECT_EQ(ReadBytes(folder / "a.dat"), "old a");
  EXPECT_EQ(FileCount(folder.path()), 1u);
}

TEST(ReplaceFilesTogether, KeepsThePermissionsOfTheFileItReplaces) {
  TempFolder folder;
  WriteBytes(folder / "a.srt", "old");
  fs::permissions(folder / "a.srt", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ReplaceFilesTogether({{folder / "a.srt", "new"}});
  EXPECT_EQ(ReadBytes(folder / "a.srt"), "new");
  EXPECT_EQ(fs::status(folder / "a.srt").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ReplaceFilesTogether, WritesThroughALinkToTheFileItPointsAt) {
  struct Row {
    const char* name;
    bool targetExists;
    bool relativeLink;
  };
  for (const Row& row : {Row{"existing, absolute", true, false}, Row{"existing, relative", true, true},
                         Row{"dangling", false, true}}) {
    TempFolder folder;
    const fs::path shared = folder / "shared" / "film.srt";
    fs::create_directories(shared.parent_path());
    if (row.targetExists) WriteBytes(shared, "old");
    const fs::path link = folder / "work" / "film.srt";
    fs::create_directories(link.parent_path());
    fs::create_symlink(row.relativeLink ? fs::path("../shared/film.srt") : shared, link);

    ReplaceFilesTogether({{link, "new"}});
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link))) << row.name;
    EXPECT_EQ(ReadBytes(shared), "new") << row.name;
    EXPECT_EQ(FileCount(shared.parent_path()), 1u) << row.name;
  }
}

using Step = FaultySteps::Step;
using Fault = FaultySteps::Fault;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

struct FaultCase {
  const char* name;
  std::vector<Fault> faults;
  bool oldFilesExist;
};

class InjectedFaults : public ::testing::TestWithParam<FaultCase> {};

// Whatever step fails, the pair stays as it was: both old (or both absent),
// with no temporary file left in the folder.
TEST_P(InjectedFaults, LeaveBothFilesAsTheyWere) {
  TempFolder folder;
  if (GetParam().oldFilesExist) {
    WriteBytes(folder / "film.dat", "old dat");
    WriteBytes(folder / "film.srt", "old srt");
  }
  FaultySteps steps(GetParam().faults);
  try {
    ReplaceFilesTogether({{folder / "film.dat", "new dat"}, {folder / "film.srt", "new srt"}}, steps);
    ADD_FAILURE() << "the save was reported as done";
  } catch (const FileWriteError& error) {
    EXPECT_NE(std::string(error.what()).find("Unable to write to " + folder.path().string()), std::string::npos)
        << error.what();
    EXPECT_EQ(std::string(error.what()).find("could not be put back"), std::string::npos) << error.what();
  }
  if (GetParam().oldFilesExist) {
    EXPECT_EQ(ReadBytes(folder / "film.dat"), "old dat");
    EXPECT_EQ(ReadBytes(folder / "film.srt"), "old srt");
    EXPECT_EQ(Names(folder.path()), (std::vector<std::string>{"film.dat", "film.srt"}));
  } else {
    EXPECT_EQ(Names(folder.path()), std::vector<std::string>{});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, InjectedFaults,
    ::testing::Values(FaultCase{"FirstWriteDiskFull", {{Step::Write, 1, ENOSPC}}, true},
                      FaultCase{"SecondWriteDiskFull", {{Step::Write, 2, ENOSPC}}, true},
                      FaultCase{"FirstSyncFails", {{Step::Fsync, 1, EIO}}, true},
                      FaultCase{"SecondSyncFails", {{Step::Fsync, 2, EIO}}, true},
                      FaultCase{"FirstNameRefused", {{Step::Link, 1, ENOSPC}}, true},
                      FaultCase{"SecondNameRefused", {{Step::Link, 2, ENOSPC}}, true},
                      FaultCase{"FirstSwapFails", {{Step::Exchange, 1, EIO}}, true},
                      FaultCase{"SecondSwapFailsFirstIsPutBack", {{Step::Exchange, 2, EIO}}, true},
                      FaultCase{"NoSwappingSecondRenameFailsFirstIsPutBack",
                                {{Step::Exchange, 1, EINVAL, 99}, {Step::Rename, 2, EIO}}, true},
                      FaultCase{"NewPairSecondRenameFailsFirstIsRemoved", {{Step::Rename, 2, EIO}}, false},
                      FaultCase{"NewPairSecondWriteFails", {{Step::Write, 2, ENOSPC}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplaceFilesTogether, SaysSoWhenTheFirstFileCannotBePutBackAndKeepsTheOldOneAside) {
  TempFolder folder;
  WriteBytes(folder / "film.dat", "old dat");
  WriteBytes(folder / "film.srt", "old srt");
  // The second swap fails, and so does swapping the first one back.
  FaultySteps steps({{Step::Exchange, 2, EIO, 2}});
  try {
    ReplaceFilesTogether({{folder / "film.dat", "new dat"}, {folder / "film.srt", "new srt"}}, steps);
    ADD_FAILURE() << "the save was reported as done";
  } catch (const FileWriteError& error) {
    const std::string expected = (folder / "film.dat").string() + " was already replaced and could not be put back";
    EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << error.what();
  }
  EXPECT_EQ(ReadBytes(folder / "film.srt"), "old srt");
  // The old companion waits under a hidden name until the next save.
  const auto names = Names(folder.path());
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(ReadBytes(folder / names[0]), "old dat");
  ReplaceFilesTogether({{folder / "film.dat", "newer dat"}, {folder / "film.srt", "newer srt"}});
  EXPECT_EQ(Names(folder.path()), (std::vector<std::string>{"film.dat", "film.srt"}));
}

TEST(ReplaceFilesTogether, AFolderThatCannotBeSyncedIsReported) {
  TempFolder folder;
  FaultySteps steps({{Step::Fsync, 3, EIO}});  // after the two files' own
  EXPECT_THROW(ReplaceFilesTogether({{folder / "a.dat", "a"}, {folder / "a.srt", "b"}}, steps), FileWriteError);
}

TEST(ReplaceFilesTogether, SavesNamesUpToTheLongestTheSystemAllows) {
  TempFolder folder;
  for (std::size_t length = 249; length <= 255; ++length) {
    const std::string name(length - 4, 'n');
    const fs::path srt = folder / (name + ".srt");
    ReplaceFilesTogether({{srt, "one"}});
    ReplaceFilesTogether({{srt, "two"}});
    EXPECT_EQ(ReadBytes(srt), "two") << length;
  }
  EXPECT_EQ(FileCount(folder.path()), 7u);
}

TEST(ReplaceFilesTogether, RemovesWhatAKilledSaveOfTheSameFileLeftBehind) {
  TempFolder folder;
  const std::string mine = TemporaryNamePrefix(folder / "film.srt") + "Ab3dE9";
  const std::string others = TemporaryNamePrefix(folder / "other.srt") + "Ab3dE9";
  WriteBytes(folder / mine, "half a save");
  WriteBytes(folder / others, "another file's");
  ReplaceFilesTogether({{folder / "film.srt", "new"}});
  EXPECT_EQ(Names(folder.path()), (std::vector<std::string>{others, "film.srt"}));
}

TEST(ReplaceFilesTogether, RefusesToReplaceAnythingButARegularFile) {
  struct Row {
    const char* name;
    std::function<void(const fs::path&)> make;
  };
  for (const Row& row : {Row{"link to /dev/null", [](const fs::path& p) { fs::create_symlink("/dev/null", p); }},
                         Row{"fifo", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
                         Row{"link to a folder", [](const fs::path& p) { fs::create_symlink("/tmp", p); }}}) {
    TempFolder folder;
    const fs::path target = folder / "film.srt";
    row.make(target);
    const auto before = fs::symlink_status(target).type();
    try {
      ReplaceFilesTogether({{folder / "film.dat", "new dat"}, {target, "new"}});
      ADD_FAILURE() << row.name << " was replaced";
    } catch (const FileWriteError& error) {
      EXPECT_NE(std::string(error.what()).find("not an ordinary file"), std::string::npos) << error.what();
    }
    EXPECT_EQ(fs::symlink_status(target).type(), before) << row.name;
    EXPECT_FALSE(fs::exists(folder / "film.dat")) << row.name;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
  }
}

TEST(ReplaceFilesTogether, RefusesAFileTheUserMayNotWriteAndLeavesItAlone) {
  TempFolder folder;
  fs::permissions(folder.path(), fs::perms::all);  // anyone may make files here
  WriteBytes(folder / "film.dat", "old dat");
  WriteBytes(folder / "film.srt", "read only");
  ::chmod((folder / "film.dat").c_str(), 0666);
  ::chmod((folder / "film.srt").c_str(), 0444);
  const auto outcome = RunWithoutRoot([&] {
    try {
      ReplaceFilesTogether({{folder / "film.dat", "new dat"}, {folder / "film.srt", "new"}});
      return 1;
    } catch (const FileWriteError& error) {
      return std::string(error.what()) == "Unable to write to " + (folder / "film.srt").string() +
                                              ": Permission denied"
                 ? 0
                 : 2;
    }
  });
  if (!outcome.result) GTEST_SKIP() << outcome.skipReason;
  EXPECT_EQ(*outcome.result, 0);
  EXPECT_EQ(ReadBytes(folder / "film.srt"), "read only");
  EXPECT_EQ(ReadBytes(folder / "film.dat"), "old dat");
  EXPECT_EQ(Names(folder.path()), (std::vector<std::string>{"film.dat", "film.srt"}));
}

TEST(ReadWholeFile, NamesTheFileItCannotRead) {
  TempFolder folder;
  fs::create_directories(folder / "a folder");
  for (const fs::path& file : {folder / "missing.srt", folder / "a folder"}) {
    try {
      ReadWholeFile(file);
      ADD_FAILURE() << file << " was read";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace orlisk::testing
