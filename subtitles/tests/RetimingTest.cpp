// The arithmetic behind nudges, frame steps, shifts, two-point sync and
// frame-rate conversion, on the frame grids of 23.976, 25 and 29.97 fps.
#include <gtest/gtest.h>

#include "subtitles/Retiming.h"

namespace orlisk {
namespace {

constexpr FrameRate kFilm{24000, 1001};
constexpr FrameRate kPal{25, 1};
constexpr FrameRate kNtsc{30000, 1001};
using R = RetimeRefusal;

TEST(Retiming, ReportedRatesBecomeExactFractions) {
  const struct {
    double fps;
    FrameRate expected;
  } rows[] = {{23.976023976, kFilm}, {23.976, kFilm}, {29.97002997, kNtsc}, {59.94005994, {60000, 1001}},
              {25.0, {25000, 1000}}, {24.0, {24000, 1000}}, {12.5, {12500, 1000}},  {0.0, {25, 1}}};
  for (const auto& row : rows) EXPECT_EQ(FrameRateOf(row.fps), row.expected) << row.fps;
}

TEST(Retiming, NudgesLandOnTheFrameGridOrMove100Milliseconds) {
  const struct {
    FrameRate rate;
    SubtitleSpan span;
    TimeEdge edge;
    NudgeStep step;
    R refusal;
    SubtitleSpan expected;
  } rows[] = {
      {kPal, {1000, 3000}, TimeEdge::Begin, NudgeStep::FrameLater, R::None, {1040, 3000}},
      {kPal, {1010, 3000}, TimeEdge::Begin, NudgeStep::FrameEarlier, R::None, {960, 3000}},  // from inside frame 25
      {kFilm, {1000, 3000}, TimeEdge::Begin, NudgeStep::FrameLater, R::None, {1001, 3000}},
      {kFilm, {1000, 3000}, TimeEdge::Begin, NudgeStep::FrameEarlier, R::None, {918, 3000}},
      {kFilm, {0, 3600000}, TimeEdge::End, NudgeStep::FrameLater, R::None, {0, 3600014}},  // an hour in
      {kFilm, {0, 3600000}, TimeEdge::End, NudgeStep::FrameEarlier, R::None, {0, 3599930}},
      {kNtsc, {1000, 3000}, TimeEdge::Begin, NudgeStep::FrameLater, R::None, {1001, 3000}},
      {kNtsc, {1000, 3000}, TimeEdge::Begin, NudgeStep::FrameEarlier, R::None, {935, 3000}},
      {kNtsc, {0, 3600000}, TimeEdge::End, NudgeStep::FrameLater, R::None, {0, 3600030}},
      {kNtsc, {1000, 3000}, TimeEdge::End, NudgeStep::Earlier100, R::None, {1000, 2900}},
      {kNtsc, {1000, 3000}, TimeEdge::Begin, NudgeStep::Later100, R::None, {1100, 3000}},
      {kPal, {5000, 0}, TimeEdge::Begin, NudgeStep::Later100, R::None, {5100, 0}},  // end not stamped yet
      {kPal, {980, 1000}, TimeEdge::Begin, NudgeStep::FrameLater, R::None, {1000, 1000}},
      // Refused: the subtitle keeps its times.
      {kPal, {20, 3000}, TimeEdge::Begin, NudgeStep::FrameEarlier, R::BeforeStart, {20, 3000}},
      {kFilm, {50, 3000}, TimeEdge::Begin, NudgeStep::Earlier100, R::BeforeStart, {50, 3000}},
      {kPal, {9000, 3600100}, TimeEdge::End, NudgeStep::Later100, R::PastVideoEnd, {9000, 3600100}},
      {kPal, {9000, 3600080}, TimeEdge::End, NudgeStep::FrameLater, R::PastVideoEnd, {9000, 3600080}},
      {kPal, {980, 1000}, TimeEdge::End, NudgeStep::FrameEarlier, R::EndBeforeBegin, {980, 1000}},
      {kFilm, {1000, 1000}, TimeEdge::Begin, NudgeStep::Later100, R::EndBeforeBegin, {1000, 1000}},
  };
  for (const auto& row : rows) {
    const NudgeResult result = Nudge(row.span, row.edge, row.step, row.rate, 3600100);  // a video of an hour
    EXPECT_EQ(result.Refusal, row.refusal) << row.span.Begin << " " << row.span.End;
    EXPECT_EQ(result.Times, row.expected) << row.span.Begin << " " << row.span.End;
  }
}

TEST(Retiming, StillStepsGoFrameByFrameOrBySecondsOntoTheGrid) {
  const struct {
    FrameRate rate;
    SubtitleTime from;
    int frames;          // 0: a step of `ms` instead
    SubtitleTime ms;
    R refusal;
    SubtitleTime expected;
  } rows[] = {
      {kPal, 1000, 1, 0, R::None, 1040},       {kPal, 1010, -1, 0, R::None, 960},
      {kFilm, 1000, 1, 0, R::None, 1001},      {kFilm, 1001, -1, 0, R::None, 960},
      {kNtsc, 1001, 1, 0, R::None, 1035},      {kNtsc, 1001, -1, 0, R::None, 968},
      {kPal, 1010, 0, 1000, R::None, 2000},    {kNtsc, 1000, 0, -1000, R::None, 0},
      {kFilm, 5000, 0, 1000, R::None, 5965},   {kPal, 0, -1, 0, R::BeforeStart, 0},
      {kPal, 500, 0, -1000, R::BeforeStart, 0}, {kPal, 9960, 1, 0, R::PastVideoEnd, 0},
      {kNtsc, 9500, 0, 1000, R::PastVideoEnd, 0},
  };
  for (const auto& row : rows) {
    const StepResult result = row.frames != 0 ? StepFrames(row.from, row.frames, row.rate, 10000)
                                              : StepMilliseconds(row.from, row.ms, row.rate, 10000);
    EXPECT_EQ(result.Refusal, row.refusal) << row.from << " " << row.frames << " " << row.ms;
    if (row.refusal == R::None) {
      EXPECT_EQ(result.Time, row.expected) << row.from << " " << row.frames;
    }
  }
}

// A timed subtitle, one whose end is not stamped, a blank row, a timed one.
const std::vector<SubtitleSpan> kList = {{1000, 2000}, {3000, 0}, {0, 0}, {5000, 6000}};

struct BulkRow {
  const char* what;
  RetimeResult result;
  R refusal;
  int row;
  std::vector<SubtitleSpan> expected;
};

void ExpectRows(std::initializer_list<BulkRow> rows) {
  for (const auto& row : rows) {
    EXPECT_EQ(row.result.Refusal, row.refusal) << row.what;
    EXPECT_EQ(row.result.Row, row.row) << row.what;
    EXPECT_EQ(row.result.Times, row.expected) << row.what;
  }
}

TEST(Retiming, ShiftsMoveTimedSubtitlesFromTheFirstOnWithinTheVideo) {
  ExpectRows({
      {"all later", ShiftTimes(kList, 0, 500, 10000), R::None, -1, {{1500, 2500}, {3500, 0}, {0, 0}, {5500, 6500}}},
      {"from the last", ShiftTimes(kList, 3, -500, 10000), R::None, -1,
       {{1000, 2000}, {3000, 0}, {0, 0}, {4500, 5500}}},
      {"to zero", ShiftTimes(kList, 0, -1000, 0), R::None, -1, {{0, 1000}, {2000, 0}, {0, 0}, {4000, 5000}}},
      {"before 0", ShiftTimes(kList, 0, -1001, 10000), R::BeforeStart, 0, {}},
      {"past the end", ShiftTimes(kList, 1, 4001, 10000), R::PastVideoEnd, 3, {}},
      {"no video, no end", ShiftTimes(kList, 3, 1000000, 0), R::None, -1,
       {{1000, 2000}, {3000, 0}, {0, 0}, {1005000, 1006000}}},
  });
}

TEST(Retiming, TwoPointSyncMapsEveryTimeByTheLineThroughThePoints) {
  const std::vector<SubtitleSpan> spans = {{10000, 12000}, {20000, 22000}, {30000, 31000}};
  ExpectRows({
      {"stretched", SyncTwoPoints(spans, {0, 11000}, {2, 33000}, 60000), R::None, -1,
       {{11000, 13200}, {22000, 24200}, {33000, 34100}}},
      {"points given backwards", SyncTwoPoints(spans, {2, 33000}, {0, 11000}, 60000), R::None, -1,
       {{11000, 13200}, {22000, 24200}, {33000, 34100}}},
      {"rounded", SyncTwoPoints(spans, {0, 10000}, {1, 20003}, 60000), R::None, -1,
       {{10000, 12001}, {20003, 22004}, {30006, 31006}}},
      {"same right time twice", SyncTwoPoints(spans, {0, 15000}, {2, 15000}, 60000), R::SameTimeTwice, -1, {}},
      {"one subtitle twice", SyncTwoPoints(spans, {1, 15000}, {1, 16000}, 60000), R::SameTimeTwice, -1, {}},
      {"wrong order", SyncTwoPoints(spans, {0, 33000}, {2, 11000}, 60000), R::WrongOrder, -1, {}},
      {"row outside", SyncTwoPoints(spans, {0, 1000}, {3, 2000}, 60000), R::SameTimeTwice, 3, {}},
      {"before 0", SyncTwoPoints(spans, {1, 1000}, {2, 11000}, 60000), R::BeforeStart, 0, {}},
      {"past the end", SyncTwoPoints(spans, {0, 10000}, {1, 40000}, 60000), R::PastVideoEnd, 2, {}},
      {"right time past the end", SyncTwoPoints(spans, {0, 10000}, {1, 70000}, 60000), R::PastVideoEnd, 1, {}},
  });
}

TEST(Retiming, FrameRateConversionScalesByTheRatesRatio) {
  const std::vector<SubtitleSpan> spans = {{24000, 48000}, {0, 0}, {96000, 0}};
  ExpectRows({
      {"25 to 23.976", ConvertFrameRate(spans, kPal, kFilm, 0), R::None, -1, {{25025, 50050}, {0, 0}, {100100, 0}}},
      {"23.976 to 25", ConvertFrameRate({{25025, 50050}}, kFilm, kPal, 0), R::None, -1, {{24000, 48000}}},
      {"30 to 29.97", ConvertFrameRate({{1000, 30000}}, {30, 1}, kNtsc, 0), R::None, -1, {{1001, 30030}}},
      {"24 to 25", ConvertFrameRate({{1000, 25000}}, {24, 1}, kPal, 0), R::None, -1, {{960, 24000}}},
      {"same rate", ConvertFrameRate(spans, {24000, 1000}, {24, 1}, 0), R::SameFrameRate, -1, {}},
      {"past the end", ConvertFrameRate(spans, kPal, kFilm, 100000), R::PastVideoEnd, 2, {}},
  });
}

}  // namespace
}  // namespace orlisk
