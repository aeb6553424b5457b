#include "subtitles/SubtitleChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orlisk {
namespace {

struct Cue {
  SubtitleTime Begin;
  SubtitleTime End;
  std::string Text;
};

std::vector<std::uint16_t> FindingsOf(const std::vector<Cue>& cues, double frameRate = 25) {
  SubtitleDocument document;
  std::vector<SubtitleRow> rows;
  std::vector<SubtitleEntry> entries;
  for (const Cue& cue : cues) {
    rows.push_back({TimeRangeText(cue.Begin, cue.End), cue.Text});
    SubtitleEntry entry;
    entry.BeginTime = cue.Begin;
    entry.EndTime = cue.End;
    entries.push_back(entry);
  }
  document.replaceAll(rows, entries);
  std::vector<std::uint16_t> findings;
  for (const RowCheck& check : CheckSubtitles(document, CheckLimits{}, frameRate)) findings.push_back(check.Findings);
  return findings;
}

struct BoundaryCase {
  const char* Name;
  std::vector<Cue> Cues;
  std::vector<std::uint16_t> Expected;
  double FrameRate = 25;
};

class SubtitleCheckBoundaries : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(SubtitleCheckBoundaries, FlagsExactlyTheRowsPastEachLimit) {
  EXPECT_EQ(FindingsOf(GetParam().Cues, GetParam().FrameRate), GetParam().Expected);
}

const std::string k17 = "abcdefghijklmnopq";  // 17 characters: 17 a second over 1 s

INSTANTIATE_TEST_SUITE_P(
    Limits, SubtitleCheckBoundaries,
    ::testing::Values(
        BoundaryCase{"Durations", {{0, 700, "ok"}, {1000, 1699, "ok"}, {2000, 9000, "ok"}, {10000, 17001, "ok"}},
                     {0, kTooShort, 0, kTooLong}},
        BoundaryCase{"NoEnd", {{5000, 0, "a"}, {6000, 6000, "b"}, {0, 0, "c"}}, {kNoEnd, kNoEnd, kNoEnd}},
        BoundaryCase{"EmptyText", {{0, 1000, " \r\n "}}, {kEmptyText}},
        // 2 frames at 25 fps are 80 ms; touching subtitles have no gap at all.
        BoundaryCase{"GapAt25", {{0, 1000, "a"}, {1079, 2000, "b"}, {2080, 3000, "c"}, {3000, 4000, "d"}},
                     {kSmallGap, 0, kSmallGap, 0}},
        // At 29.97 fps two frames are 67 ms.
        BoundaryCase{"GapAt2997", {{0, 1000, "a"}, {1066, 2000, "b"}, {2067, 3000, "c"}},
                     {kSmallGap, 0, 0}, 29.97},
        // A long subtitle overlaps every later one that begins before it ends,
        // whatever order the rows stand in.
        BoundaryCase{"Overlaps", {{1500, 2500, "b"}, {0, 5000, "a"}, {5850, 7000, "c"}, {4999, 5800, "d"}},
                     {kOverlap, kOverlap, 0, kOverlap | kSmallGap}},
        BoundaryCase{"ReadingSpeed", {{0, 1000, k17}, {2000, 3000, k17 + "r"}, {4000, 5000, "abc\r\ndefghijklmnopqr"}},
                     {0, kTooFast, kTooFast}},
        // Eight CJK characters count as 16 for speed; the CJK line limit is 16.
        BoundaryCase{"Chinese", {{0, 1000, "一二三四五六七八"}, {2000, 3000, "一二三四五六七八九"},
                                 {4000, 9000, "一二三四五六七八九十一二三四五六七"}},
                     {0, kTooFast, kLongLine}},
        BoundaryCase{"LineLength", {{0, 6000, std::string(42, 'x') + "\r\n" + "y"}, {7000, 13000, std::string(43, 'x')}},
                     {0, kLongLine}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SubtitleChecks, MeasuresMixedAndMalformedText) {
  EXPECT_EQ(MeasureLine("我爱你 hello").Length, 3 + 3);  // six others count three
  EXPECT_TRUE(MeasureLine("我爱你 hello").IsCJK);
  EXPECT_EQ(MeasureLine("caf\xC3\xA9").Length, 4);
  EXPECT_EQ(MeasureLine("\xE4\xB8").Length, 2);  // a cut sequence: one character a byte
  EXPECT_DOUBLE_EQ(ReadingLength("ab\r\n一"), 4);
}

TEST(SubtitleChecks, RowsBeyondTheEntriesAreLeftUnjudged) {
  SubtitleDocument document;
  document.appendRow({"", ""});
  EXPECT_EQ(CheckSubtitles(document, CheckLimits{}, 25), std::vector<RowCheck>(1));
}

}  // namespace
}  // namespace orlisk
