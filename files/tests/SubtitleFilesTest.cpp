// The subtitle pair on disk: saved whole, read back consistent, special files
// in either place refused or ignored at once.
#include "files/SubtitleFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>

#include "tests/support/AsUserWithoutRoot.h"
#include "FaultySteps.h"
#include "tests/support/TempFolder.h"
#include "files/WholeFile.h"

namespace orlisk::testing {
namespace {

namespace fs = std::filesystem;
using Step = FaultySteps::Step;

SubRipReadContext Context() {
  SubRipReadContext context;
  context.Placement.X = 10;
  context.Placement.Y = 100;
  return context;
}

struct List {
  std::vector<SubtitleRow> rows;
  std::vector<SubtitleEntry> entries;
};

// A list whose every row has its own place; `shift` makes another save of it.
List MakeList(int count, int shift) {
  List list;
  for (int i = 0; i < count; ++i) {
    list.rows.push_back({TimeRangeText(i * 1000 + shift, i * 1000 + 500), "line " + std::to_string(i)});
    SubtitleEntry entry;
    entry.Place.X = 1000 + i + shift;
    entry.Place.Y = 50;
    entry.Place.DrawLevel = 200;
    entry.Tag = i + 1;  // as typing leaves it; saving numbers records by place
    list.entries.push_back(entry);
  }
  return list;
}

std::vector<std::int32_t> Xs(const SubRipReadResult& result) {
  std::vector<std::int32_t> xs;
  for (const auto& entry : result.Entries) xs.push_back(entry.Place.X);
  return xs;
}

class SubtitlePair : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr); }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }

  void save(const List& list, FileSteps& steps = SystemFileSteps()) {
    SaveSubtitleFiles(srt(), dat(), list.rows, list.entries, steps);
  }
  SubtitleFilesRead read() { return ReadSubtitleFiles(srt(), LegacyCodePage::Windows1252, Context()); }
  fs::path srt() const { return folder / "film.srt"; }
  fs::path dat() const { return folder / "film.dat"; }

  TempFolder folder;
};

TEST_F(SubtitlePair, ReadsBackWhatWasSavedWithTheCheckOfItsText) {
  save(MakeList(3, 0));
  const auto read = this->read();
  EXPECT_FALSE(read.Result.StaleCompanion);
  EXPECT_FALSE(read.NoBlocks);
  EXPECT_EQ(Xs(read.Result), (std::vector<std::int32_t>{1000, 1001, 1002}));
  const std::string companion = ReadBytes(dat());
  ASSERT_EQ(companion.size(), 3 * kCompanionRecordSize);
  EXPECT_NE(companion.substr(285, 3), std::string(3, '\0'));
}

TEST_F(SubtitlePair, ASaveWhoseSecondRenameFailsLeavesTheOldPairConsistent) {
  save(MakeList(3, 0));
  FaultySteps steps({{Step::Exchange, 2, EIO}});
  EXPECT_THROW(save(MakeList(4, 7), steps), FileWriteError);
  const auto read = this->read();
  EXPECT_FALSE(read.Result.StaleCompanion);
  EXPECT_EQ(Xs(read.Result), (std::vector<std::int32_t>{1000, 1001, 1002}));
}

// What a kill between the two renames once left: the new companion beside
// the old text. Its check tells, whether the save re-timed the subtitles or
// changed only their texts and places; no block takes another save's place.
TEST_F(SubtitlePair, ATornPairIsRecognisedAndReadWithTheCurrentStyle) {
  List retyped = MakeList(3, 0);
  for (std::size_t i = 0; i < 3; ++i) {
    retyped.rows[i].Subtitle += " typed again";
    retyped.entries[i].Place.X += 7;
  }
  for (const List& second : {MakeList(3, 7), retyped}) {
    save(MakeList(3, 0));
    FaultySteps steps({{Step::Exchange, 2, EIO, 2}});  // and the first cannot be put back
    EXPECT_THROW(save(second, steps), FileWriteError);
    const auto read = this->read();
    EXPECT_TRUE(read.Result.StaleCompanion);
    ASSERT_EQ(read.Result.Rows.size(), 3u);
    EXPECT_EQ(read.Result.Entries[0].Tag, -1);
    EXPECT_TRUE(read.Result.Entries[0].Place.Centred);  // centred at the current place
  }
}

