#include "subtitles/SubtitleTime.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

namespace orlisk {
namespace {

struct FormatCase {
  SubtitleTime ms;
  const char* text;
};

class FormatSubtitleTimeTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatSubtitleTimeTest, WritesFixedFields) {
  EXPECT_EQ(FormatSubtitleTime(GetParam().ms), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Times, FormatSubtitleTimeTest,
    ::testing::Values(FormatCase{0, "00:00:00,000"}, FormatCase{59'999, "00:00:59,999"},
                      FormatCase{3'600'000, "01:00:00,000"}, FormatCase{3'723'004, "01:02:03,004"},
                      FormatCase{-1'500, "00:00:-01,-500"}, FormatCase{-5, "00:00:00,-005"},
                      FormatCase{-3'723'004, "-01:-02:-03,-004"},
                      FormatCase{360'000'000, "100:00:00,000"},
                      FormatCase{std::numeric_limits<SubtitleTime>::max(), "596:31:23,647"},
                      FormatCase{std::numeric_limits<SubtitleTime>::min(), "-596:-31:-23,-648"}));

TEST(TimeRangeTextTest, JoinsBeginAndEndWithArrow) {
  EXPECT_EQ(TimeRangeText(0, 0), "00:00:00,000 --> 00:00:00,000");
  EXPECT_EQ(TimeRangeText(1'000, 2'500), "00:00:01,000 --> 00:00:02,500");
}

struct IntegerCase {
  const char* text;
  std::optional<std::int32_t> value;
};

class ParseTimeIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ParseTimeIntegerTest, FollowsIntegerNotation) {
  EXPECT_EQ(ParseTimeInteger(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Notation, ParseTimeIntegerTest,
    ::testing::Values(
        IntegerCase{"0", 0}, IntegerCase{"007", 7}, IntegerCase{"  12", 12}, IntegerCase{"+5", 5},
        IntegerCase{"-01", -1}, IntegerCase{" -3", -3}, IntegerCase{"$1F", 31},
        IntegerCase{"x10", 16}, IntegerCase{"X10", 16}, IntegerCase{"0x1a", 26},
        IntegerCase{"0X1A", 26}, IntegerCase{"-$10", -16}, IntegerCase{"$FFFFFFFF", -1},
        IntegerCase{"2147483647", 2147483647},
        IntegerCase{"-2147483648", std::numeric_limits<std::int32_t>::min()},
        // Failures: nothing to read, stray characters, values outside 32 bits.
        IntegerCase{"", std::nullopt}, IntegerCase{" ", std::nullopt}, IntegerCase{"-", std::nullopt},
        IntegerCase{"$", std::nullopt}, IntegerCase{"0x", std::nullopt},
        IntegerCase{"12 ", std::nullopt}, IntegerCase{"1:", std::nullopt},
        IntegerCase{"\t1", std::nullopt}, IntegerCase{"1.5", std::nullopt},
        IntegerCase{"--1", std::nullopt}, IntegerCase{"$G", std::nullopt},
        IntegerCase{"2147483648", std::nullopt}, IntegerCase{"-2147483649", std::nullopt},
        IntegerCase{"99999999999999999999", std::nullopt},
        IntegerCase{"$100000000", std::nullopt}));

struct FieldsCase {
  const char* text;
  std::optional<SubtitleTime> ms;
};

class ParseSubtitleTimeFieldsTest : public ::testing::TestWithParam<FieldsCase> {};

TEST_P(ParseSubtitleTimeFieldsTest, ReadsFixedColumns) {
  EXPECT_EQ(ParseSubtitleTimeFields(GetParam().text), GetParam().ms) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ParseSubtitleTimeFieldsTest,
    ::testing::Values(
        FieldsCase{"01:02:03,004", 3'723'004}, FieldsCase{"01x02y03z004", 3'723'004},
        FieldsCase{"00:75:00,000", 4'500'000}, FieldsCase{"00:00:01,000 trailing", 1'000},
        FieldsCase{"99:99:99,999", 362'439'999}, FieldsCase{"-1:00:00,000", -3'600'000},
        FieldsCase{"00:00:01,5", 1'005}, FieldsCase{" 1:02:03,004", 3'723'004},
        // The edit boxes' first text has no millisecond field.
        FieldsCase{"00:00:00", std::nullopt}, FieldsCase{"", std::nullopt},
        // One leading blank shifts every field by a column.
        FieldsCase{" 01:02:03,004", std::nullopt}, FieldsCase{"00:00:-01,-500", std::nullopt},
        FieldsCase{"aa:00:00,000", std::nullopt}));

struct LineCase {
  const char* line;
  SubtitleTime begin;
  SubtitleTime end;
};

class TimeLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(TimeLineTest, ReadsBeginAndEndSilently) {
  EXPECT_EQ(ParseBeginTime(GetParam().line), GetParam().begin) << GetParam().line;
  EXPECT_EQ(ParseEndTime(GetParam().line), GetParam().end) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TimeLineTest,
    ::testing::Values(LineCase{"00:00:01,000 --> 00:00:02,000", 1'000, 2'000},
                      LineCase{"00:00:01,000-->00:00:02,000", 0, 2'000},
                      LineCase{"00:00:05,000", 0, 5'000},
                      LineCase{"\t00:00:01,000 --> 00:00:02,000\t", 1'000, 2'000},
                      LineCase{"00:00:01,000 --> 00:00:02,000,999 extra", 1'000, 2'000},
                      LineCase{"00:00:01,000 -->", 1'000, 0},
                      LineCase{" 00:00:01,000 --> x", 0, 0}, LineCase{"", 0, 0},
                      LineCase{"garbage line", 0, 0},
                      // Three-digit hours shift the columns, so they do not read back.
                      LineCase{"01:00:00,000 --> 100:00:00,000", 3'600'000, 0}));

struct MulDivCase {
  std::int32_t x, y, z, result;
};

class MulDivTest : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsHalfAwayFromZero) {
  const auto& c = GetParam();
  EXPECT_EQ(MulDiv(c.x, c.y, c.z), c.result) << c.x << " * " << c.y << " / " << c.z;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MulDivTest,
    ::testing::Values(MulDivCase{1'000, 10'000, 4'000, 2'500}, MulDivCase{1, 1, 2, 1},
                      MulDivCase{-1, 1, 2, -1}, MulDivCase{1, -1, 2, -1}, MulDivCase{-1, -1, 2, 1},
                      MulDivCase{1, 1, 3, 0}, MulDivCase{2, 1, 3, 1}, MulDivCase{-2, 1, 3, -1},
                      MulDivCase{5, 1, 0, -1},
                      // The product needs 64 bits; the quotient fits again.
                      MulDivCase{2'000'000'000, 2'000'000'000, 2'000'000'000, 2'000'000'000},
                      MulDivCase{3'723'004, 10'000, 7'446'008, 5'000},
                      // A quotient outside 32 bits is reported like a zero divisor.
                      MulDivCase{2'000'000'000, 2, 1, -1}));

}  // namespace
}  // namespace orlisk
