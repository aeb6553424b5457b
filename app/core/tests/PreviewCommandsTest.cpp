#include <gtest/gtest.h>

#include <cmath>

#include "FakeSeams.h"

namespace orlisk::testing {
namespace {

struct Preview : ::testing::Test {
  Rig rig;
  MainState& s = rig.state;
  MainController& c = rig.controller;
  void SetUp() override { rig.openVideo(); }
  // Renders one frame in preview mode with the reader standing at `t`.
  bool drawsAt(SubtitleTime t) {
    rig.reader.position = t;
    auto before = rig.transform.draws.size();
    c.RenderFrame(Frame{1, 1, 4, {0, 0, 0, 0}});
    return rig.transform.draws.size() > before;
  }
};

TEST_F(Preview, StrictTimesAndAForwardOnlyCursor) {
  rig.addRow(1000, 2000, "first");
  rig.addRow(2500, 3000, "second");
  c.cb_prsubClick(true);
  c.Play();  // preview playback resets the cursor and takes the count
  c.Pause();
  EXPECT_EQ(s.PreviewCount, 2);
  struct Row {
    SubtitleTime t;
    bool drawn;
    int cursorAfter;
  };
  for (Row row : {Row{1000, false, 0}, Row{1001, true, 0}, Row{1999, true, 0}, Row{2000, false, 0},
                  Row{2001, false, 1}, Row{1500, false, 1}, Row{2600, true, 1}, Row{3100, false, 2},
                  Row{3200, false, 2}}) {
    EXPECT_EQ(drawsAt(row.t), row.drawn) << row.t;
    EXPECT_EQ(s.SubtitleCursor, row.cursorAfter) << row.t;
  }
}

TEST_F(Preview, PlayResetsTheCursorOnlyInPreviewMode) {
  rig.addRow(1000, 2000, "first");
  s.SubtitleCursor = 1;
  c.Play();
  EXPECT_EQ(s.SubtitleCursor, 1);
  c.StopPlayback();
  c.cb_prsubClick(true);
  c.Play();
  EXPECT_EQ(s.SubtitleCursor, 0);
  EXPECT_EQ(s.PreviewCount, 1);
}

TEST_F(Preview, RowsRemovedDuringPreviewNeverLetTheCursorPassTheList) {
  rig.addRow(1000, 2000, "first");
  rig.addRow(3000, 4000, "second");
  c.cb_prsubClick(true);
  c.Play();
  c.Pause();
  rig.list.selected = 1;
  c.RemoveSubtitle();  // allowed while paused; PreviewCount still says 2
  EXPECT_FALSE(drawsAt(2500));
  EXPECT_EQ(s.SubtitleCursor, 1);
  EXPECT_FALSE(drawsAt(3500));
  EXPECT_EQ(s.SubtitleCursor, 1);
}

TEST_F(Preview, EditModeDrawsTheWholeMemoAtThePlacementWithTheOutline) {
  s.Placement = {.X = 12, .Y = 34, .DrawLevel = 240, .Centred = false};
  s.Style.BorderEnabled = true;
  rig.memo.content = "Hi";
  rig.transform.draws.clear();
  c.RenderFrame(Frame{1, 1, 4, {0, 0, 0, 0}});
  ASSERT_EQ(rig.transform.draws.size(), 1u);  // the transform strokes the outline itself
  EXPECT_TRUE(rig.transform.draws.back().style.BorderEnabled);
  EXPECT_EQ(rig.transform.draws.back().x, 12);
  EXPECT_EQ(rig.transform.draws.back().y, 34);
  EXPECT_EQ(rig.transform.draws.back().text, "Hi");
  EXPECT_EQ(rig.transform.draws.back().level, 240);
}

TEST_F(Preview, SwitchingModeRedrawsNothingUntilTheNextRefresh) {
  auto shown = rig.view.shownFrames.size();
  c.cb_prsubClick(true);
  EXPECT_FALSE(s.EditMode);
  EXPECT_EQ(rig.view.shownFrames.size(), shown);
  c.cb_prsubClick(false);
  EXPECT_TRUE(s.EditMode);
}

TEST_F(Preview, RefreshDoesNothingWhilePlayingWritingOrWithoutVideo) {
  struct Row {
    bool playing, writing, video;
    bool shows;
  };
  for (Row row : {Row{false, false, true, true}, Row{true, false, true, false}, Row{false, true, true, false},
                  Row{false, false, false, false}}) {
    Rig r;
    if (row.video) r.openVideo();
    r.state.IsPlaying = row.playing;
    r.state.IsWriting = row.writing;
    auto before = r.view.shownFrames.size();
    r.controller.RefreshFrame();
    EXPECT_EQ(r.view.shownFrames.size() > before, row.shows);
  }
}

TEST_F(Preview, RefreshShowsTheKeptFrameAndKeepsIt) {
  rig.skin.playbar = 3000;
  c.PlaybarPress();
  c.PlaybarRelease();
  c.RefreshFrame();
  EXPECT_EQ(FakeVideoReader::FrameTime(rig.view.shownFrames.back()), 3000);
  EXPECT_EQ(FakeVideoReader::FrameTime(s.CurrentFrame), 3000);
}

TEST_F(Preview, ChoosingAFontTakesItsColourAndRedraws) {
  SubtitleStyle chosen = s.Style;
  chosen.Font.Face = "Liberation Serif";
  chosen.TextColor = 0x00FF00;
  rig.fonts.next = chosen;
  auto shown = rig.view.shownFrames.size();
  c.ChooseSubtitleFont();
  EXPECT_EQ(s.Style.Font.Face, "Liberation Serif");
  EXPECT_EQ(s.Style.TextColor, 0x00FF00u);
  EXPECT_EQ(rig.view.shownFrames.size(), shown + 1);
  rig.fonts.next.reset();
  c.ChooseSubtitleFont();
  EXPECT_EQ(s.Style.Font.Face, "Liberation Serif");
  EXPECT_EQ(rig.view.shownFrames.size(), shown + 1);
}

// The view is 566 x 378 over a 320 x 240 video; the subtitle's top is at
// source y 177 (240 - 63), view y 279; the band is 16 pixels (the font's points).
struct Placement : Preview {};

TEST_F(Placement, TheBandIsVerticalOnlyAndStrict) {
  ASSERT_EQ(s.Placement.Y, 177);
  struct Row {
    int x, y;
    bool hand;
  };
  for (Row row : {Row{5, 279, false}, Row{5, 280, true}, Row{500, 294, true}, Row{5, 295, false},
                  Row{300, 100, false}}) {
    c.VideoViewMouseMove(row.x, row.y);
    ASSERT_TRUE(rig.view.hand.has_value());
    EXPECT_EQ(*rig.view.hand, row.hand) << row.x << "," << row.y;
    EXPECT_FALSE(s.AtHand.IsDraggingSubtitle());
  }
}

TEST_F(Placement, TheLeftButtonIsAskedAtTheMoveAndTheDragKeepsItsOffsets) {
  s.Placement.Centred = false;  // placed by hand: the text begins at X
  c.VideoViewMouseMove(100, 285);
  EXPECT_FALSE(s.AtHand.IsDraggingSubtitle());  // pressing alone starts nothing
  rig.mouse.left = true;
  c.VideoViewMouseMove(100, 285);
  ASSERT_TRUE(s.AtHand.IsDraggingSubtitle());
  EXPECT_EQ(s.DragOffsetY, 6);
  // The 4:3 picture is drawn 504 x 378 at x 31, between black bars.
  EXPECT_EQ(s.DragOffsetX, 100 - (31 + MulDiv(10, 504, 320)));
  auto shown = rig.view.shownFrames.size();
  c.VideoViewMouseMove(200, 185);
  EXPECT_EQ(s.Placement.X, MulDiv(200 - s.DragOffsetX - 31, 320, 504));
  EXPECT_EQ(s.Placement.Y, MulDiv(185 - 6, 240, 378));
  EXPECT_EQ(rig.view.shownFrames.size(), shown + 1);
  c.VideoViewMouseUp();
  EXPECT_FALSE(s.AtHand.IsDraggingSubtitle());
}

TEST_F(Placement, DraggingPastTheLeftEdgeGivesNegativeCoordinates) {
  s.Placement.Centred = false;
  rig.mouse.left = true;
  c.VideoViewMouseMove(100, 285);
  c.VideoViewMouseMove(0, 0);
  EXPECT_LT(s.Placement.X, 0);
  EXPECT_LT(s.Placement.Y, 0);
}

TEST_F(Placement, NearingTheRightOrBottomEdgeEndsTheDragWherePlaced) {
  for (auto [x, y] : {std::pair{556, 200}, std::pair{300, 368}}) {
    Rig r;
    r.openVideo();
    r.mouse.left = true;
    r.controller.VideoViewMouseMove(100, 285);
    r.controller.VideoViewMouseMove(120, 290);
    int placedX = r.state.Placement.X, placedY = r.state.Placement.Y;
    r.controller.VideoViewMouseMove(x, y);
    EXPECT_FALSE(r.state.AtHand.IsDraggingSubtitle());
    EXPECT_EQ(r.state.Placement.X, placedX);
    EXPECT_EQ(r.state.Placement.Y, placedY);
  }
  // Just inside the margin the drag goes on.
  rig.mouse.left = true;
  c.VideoViewMouseMove(100, 285);
  c.VideoViewMouseMove(555, 367);
  EXPECT_TRUE(s.AtHand.IsDraggingSubtitle());
}

// A centred text is taken where it is drawn. Moved up or down (up to 8 view
// pixels astray) it stays centred; moved further sideways it keeps the x the
// mouse gives it from then on.
TEST_F(Placement, ACentredTextStaysCentredUnlessMovedSideways) {
  struct Row {
    int dx;
    bool centred;
  };
  for (const Row row : {Row{0, true}, Row{8, true}, Row{-8, true}, Row{9, false}, Row{-40, false}}) {
    Rig r;
    r.openVideo();
    ASSERT_TRUE(r.state.Placement.Centred);
    r.memo.content = "HIHI\r\nHI";  // the widest line is 40 pixels wide
    // The 4:3 picture is drawn 504 x 378 at x 31; the text 140 source pixels in.
    const int textLeft = 31 + MulDiv(CentredLineX(320, 40), 504, 320);
    r.mouse.left = true;
    r.controller.VideoViewMouseMove(textLeft + 5, 285);
    ASSERT_TRUE(r.state.AtHand.IsDraggingSubtitle());
    EXPECT_EQ(r.state.DragOffsetX, 5);
    r.controller.VideoViewMouseMove(textLeft + 5 + row.dx, 285 - 50);
    EXPECT_EQ(r.state.Placement.Centred, row.centred) << row.dx;
    EXPECT_EQ(r.state.Placement.X, row.centred ? 10 : MulDiv(textLeft + row.dx - 31, 320, 504)) << row.dx;
    EXPECT_EQ(r.state.Placement.Y, MulDiv(285 - 50 - r.state.DragOffsetY, 240, 378)) << row.dx;
    r.controller.VideoViewMouseMove(textLeft + 5, 285);  // back again: placed by hand stays so
    EXPECT_EQ(r.state.Placement.Centred, row.centred) << row.dx;
  }
}

TEST(FitPicture, KeepsTheAspectRatioCentredBetweenBars) {
  struct Row {
    int viewW, viewH, picW, picH;
    PictureRect expected;
  };
  for (Row row : {Row{566, 378, 640, 360, {0, 30, 566, 318}},   // 16:9 in 3:2: bars above and below
                  Row{566, 378, 320, 240, {31, 0, 504, 378}},   // 4:3 in 3:2: bars left and right
                  Row{600, 400, 300, 200, {0, 0, 600, 400}},    // the same shape fills the view
                  Row{566, 378, 4000, 10, {0, 188, 566, 1}},    // a sliver keeps a row of pixels
                  Row{566, 378, 0, 240, {0, 0, 0, 0}}}) {       // no picture: nothing to fit
    const PictureRect got = FitPicture(row.viewW, row.viewH, row.picW, row.picH);
    EXPECT_EQ(got.X, row.expected.X) << row.picW << "x" << row.picH;
    EXPECT_EQ(got.Y, row.expected.Y) << row.picW << "x" << row.picH;
    EXPECT_EQ(got.Width, row.expected.Width) << row.picW << "x" << row.picH;
    EXPECT_EQ(got.Height, row.expected.Height) << row.picW << "x" << row.picH;
  }
}

TEST(Placement16by9, AWidePictureMapsThroughItsLetterboxAndADragInTheBarsStaysOnThePicture) {
  Rig r;
  r.reader.width = 640;
  r.reader.height = 360;
  r.openVideo();  // drawn 566 x 318 at y 30
  r.state.Placement.X = 10;
  r.state.Placement.Y = 200;
  r.state.Placement.Centred = false;
  const int top = 30 + MulDiv(200, 318, 360);
  r.mouse.left = true;
  r.controller.VideoViewMouseMove(100, top + 3);
  ASSERT_TRUE(r.state.AtHand.IsDraggingSubtitle());
  // Straight down by 50 view pixels is 50 * 360 / 318 source pixels.
  r.controller.VideoViewMouseMove(100, top + 3 + 50);
  EXPECT_EQ(r.state.Placement.Y, 200 + MulDiv(50, 360, 318));
  // Into the bar above the picture: the mouse is held at the picture's top.
  r.controller.VideoViewMouseMove(100, 5);
  EXPECT_EQ(r.state.Placement.Y, MulDiv(-3, 360, 318));
}

// 720x576 of 16:11 samples is shown 1047x576 wide: 566x311 at y 33 of the view.
TEST(PlacementWideSamples, TheMouseMapsThroughThePictureInItsDisplayedShape) {
  Rig r;
  r.reader.width = 720;
  r.reader.height = 576;
  r.reader.aspect = {16, 11};
  r.openVideo();
  r.state.Placement.X = 100;
  r.state.Placement.Y = 400;
  r.state.Placement.Centred = false;
  const int top = 33 + MulDiv(400, 311, 576);
  r.mouse.left = true;
  r.controller.VideoViewMouseMove(200, top + 3);
  ASSERT_TRUE(r.state.AtHand.IsDraggingSubtitle());
  // 100 view pixels right are 127 source pixels, 50 up are 93.
  r.controller.VideoViewMouseMove(300, top + 3 - 50);
  EXPECT_EQ(r.state.Placement.X, 228);
  EXPECT_EQ(r.state.Placement.Y, 307);
}

// Playback hands the view pictures already scaled to its 566 x 318 picture
// rectangle, with the placement still in the source's 1920 x 1080 pixels. A
// subtitle dragged to a view pixel is drawn on that picture at exactly that
// pixel: view -> source -> scaled picture comes back where it started.
TEST(PlacementOnScaledPictures, ADraggedPlaceIsDrawnOnTheViewsPictureAtTheMousesPixel) {
  Rig r;
  r.reader.width = 1920;
  r.reader.height = 1080;
  r.openVideo();
  const PictureRect picture = FitPicture(566, 378, 1920, 1080);
  ASSERT_EQ(picture.Width, 566);
  ASSERT_EQ(picture.Height, 318);
  r.state.Placement.X = 0;
  r.state.Placement.Y = 900;
  r.state.Placement.Centred = false;
  const int top = picture.Y + MulDiv(900, picture.Height, 1080);
  r.mouse.left = true;
  r.controller.VideoViewMouseMove(3, top + 2);
  ASSERT_TRUE(r.state.AtHand.IsDraggingSubtitle());
  for (int x = 3; x < 556; x += 7) {
    for (int y = picture.Y + 2; y < picture.Y + picture.Height; y += 11) {
      r.controller.VideoViewMouseMove(x, y);
      ASSERT_TRUE(r.state.AtHand.IsDraggingSubtitle());
      const SubtitlePlacement& place = r.state.Placement;
      // Where the text transform puts the place on the scaled picture.
      const double drawnX = place.X * static_cast<double>(picture.Width) / 1920.0;
      const double drawnY = place.Y * static_cast<double>(picture.Height) / 1080.0;
      EXPECT_EQ(std::lround(drawnX), x - r.state.DragOffsetX - picture.X) << x << "," << y;
      EXPECT_EQ(std::lround(drawnY), y - r.state.DragOffsetY - picture.Y) << x << "," << y;
    }
  }
}

TEST_F(Placement, NothingWithoutVideo) {
  Rig none;
  none.mouse.left = true;
  none.controller.VideoViewMouseMove(100, 5);
  EXPECT_FALSE(none.view.hand.has_value());
  EXPECT_FALSE(none.state.AtHand.IsDraggingSubtitle());
}

}  // namespace
}  // namespace orlisk::testing