TEST_F(SubtitlePair, NamesOfTheLongestLengthAreSaveable) {
  const fs::path base = folder / std::string(251, 'n');  // + ".srt": 255 bytes
  const List list = MakeList(2, 0);
  SaveSubtitleFiles(base.string() + ".srt", base.string() + ".dat", list.rows, list.entries);
  SaveSubtitleFiles(base.string() + ".srt", base.string() + ".dat", list.rows, list.entries);
  EXPECT_EQ(Xs(ReadSubtitleFiles(base.string() + ".srt", LegacyCodePage::Windows1252, Context()).Result),
            (std::vector<std::int32_t>{1000, 1001}));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

TEST_F(SubtitlePair, AReadOnlyFileOfThePairIsRefusedAndBothStayAsTheyWere) {
  fs::permissions(folder.path(), fs::perms::all);
  save(MakeList(2, 0));
  const std::string oldText = ReadBytes(srt());
  const std::string oldCompanion = ReadBytes(dat());
  for (const fs::path& readOnly : {srt(), dat()}) {
    ::chmod(srt().c_str(), 0666);
    ::chmod(dat().c_str(), 0666);
    ::chmod(readOnly.c_str(), 0444);
    const auto outcome = RunWithoutRoot([&] {
      try {
        save(MakeList(2, 9));
        return 1;
      } catch (const FileWriteError& error) {
        return std::string(error.what()) == "Unable to write to " + readOnly.string() + ": Permission denied" ? 0 : 2;
      }
    });
    if (!outcome.result) GTEST_SKIP() << outcome.skipReason;
    EXPECT_EQ(*outcome.result, 0) << readOnly;
    EXPECT_EQ(ReadBytes(srt()), oldText);
    EXPECT_EQ(ReadBytes(dat()), oldCompanion);
  }
}

struct EncodedCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> texts;
  bool noBlocks;
};

class EncodedFiles : public SubtitlePair, public ::testing::WithParamInterface<EncodedCase> {};

TEST_P(EncodedFiles, AreReadInTheirOwnEncoding) {
  WriteBytes(srt(), GetParam().bytes);
  const auto read = this->read();
  std::vector<std::string> texts;
  for (const auto& row : read.Result.Rows) texts.push_back(row.Subtitle);
  EXPECT_EQ(texts, GetParam().texts);
  EXPECT_EQ(read.NoBlocks, GetParam().noBlocks);
}

std::string Utf16Le(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) bytes += std::string{c, '\0'};
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EncodedFiles,
    ::testing::Values(
        EncodedCase{"Utf8WithOneBadByte", "0\r\n00:00:01,000 --> 00:00:02,000\r\n\xE4\xBD\xA0\xE5\xA5\xBD\x97\r\n \r\n",
                    {"\xE4\xBD\xA0\xE5\xA5\xBD\xE2\x80\x94"}, false},
        EncodedCase{"Utf16WithMark", Utf16Le("0\r\n0:0:1 --> 0:0:2\r\nhello\r\n \r\n1\r\n0:0:3 --> 0:0:4\r\nworld\r\n"),
                    {"hello", "world"}, false},
        EncodedCase{"TextWithoutBlocks", "just some notes\r\n", {}, true},
        EncodedCase{"EmptyFile", "", {}, false},
        EncodedCase{"OnlyBlankLines", "\r\n \r\n\t\r\n", {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct SpecialCompanionCase {
  const char* name;
  std::function<void(const fs::path&)> make;
};

class SpecialCompanion : public SubtitlePair, public ::testing::WithParamInterface<SpecialCompanionCase> {};

// Whatever stands in the companion's place, reading ends at once.
TEST_P(SpecialCompanion, GivesNoRecordsWithoutWaiting) {
  const List list = MakeList(2, 0);
  WriteBytes(srt(), WriteSubRipText(list.rows));
  GetParam().make(dat());
  const auto read = this->read();
  EXPECT_EQ(read.Result.Rows.size(), 2u);
  EXPECT_FALSE(read.Result.StaleCompanion);
  EXPECT_EQ(read.Result.Entries[0].Tag, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SpecialCompanion,
    ::testing::Values(
        SpecialCompanionCase{"Fifo", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        SpecialCompanionCase{"LinkToDevZero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }},
        SpecialCompanionCase{"Folder", [](const fs::path& p) { fs::create_directory(p); }},
        SpecialCompanionCase{"Video", [](const fs::path& p) {
                               WriteBytes(p, "RIFF" + std::string(kCompanionRecordSize - 4, 'v'));
                             }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SubtitlePair, AHugeSparseCompanionIsReadOnlyWhereTheBlocksAsk) {
  const List list = MakeList(2, 0);
  WriteBytes(srt(), WriteSubRipText(list.rows));
  auto records = list.entries;
  for (std::size_t i = 0; i < records.size(); ++i) records[i].Tag = static_cast<std::int32_t>(i);
  WriteBytes(dat(), WriteCompanion(records, 2));
  fs::resize_file(dat(), 7'000'000 * kCompanionRecordSize);  // 2 GB, holes after the first two records
  EXPECT_EQ(Xs(read().Result), (std::vector<std::int32_t>{1000, 1001}));
}

}  // namespace
}  // namespace orlisk::testing
