#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace orlisk::testing {
namespace {

namespace fs = std::filesystem;

TEST(TempFolder, IsAFreshEmptyFolderRemovedWithItsContents) {
  fs::path kept;
  {
    TempFolder folder("support");
    TempFolder other("support");
    kept = folder.path();
    EXPECT_NE(folder.path(), other.path());
    EXPECT_EQ(folder.path().filename().string().rfind("orlisk-support-", 0), 0u) << folder.path();
    ASSERT_TRUE(fs::is_directory(folder.path()));
    EXPECT_TRUE(fs::is_empty(folder.path()));

    WriteBytes(folder / "deep" / "er" / "file.bin", std::string("a\0b\r\n", 5));
    EXPECT_EQ(ReadBytes(folder / "deep" / "er" / "file.bin"), std::string("a\0b\r\n", 5));
  }
  EXPECT_FALSE(fs::exists(kept));
}

TEST(TempFolder, ReadingAMissingFileGivesNothing) {
  TempFolder folder;
  EXPECT_EQ(ReadBytes(folder / "absent"), "");
}

}  // namespace
}  // namespace orlisk::testing
