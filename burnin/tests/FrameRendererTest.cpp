#include "burnin/FrameRenderer.h"

#include <gtest/gtest.h>

#include "RecordingTransform.h"

namespace orlisk {
namespace {

using testing::DrawCall;
using testing::RecordingTransform;

Frame SmallFrame() { return Frame{2, 1, 8, std::vector<std::uint8_t>(8, 0x40)}; }

SubtitleEntry Subtitle(SubtitleTime begin, SubtitleTime end, std::string text, bool border = true) {
  SubtitleEntry entry;
  entry.Place.X = 30;
  entry.Place.Y = 200;
  entry.Place.DrawLevel = 240;
  entry.Text = std::move(text);
  entry.TextColor = 0x00FFFFFF;
  entry.BorderColor = 0x00FF0000;
  entry.Border = border;
  entry.BeginTime = begin;
  entry.EndTime = end;
  return entry;
}

// What one preview frame did: the text drawn (empty when none) and the cursor after it.
struct PreviewStep {
  SubtitleTime T;
  std::string Drawn;
  int CursorAfter;
};

class PreviewSequence : public ::testing::Test {
 protected:
  void Expect(const std::vector<SubtitleEntry>& subtitles, const std::vector<PreviewStep>& steps) {
    int cursor = 0;
    for (const PreviewStep& step : steps) {
      transform.clear();
      RenderPreviewFrame(transform, SmallFrame(), subtitles, cursor,
                         static_cast<int>(subtitles.size()), step.T, SubtitleStyle{});
      SCOPED_TRACE("t = " + std::to_string(step.T));
      std::string drawn = transform.draws.empty() ? "" : transform.draws.back().Text;
      EXPECT_EQ(drawn, step.Drawn);
      EXPECT_EQ(cursor, step.CursorAfter);
    }
  }
  RecordingTransform transform;
};

TEST_F(PreviewSequence, ShowsOnlyStrictlyInsideTheSpanAndPassesAfterTheEnd) {
  Expect({Subtitle(1000, 2000, "first"), Subtitle(2001, 3000, "second")},
         {{999, "", 0},
          {1000, "", 0},
          {1001, "first", 0},
          {1999, "first", 0},
          {2000, "", 0},
          {2001, "", 1},  // passes the first; the second waits for the next frame
          {2002, "second", 1},
          {3000, "", 1},
          {3040, "", 2},
          {5000, "", 2}});
}

TEST_F(PreviewSequence, OverlappingSubtitlesShowOnlyTheOneAtTheCursor) {
  Expect({Subtitle(1000, 3000, "long"), Subtitle(1500, 4000, "overlap")},
         {{1600, "long", 0}, {2999, "long", 0}, {3001, "", 1}, {3040, "overlap", 1}});
}

TEST_F(PreviewSequence, EmptyAndBackwardSpansAreNeverDrawnAndPassedOnceExceeded) {
  Expect({Subtitle(1000, 1000, "empty span"), Subtitle(3000, 2000, "backward"),
          Subtitle(0, 9000, "late")},
         {{1000, "", 0}, {1001, "", 1}, {2000, "", 1}, {2500, "", 2}, {2540, "late", 2}});
}

TEST_F(PreviewSequence, ASubtitleEarlierThanTheOneBeforeItIsSkipped) {
  Expect({Subtitle(5000, 6000, "first"), Subtitle(1000, 2000, "earlier")},
         {{5500, "first", 0}, {6040, "", 1}, {6080, "", 2}, {7000, "", 2}});
}

TEST_F(PreviewSequence, AfterAJumpTheCursorCatchesUpOneSubtitlePerFrame) {
  Expect({Subtitle(0, 100, "a"), Subtitle(200, 300, "b"), Subtitle(400, 500, "c"),
          Subtitle(0, 20000, "d")},
         {{10000, "", 1}, {10040, "", 2}, {10080, "", 3}, {10120, "d", 3}});
}

TEST(RenderPreviewFrame, EachSubtitleKeepsItsColoursAndOutlineWithTheFontAndBackdropInUse) {
  RecordingTransform transform;
  std::vector<SubtitleEntry> subtitles{Subtitle(0, 1000, "plain", false), Subtitle(1000, 2000, "outlined", true)};
  subtitles[1].TextColor = 0x0000FFFF;
  SubtitleStyle inUse;
  inUse.Font.Face = "Liberation Serif";
  inUse.Font.Height = -30;
  inUse.TextColor = 0x00123456;  // the colours in use are not the subtitles'
  inUse.BorderEnabled = false;
  inUse.Backdrop = {.Shape = SubtitleBackdrop::Kind::Box, .Opacity = 40};
  int cursor = 0;
  for (SubtitleTime t : {500, 1040, 1080}) {
    transform.clear();
    const Frame result = RenderPreviewFrame(transform, SmallFrame(), subtitles, cursor, 2, t, inUse);
    EXPECT_EQ(result.Pixels, SmallFrame().Pixels);
    if (t == 1040) {
      EXPECT_EQ(transform.calls, (std::vector<std::string>{"LoadFrame", "TakeFrame"}));  // passing the first
      continue;
    }
    // One draw: the transform strokes the outline and lays the backdrop itself.
    EXPECT_EQ(transform.calls, (std::vector<std::string>{"LoadFrame", "DrawText", "TakeFrame"}));
    const DrawCall& drawn = transform.draws.at(0);
    const SubtitleEntry& due = subtitles[t < 1000 ? 0 : 1];
    EXPECT_EQ(drawn.Text, due.Text);
    EXPECT_EQ(drawn.Place, due.Place);
    EXPECT_DOUBLE_EQ(drawn.Strength, 0.9);
    EXPECT_EQ(drawn.Style, (SubtitleStyle{.Font = inUse.Font, .TextColor = due.TextColor,
                                          .BorderColor = due.BorderColor, .BorderEnabled = due.Border,
                                          .Backdrop = inUse.Backdrop}));
  }
}

struct CursorBoundCase {
  const char* Name;
  int Cursor;
  int PreviewCount;
  std::size_t ListSize;
};

class PreviewCursorBound : public ::testing::TestWithParam<CursorBoundCase> {};

TEST_P(PreviewCursorBound, FramesPassThroughWithoutTextOrCursorMove) {
  const CursorBoundCase& c = GetParam();
  RecordingTransform transform;
  std::vector<SubtitleEntry> subtitles(c.ListSize, Subtitle(0, 100, "past"));
  int cursor = c.Cursor;
  RenderPreviewFrame(transform, SmallFrame(), subtitles, cursor, c.PreviewCount, 5000,
                     SubtitleStyle{});
  EXPECT_EQ(transform.calls, (std::vector<std::string>{"LoadFrame", "TakeFrame"}));
  EXPECT_EQ(cursor, c.Cursor);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PreviewCursorBound,
    ::testing::Values(CursorBoundCase{"CursorAtCount", 2, 2, 2},
                      CursorBoundCase{"EmptyList", 0, 0, 0},
                      CursorBoundCase{"CountBelowList", 1, 1, 3},
                      // The list shrank after preview started: never read past its end.
                      CursorBoundCase{"ListShorterThanCount", 2, 5, 2}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RenderEditFrame, CapturesFirstThenDrawsTheWholeTypedText) {
  RecordingTransform transform;
  const EditText edit{.Text = std::string(300, 'w'),
                      .Place = {.X = 12, .Y = 34, .DrawLevel = 240},
                      .Style = {.Font = {}, .TextColor = 0x0000FFFF, .BorderColor = 0x00000080,
                                .BorderEnabled = true, .Backdrop = {}}};
  RenderEditFrame(transform, SmallFrame(), edit, [&] {
    transform.calls.push_back("capture");
  });
  EXPECT_EQ(transform.calls, (std::vector<std::string>{"LoadFrame", "capture", "DrawText", "TakeFrame"}));
  EXPECT_EQ(transform.draws.back().Text.size(), 300u);
  EXPECT_EQ(transform.draws.back().Place, edit.Place);
  EXPECT_EQ(transform.draws.back().Style, edit.Style);
}

TEST(RenderEditFrame, DrawsAnEmptyTextToo) {
  RecordingTransform transform;
  const EditText edit{.Text = "",
                      .Place = {.X = 5, .Y = 6, .DrawLevel = 240},
                      .Style = {.Font = {}, .TextColor = 0x00FFFFFF, .BorderColor = 0x00FF0000,
                                .BorderEnabled = false, .Backdrop = {}}};
  RenderEditFrame(transform, SmallFrame(), edit, nullptr);
  ASSERT_EQ(transform.draws.size(), 1u);
  EXPECT_EQ(transform.draws[0].Text, "");
}

}  // namespace
}  // namespace orlisk
