// Whole files replaced together, never left half-written.
#include "settings/WholeFile.h"

#include <gtest/gtest.h>

#include <stdexcept>

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
