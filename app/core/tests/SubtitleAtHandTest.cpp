// The subtitle at hand: the model's answers in each state, and what the
// commands built on it keep of the user's work (picked rows dragged, boxes and
// memo that show what is at hand, a new video that starts clean).
#include <gtest/gtest.h>

#include <functional>

#include "FakeSeams.h"

namespace orlisk::testing {
namespace {

// Three rows "a", "b", "c" at (10, 100) in white with a blue outline.
SubtitleDocument ThreeRows() {
  SubtitleDocument doc;
  for (const char* text : {"a", "b", "c"}) {
    doc.appendRow(SubtitleRow{"", text});
    SubtitleEntry e;
    e.Text = text;
    e.Place = {.X = 10, .Y = 100, .DrawLevel = 240};
    e.TextColor = SubtitleStyle{}.TextColor;
    e.BorderColor = SubtitleStyle{}.BorderColor;
    e.Border = true;
    doc.resizeEntries(doc.rowCount());
    doc.entries().back() = e;
  }
  return doc;
}

TEST(SubtitleAtHandModel, EachStateAnswersWhereTypingStampsAndDragsGo) {
  struct Case {
    const char* name;
    std::function<void(SubtitleAtHand&)> steps;
    bool takesTyping;
    int row;              // shown, dragged, its times in the boxes
    int stampUnselected;  // where F3/F4 stamps go without a selection in the list
    int stampSelected;    // ... and with one
    const char* textAfterTyping[3];
    int placeMovedRow;    // the row a changed place goes to; -1 none
  };
  const Case cases[] = {
      {"nothing", [](SubtitleAtHand&) {}, false, -1, -1, 0, {"a", "b", "c"}, -1},
      {"new", [](SubtitleAtHand& h) { h.StartNew(2); }, true, 2, 2, 2, {"a", "b", "typed"}, 2},
      {"new, finished with F4",
       [](SubtitleAtHand& h) {
         h.StartNew(2);
         h.FinishTyping();
       },
       false, 2, 2, 2, {"a", "b", "c"}, 2},
      {"picked by a click", [](SubtitleAtHand& h) { h.Pick(1); }, false, 1, -1, 0, {"a", "b", "c"}, 1},
      {"taken up by Edit", [](SubtitleAtHand& h) { h.TakeUp(1); }, true, 1, -1, 1, {"a", "typed", "c"}, 1},
      {"picked after editing another: stamps stay with the edited one",
       [](SubtitleAtHand& h) {
         h.TakeUp(2);
         h.Pick(0);
       },
       false, 0, -1, 2, {"a", "b", "c"}, 0},
      {"picked after an undo", [](SubtitleAtHand& h) { h.PickForStamps(1); }, false, 1, -1, 1, {"a", "b", "c"}, 1},
      {"released",
       [](SubtitleAtHand& h) {
         h.StartNew(2);
         h.Release();
       },
       false, -1, -1, 0, {"a", "b", "c"}, -1},
      {"a row that fell off the list", [](SubtitleAtHand& h) { h.TakeUp(5); }, true, -1, -1, -1, {"a", "b", "c"}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SubtitleAtHand atHand;
    c.steps(atHand);
    EXPECT_EQ(atHand.TakesTyping(), c.takesTyping);
    EXPECT_EQ(atHand.Row(3), c.row);
    EXPECT_EQ(atHand.StampRow(3, -1), c.stampUnselected);
    EXPECT_EQ(atHand.StampRow(3, 1), c.stampSelected);

    SubtitleDocument doc = ThreeRows();
    atHand.Capture(doc, WindowSubtitle{.Text = "typed",
                                       .MemoEnabled = true,
                                       .Place = {.X = 50, .Y = 60, .DrawLevel = 240},
                                       .Style = SubtitleStyle{},
                                       .Cursor = 7});
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(doc.row(i).Subtitle, c.textAfterTyping[i]) << i;
      EXPECT_EQ(doc.entries()[static_cast<std::size_t>(i)].Text, c.textAfterTyping[i]) << i;
      EXPECT_EQ(doc.entries()[static_cast<std::size_t>(i)].Place.Y, i == c.placeMovedRow ? 60 : 100) << i;
    }
  }
}

TEST(SubtitleAtHandModel, ACaptureStoresNothingUnlessSomethingShownChanged) {
  SubtitleAtHand atHand;
  atHand.TakeUp(1);
  SubtitleDocument doc = ThreeRows();
  const DocumentSnapshot before = DocumentSnapshot::Of(doc);
  WindowSubtitle shown{.Text = "b", .MemoEnabled = true, .Place = {.X = 10, .Y = 100, .DrawLevel = 240}};
  shown.Style.Font.Face = "Another";  // the entries keep no font to draw with
  shown.Cursor = 9;                   // nor is the tag the user's work
  atHand.Capture(doc, shown);
  EXPECT_EQ(DocumentSnapshot::Of(doc), before);

  shown.Text = "changed";
  shown.MemoEnabled = false;  // a disabled memo is never captured
  atHand.Capture(doc, shown);
  EXPECT_EQ(DocumentSnapshot::Of(doc), before);
}

struct AtHandCommands : ::testing::Test, UserSession {
  void click(int row) {
    rig.list.selected = row;
    user([&] { c.SelectSubtitle(); });
  }
  // A whole drag with the left button from view (x, fromY) to (x, toY).
  void drag(int x, int fromY, int toY) {
    rig.mouse.left = true;
    for (int y : {fromY, toY}) mouseMove(x, y);
    user([&] { c.VideoViewMouseUp(); });
    rig.mouse.left = false;
  }
};

// Rows at source y 100 show at view y 158 over the 320 x 240 video (566 x 378
// view); their band runs to 174.
TEST_F(AtHandCommands, ADragAfterOnlyClickingARowMovesThatRowAsOneUndoStep) {
  rig.addRow(1000, 2000, "one");
  rig.addRow(3000, 4000, "two");
  s.Document.markSaved();
  history.startFresh();
  click(0);
  drag(200, 160, 60);
  const SubtitlePlacement moved = s.Document.entries()[0].Place;
  EXPECT_NE(moved.Y, 100);
  EXPECT_EQ(s.Document.entries()[1].Place.Y, 100);
  EXPECT_EQ(s.Document.row(0).Subtitle, "one");
  EXPECT_TRUE(s.Document.hasUnsavedChanges());
  EXPECT_EQ(history.undoCount(), 1u);

  click(1);
  click(0);
  EXPECT_EQ(s.Placement, moved);
  user([&] { c.Undo(); });
  EXPECT_EQ(s.Document.entries()[0].Place.Y, 100);
}

TEST_F(AtHandCommands, APickedRowIsDrawnAtItsOwnPlaceInItsOwnColours) {
  rig.addRow(1000, 2000, "high");
  rig.addRow(3000, 4000, "low");
  s.Document.entries()[0].Place.Y = 20;
  s.Document.entries()[1].Place.Y = 200;
  s.Document.entries()[1].TextColor = 0x0000FF;
  click(0);
  click(1);
  const CountingTransform::Drawn& text = rig.transform.draws.back();
  EXPECT_EQ(text.text, "low");
  EXPECT_EQ(text.y, 200);
  EXPECT_EQ(text.colour, 0x0000FFu);
  // Nothing was drawn at the other row's place on the way.
  for (const auto& drawn : rig.transform.draws) EXPECT_FALSE(drawn.text == "low" && drawn.y == 20);
}

TEST_F(AtHandCommands, TheBoxesAndTheMemoAlwaysShowWhatIsAtHand) {
  rig.addRow(1000, 9200, "earlier line");
  click(0);
  ASSERT_EQ(rig.endTime.content, "00:00:09,200");
  rig.skin.playtime = "00:00:05,400";
  user([&] { c.InsertSubtitle(); });
  EXPECT_EQ(rig.startTime.content, "00:00:05,400");
  EXPECT_EQ(rig.endTime.content, "00:00:00,000");  // not stamped yet
  EXPECT_TRUE(s.AtHand.TakesTyping());

  // F4 finishes the line: the memo types into nothing until F3 or Edit.
  rig.memo.type("third line");
  rig.skin.playtime = "00:00:07,000";
  user([&] { c.SetEndTime(); });
  EXPECT_FALSE(s.AtHand.TakesTyping());
  rig.memo.type("typed after F4");
  EXPECT_EQ(s.Document.row(1).Subtitle, "third line");

  user([&] { c.ClearSubtitles(); });
  EXPECT_EQ(rig.startTime.content, "00:00:00,000");
  EXPECT_EQ(rig.endTime.content, "00:00:00,000");
  EXPECT_FALSE(s.AtHand.TakesTyping());
}

TEST_F(AtHandCommands, ABlankRowTypesIntoItselfNotWithTheTextItDisplaced) {
  rig.addRow(1000, 2000, "one");
  rig.addRow(3000, 4000, "two");
  user([&] { c.InsertBlankSubtitle(); });  // no selection: before the last row
  EXPECT_EQ(rig.list.selected, 1);
  EXPECT_EQ(rig.memo.content, "");
  rig.memo.type("new");
  EXPECT_EQ(s.Document.row(1).Subtitle, "new");
  EXPECT_EQ(s.Document.row(2).Subtitle, "two");
}

TEST_F(AtHandCommands, ReadingASubtitleFileLetsGoOfTheSubtitleAtHand) {
  rig.skin.playtime = "00:00:05,000";
  user([&] { c.InsertSubtitle(); });
  rig.memo.type("typed before the read");
  s.Document.markSaved();
  const std::string file = rig.file("read.srt");
  testing::WriteBytes(file, "0\r\n00:00:01,000 --> 00:00:02,000\r\nfrom the file\r\n \r\n");
  user([&] { c.ReadSubtitleFile(file); });
  EXPECT_EQ(s.AtHand.kind(), SubtitleAtHand::Kind::Nothing);
  EXPECT_EQ(rig.memo.content, "");
  EXPECT_EQ(rig.endTime.content, "00:00:00,000");
  rig.memo.type("stray");
  EXPECT_EQ(s.Document.row(0).Subtitle, "from the file");
}

TEST_F(AtHandCommands, OpeningAnotherVideoStartsClean) {
  rig.skin.playtime = "00:00:05,000";
  user([&] { c.InsertSubtitle(); });
  rig.memo.type("old line");
  s.Document.markSaved();
  rig.openVideo("second.avi");
  EXPECT_EQ(s.AtHand.kind(), SubtitleAtHand::Kind::Nothing);
  EXPECT_EQ(rig.memo.content, "");
  EXPECT_EQ(rig.startTime.content, "00:00:00,000");
  EXPECT_EQ(rig.endTime.content, "00:00:00,000");
  ASSERT_FALSE(rig.transform.draws.empty());
  EXPECT_EQ(rig.transform.draws.back().text, "");  // no old text on the new picture
  rig.memo.type("stray");
  EXPECT_EQ(s.Document.rowCount(), 0);
}

}  // namespace
}  // namespace orlisk::testing
