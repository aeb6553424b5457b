// Output names: the source's name with the output extension in the output
// folder, "New_<n>" in front on a clash, and never a file that exists.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "burnin/writer/OutputNaming.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk {
namespace {

struct NamingRow {
  std::string name;
  std::string folder;
  std::string source;
  std::string extension;
  std::set<std::string> existing;
  std::string expected;
};

void PrintTo(const NamingRow& row, std::ostream* out) { *out << row.name; }

class OutputNamingTest : public ::testing::TestWithParam<NamingRow> {};

TEST_P(OutputNamingTest, TakesTheFirstFreeName) {
  const NamingRow& row = GetParam();
  EXPECT_EQ(ChooseOutputPath(row.folder, row.source, row.extension,
                             [&](const std::string& path) { return row.existing.count(path) > 0; }),
            row.expected);
}

std::set<std::string> TalkAndNumbered(int upTo) {
  std::set<std::string> taken = {"/home/u/Videos/talk.avi"};
  for (int n = 1; n <= upTo; ++n) taken.insert("/home/u/Videos/New_" + std::to_string(n) + "talk.avi");
  return taken;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutputNamingTest,
    ::testing::Values(
        NamingRow{"FirstRun", "/home/u/Videos", "/clips/talk.avi", ".avi", {}, "/home/u/Videos/talk.avi"},
        NamingRow{"SecondRun", "/home/u/Videos", "/clips/talk.avi", ".avi", TalkAndNumbered(0),
                  "/home/u/Videos/New_1talk.avi"},
        NamingRow{"ThirdRun", "/home/u/Videos/", "/clips/talk.avi", ".avi", TalkAndNumbered(1),
                  "/home/u/Videos/New_2talk.avi"},
        NamingRow{"AllHundredTakenCountsOn", "/home/u/Videos", "/clips/talk.avi", ".avi", TalkAndNumbered(100),
                  "/home/u/Videos/New_101talk.avi"},
        NamingRow{"AGapIsFilled", "/home/u/Videos", "/clips/talk.avi", ".avi",
                  {"/home/u/Videos/talk.avi", "/home/u/Videos/New_2talk.avi"}, "/home/u/Videos/New_1talk.avi"},
        // Even when the check for existing files misses it, the source's own
        // path is never the output.
        NamingRow{"SourceInTheOutputFolder", "/home/u/Videos", "/home/u/Videos/talk.avi", ".avi", {},
                  "/home/u/Videos/New_1talk.avi"},
        NamingRow{"SourceReachedByAnotherSpelling", "/home/u/Videos/./", "/home/u/Videos/talk.avi", ".avi", {},
                  "/home/u/Videos/./New_1talk.avi"},
        NamingRow{"ExtensionReplaced", "/out", "/clips/Clip.MPG", ".mpeg", {}, "/out/Clip.mpeg"},
        NamingRow{"OnlyTheLastExtensionReplaced", "/out", "/clips/holiday.2019.avi", ".wmv", {},
                  "/out/holiday.2019.wmv"},
        NamingRow{"NameWithoutExtension", "/out", "/clips/recording", ".mkv", {}, "/out/recording.mkv"},
        NamingRow{"NamesWithBlanksAndNonAscii", "/out", "/clips/Fête de la musique.avi", ".avi",
                  {"/out/Fête de la musique.avi"}, "/out/New_1Fête de la musique.avi"}),
    [](const auto& info) { return info.param.name; });

TEST(OutputNamingFilesTest, CountsAgainstTheRealFolderAndNeverPicksTheSource) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(testclips::TempFolder()) / "naming";
  fs::create_directories(folder);
  const std::string source = (folder / "talk.avi").string();
  std::ofstream(source) << "source";
  std::ofstream(folder / "New_1talk.avi") << "earlier output";
  fs::create_symlink(folder / "missing-target", folder / "New_2talk.avi");  // a dangling link is taken too

  EXPECT_EQ(ChooseOutputPath(folder.string(), source, ".avi"), (folder / "New_3talk.avi").string());
  EXPECT_EQ(ChooseOutputPath(folder.string(), source, ".mpeg"), (folder / "talk.mpeg").string());
}

}  // namespace
}  // namespace orlisk
