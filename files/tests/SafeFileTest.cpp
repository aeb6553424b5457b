// Special files in a file's place are refused at once with a message that
// names them; regular files are read whole or by position, within their cap.
#include "files/SafeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "tests/support/TempFolder.h"

namespace orlisk::testing {
namespace {

namespace fs = std::filesystem;

struct SpecialCase {
  const char* name;
  std::function<void(const fs::path&)> make;  // puts something at the path
  FileProblem problem;
  const char* reason;
};

class SpecialFiles : public ::testing::TestWithParam<SpecialCase> {};

TEST_P(SpecialFiles, AreRefusedWithoutWaiting) {
  TempFolder folder;
  const fs::path file = folder / "film.srt";
  GetParam().make(file);
  try {
    ReadRegularFile(file, 1024);
    ADD_FAILURE() << "read";
  } catch (const FileReadError& error) {
    EXPECT_EQ(error.problem(), GetParam().problem);
    EXPECT_EQ(std::string(error.what()), "Unable to read " + file.string() + ": " + GetParam().reason);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SpecialFiles,
    ::testing::Values(
        SpecialCase{"Fifo", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
                    FileProblem::NotRegular, "it is a folder, pipe or device, not an ordinary file"},
        SpecialCase{"LinkToDevZero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
                    FileProblem::NotRegular, "it is a folder, pipe or device, not an ordinary file"},
        SpecialCase{"Folder", [](const fs::path& p) { fs::create_directory(p); }, FileProblem::NotRegular,
                    "it is a folder, pipe or device, not an ordinary file"},
        SpecialCase{"Missing", [](const fs::path&) {}, FileProblem::Missing, "No such file or directory"},
        SpecialCase{"DanglingLink", [](const fs::path& p) { fs::create_symlink("nowhere", p); },
                    FileProblem::Missing, "No such file or directory"},
        SpecialCase{"SparseAboveCap",
                    [](const fs::path& p) {
                      WriteBytes(p, "");
                      fs::resize_file(p, 2ull << 30);  // 2 GB of nothing
                    },
                    FileProblem::TooLarge, "it is larger than 1024 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadableFile, ReadsByPositionWithoutReadingTheRest) {
  TempFolder folder;
  const fs::path file = folder / "film.dat";
  WriteBytes(file, "0123456789");
  fs::resize_file(file, 3ull << 30);  // a sparse tail, never read
  const ReadableFile opened(file, 4ull << 30);
  EXPECT_EQ(opened.size(), 3ull << 30);
  EXPECT_EQ(opened.readAt(2, 3), "234");
  EXPECT_EQ(opened.readAt((3ull << 30) - 2, 10), std::string(2, '\0'));  // cut where the file ends
}

TEST(ReadableFile, ReadsAFileUpToItsCapAndALinkToARegularFile) {
  TempFolder folder;
  WriteBytes(folder / "a.ini", std::string(1024, 'x'));
  fs::create_symlink(folder / "a.ini", folder / "link.ini");
  EXPECT_EQ(ReadRegularFile(folder / "a.ini", 1024).size(), 1024u);
  EXPECT_EQ(ReadRegularFile(folder / "link.ini", 1024).size(), 1024u);
  EXPECT_THROW(ReadRegularFile(folder / "a.ini", 1023), FileReadError);
}

TEST(DescribeSize, NamesCapsInMegabytesWhereTheyAreWhole) {
  EXPECT_EQ(DescribeSize(kMaxSubtitleFileBytes), "64 MB");
  EXPECT_EQ(DescribeSize(kMaxProfileFileBytes), "4 MB");
  EXPECT_EQ(DescribeSize(1000), "1000 bytes");
}

}  // namespace
}  // namespace orlisk::testing
