// SubRip files that this program did not write, one small file per case, in
// the code pages such files come in: read as the common readers read them, and
// every repair counted.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "subtitles/SubRipFile.h"

namespace orlisk {
namespace {

struct Cue {
  SubtitleTime begin, end;
  std::string text;
  bool operator==(const Cue&) const = default;
};

struct ForeignCase {
  const char* name;
  const char* charset;
  std::string bytes;
  std::vector<Cue> cues;
  std::vector<std::pair<SubRipRepair, int>> repairs;  // every other kind: none
};

SubRipReadContext Context() {
  SubRipReadContext context;
  context.Placement.Y = 100;
  context.Style.Font.Height = -21;
  return context;
}

std::vector<Cue> Cues(const SubRipReadResult& read) {
  std::vector<Cue> cues;
  for (std::size_t i = 0; i < read.Rows.size(); ++i) {
    cues.push_back({read.Entries[i].BeginTime, read.Entries[i].EndTime, read.Rows[i].Subtitle});
  }
  return cues;
}

class ForeignSubRipTest : public ::testing::TestWithParam<ForeignCase> {};

TEST_P(ForeignSubRipTest, ReadsEveryCueAndCountsTheRepairs) {
  const ForeignCase& c = GetParam();
  const SubRipReadResult read = ReadSubRip(ConvertToUtf8(c.bytes, c.charset), "", Context());
  EXPECT_EQ(Cues(read), c.cues);
  SubRipRepairs expected;
  for (const auto& [kind, count] : c.repairs) expected[kind] = count;
  EXPECT_EQ(read.Repairs.Counts, expected.Counts);
}

constexpr const char* kTimes1 = "00:00:01,000 --> 00:00:02,000\n";
constexpr const char* kTimes2 = "00:00:03,000 --> 00:00:04,000\n";

std::string Block(const char* number, const char* times, const std::string& text) {
  return std::string(number) + "\n" + times + text + "\n\n";
}

INSTANTIATE_TEST_SUITE_P(
    Files, ForeignSubRipTest,
    ::testing::Values(
        ForeignCase{"NoNumbers", "UTF-8", std::string(kTimes1) + "One\n\n" + kTimes2 + "Two\n",
                    {{1000, 2000, "One"}, {3000, 4000, "Two"}}, {{SubRipRepair::NoNumber, 2}}},
        ForeignCase{"CrOnlyLineEnds", "CP1252",
                    "1\r00:00:01,000 --> 00:00:02,000\rCaf\xE9\r\r2\r00:00:03,000 --> 00:00:04,000\rNo\xEBl\r",
                    {{1000, 2000, "Caf\xC3\xA9"}, {3000, 4000, "No\xC3\xABl"}}, {{SubRipRepair::CrLineEnds, 7}}},
        ForeignCase{"OneDigitFields", "CP1251",
                    Block("1", "0:55:40,920 --> 0:55:42,000\n", "\xCF\xF0\xE8\xE2\xE5\xF2") +
                        Block("2", "0:0:7,560 --> 0:0:9,000\n", "\xCC\xE8\xF0"),
                    {{3'340'920, 3'342'000, "Привет"}, {7560, 9000, "Мир"}},
                    {{SubRipRepair::OneDigitFields, 4}}},
        ForeignCase{"NoMilliseconds", "UTF-8", Block("1", "00:00:01 --> 00:00:02\n", "A"), {{1000, 2000, "A"}},
                    {{SubRipRepair::NoMilliseconds, 2}}},
        ForeignCase{"TwoDigitMillisecondsAndCoordinates", "UTF-8",
                    Block("1", "00:00:01,50 --> 00:00:02,75  X1:100 X2:600 Y1:400 Y2:460\n", "A"),
                    {{1050, 2075, "A"}}, {{SubRipRepair::ShortMilliseconds, 2}, {SubRipRepair::TextAfterTimes, 1}}},
        ForeignCase{"FifthLineKept", "UTF-8", Block("1", kTimes1, "a\nb\nc\nd\ne") + Block("2", kTimes2, "f"),
                    {{1000, 2000, "a\r\nb\r\nc\r\nd\r\ne"}, {3000, 4000, "f"}}, {}},
        ForeignCase{"BlankLineInsideBilingualCue", "GB18030",
                    Block("1", kTimes1, "\xD6\xD0\xCE\xC4\n\nChinese") + Block("2", kTimes2, "\xC4\xE3\xBA\xC3"),
                    {{1000, 2000, "中文\r\nChinese"}, {3000, 4000, "你好"}}, {{SubRipRepair::BlankLinesInside, 1}}},
        ForeignCase{"EmptyCueKeepsTheNext", "UTF-8", Block("1", kTimes1, "") + Block("2", kTimes2, "B"),
                    {{1000, 2000, ""}, {3000, 4000, "B"}}, {}},
        ForeignCase{"MissingTimeLineKeepsTheNext", "UTF-8",
                    Block("1", kTimes1, "A") + "2\nB\n\n" + Block("3", kTimes2, "C"),
                    {{1000, 2000, "A\r\n2\r\nB"}, {3000, 4000, "C"}}, {{SubRipRepair::NoTimeLine, 1}}},
        ForeignCase{"RepeatedNumberKeepsBoth", "UTF-8", Block("1", kTimes1, "A") + Block("1", kTimes2, "B"),
                    {{1000, 2000, "A"}, {3000, 4000, "B"}}, {}},
        ForeignCase{"NegativeAndHugeTimesReadAsZero", "UTF-8",
                    Block("1", "00:00:-01,-500 --> 00:00:02,000\n", "A") +
                        Block("2", "00:00:03,000 --> 999999:00:00,000\n", "B"),
                    {{0, 2000, "A"}, {3000, 0, "B"}}, {{SubRipRepair::TimesReadAsZero, 2}}},
        ForeignCase{"FormattingTagsTakenOut", "UTF-8",
                    Block("1", kTimes1, "<i>A</i> <FONT color=\"#ff0000\">b</font> a<b\n{\\an8}<b></b>"),
                    {{1000, 2000, "A b a<b"}}, {{SubRipRepair::FormattingTags, 1}}},
        ForeignCase{"LinesBeforeTheFirstCue", "UTF-8", "Title\n\n" + Block("1", kTimes1, "A"), {{1000, 2000, "A"}},
                    {{SubRipRepair::LinesOutside, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

// 155 Cyrillic letters take 310 bytes in UTF-8: the row keeps them all, the
// entry (what is drawn and stored in the companion) the first 127 letters.
TEST(ForeignSubRipTest, ALongTextStaysWholeInTheRowAndIsCutBetweenCharacters) {
  std::string cp1251, utf8;
  for (int i = 0; i < 155; ++i) {
    cp1251 += static_cast<char>(0xE0 + i % 32);  // а..я
    utf8 += ConvertToUtf8(std::string(1, static_cast<char>(0xE0 + i % 32)), "CP1251");
  }
  const auto read = ReadSubRip(ConvertToUtf8(Block("1", kTimes1, cp1251), "CP1251"), "", Context());
  ASSERT_EQ(read.Rows.size(), 1u);
  EXPECT_EQ(read.Rows[0].Subtitle, utf8);
  EXPECT_EQ(read.Entries[0].Text, utf8.substr(0, 254));
  EXPECT_EQ(DecodeCompanionRecord(EncodeCompanionRecord(read.Entries[0])).Text, utf8.substr(0, 254));
}

// What the reading repaired is saved as this program writes, so the pair reads
// back by its own rules to the same list.
TEST(ForeignSubRipTest, ASavedForeignFileReadsBackAsItWasRead) {
  const std::string foreign = "0:0:7,560 --> 0:0:9,000 X1:1\nA\n\n00:00:10 --> 00:00:12,5\nB\n\nC\n";
  const auto read = ReadSubRip(foreign, "", Context());
  const std::string saved = WriteSubRipText(read.Rows);
  const auto again =
      ReadSubRip(saved, WriteCompanion(read.Entries, static_cast<int>(read.Entries.size()), PairCheck(saved)),
                 Context());
  EXPECT_FALSE(again.Repairs.any());
  EXPECT_EQ(Cues(again), Cues(read));
  EXPECT_EQ(Cues(read), (std::vector<Cue>{{7560, 9000, "A"}, {10'000, 12'005, "B\r\nC"}}));
}

}  // namespace
}  // namespace orlisk
