// Undo and redo through the commands, as the window runs them: every kind of
// change back to the start and forward again, typing runs, what the window
// shows after an undo, and the fresh history after reading and opening.
#include <gtest/gtest.h>

#include <fstream>

#include "FakeSeams.h"
#include "app/core/WindowTitle.h"

namespace orlisk::testing {
namespace {

struct Undo : ::testing::Test, UserSession {
  void at(const char* playtime) { rig.skin.playtime = playtime; }
  DocumentSnapshot now() const { return DocumentSnapshot::Of(s.Document); }
};

TEST_F(Undo, EveryKindOfChangeGoesBackToTheStartAndForwardAgain) {
  std::vector<std::pair<std::string, DocumentSnapshot>> states = {{"start", now()}};
  const auto step = [&](const std::string& name, const std::function<void()>& change) {
    change();
    ASSERT_NE(now(), states.back().second) << name << " changed nothing";
    states.push_back({name, now()});
    ASSERT_EQ(history.undoCount(), states.size() - 1) << name << " is not one step";
  };

  at("00:00:01,000");
  step("insert", [&] { user([&] { c.InsertSubtitle(); }); });
  step("typing", [&] {
    for (const char* typed : {"H", "He", "Hel", "Hello"}) type(typed);
  });
  step("placement drag", [&] {
    // The subtitle's band lies at view y 280..294 (see the placement tests).
    rig.mouse.left = true;
    mouseMove(100, 285);
    mouseMove(150, 200);
    mouseMove(200, 185);
    user([&] { c.VideoViewMouseUp(); });
    rig.mouse.left = false;
  });
  step("style", [&] {
    SubtitleStyle chosen = s.Style;
    chosen.TextColor = 0x00FF00;
    rig.fonts.next = chosen;
    user([&] { c.ChooseSubtitleFont(); });
  });
  at("00:00:02,500");
  step("end time", [&] { user([&] { c.SetEndTime(); }); });
  step("blank insert", [&] { user([&] { c.InsertBlankSubtitle(); }); });
  step("begin time", [&] {
    rig.list.selected = 0;
    user([&] { c.EditSubtitle(); });
    at("00:00:00,500");
    user([&] { c.SetBeginTime(); });
  });
  step("remove", [&] {
    rig.list.selected = 1;
    user([&] { c.RemoveSubtitle(); });
  });
  step("clear", [&] { user([&] { c.ClearSubtitles(); }); });
  EXPECT_EQ(states.back().second.Rows.size(), 0u);

  for (std::size_t i = states.size() - 1; i > 0; --i) {
    user([&] { c.Undo(); });
    EXPECT_EQ(now(), states[i - 1].second) << "undo of " << states[i].first;
  }
  EXPECT_FALSE(history.canUndo());
  for (std::size_t i = 1; i < states.size(); ++i) {
    user([&] { c.Redo(); });
    EXPECT_EQ(now(), states[i].second) << "redo of " << states[i].first;
  }
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.undoCount(), states.size() - 1) << "showing what was undone recorded a change";
}

TEST_F(Undo, ClearIsOneUndoAway) {
  for (int i = 0; i < 50; ++i) rig.addRow(i * 1000, i * 1000 + 500, "line " + std::to_string(i));
  history.startFresh();
  const DocumentSnapshot before = now();
  user([&] { c.ClearSubtitles(); });
  user([&] { c.Undo(); });
  EXPECT_EQ(now(), before);
  EXPECT_EQ(rig.list.selected, 0);
}

TEST_F(Undo, UndoingTypingKeepsEditingTheSameSubtitle) {
  at("00:00:01,000");
  user([&] { c.InsertSubtitle(); });
  type("Hi");
  user([] {});  // a click: the next typing is a run of its own
  type("Hi there");
  user([&] { c.Undo(); });
  EXPECT_EQ(rig.memo.content, "Hi");
  EXPECT_TRUE(rig.memo.enabled);
  type("Hi you");
  EXPECT_EQ(s.Document.row(0).Subtitle, "Hi you");
  EXPECT_EQ(s.Document.entries()[0].Text, "Hi you");
  EXPECT_FALSE(history.canRedo());
}

TEST_F(Undo, UndoingADragPutsThePlaceBackForTheNextCapture) {
  at("00:00:01,000");
  user([&] { c.InsertSubtitle(); });
  const SubtitlePlacement placed = s.Placement;
  rig.mouse.left = true;
  mouseMove(100, 285);
  mouseMove(200, 185);
  user([&] { c.VideoViewMouseUp(); });
  ASSERT_NE(s.Document.entries()[0].Place, placed);
  user([&] { c.Undo(); });
  EXPECT_EQ(s.Placement, placed);
  type("more");  // captures the place again: the undone one must not come back
  EXPECT_EQ(s.Document.entries()[0].Place, placed);
}

TEST_F(Undo, UndoingAnInsertEndsTheTypingThatWentToIt) {
  at("00:00:01,000");
  user([&] { c.InsertSubtitle(); });
  type("Hello");
  user([&] { c.Undo(); });  // the typing
  user([&] { c.Undo(); });  // the insert
  EXPECT_EQ(s.Document.rowCount(), 0);
  EXPECT_FALSE(rig.memo.enabled);
  EXPECT_EQ(rig.list.selected, -1);
  type("lost nowhere");  // reaches no subtitle and records nothing
  EXPECT_EQ(s.Document.rowCount(), 0);
  EXPECT_TRUE(history.canRedo());
}

TEST_F(Undo, UndoSelectsAndShowsTheSubtitleThatCameBack) {
  rig.addRow(1000, 2000, "one");
  rig.addRow(3000, 4000, "two");
  rig.addRow(5000, 6000, "three");
  history.startFresh();
  rig.list.selected = 1;
  user([&] { c.RemoveSubtitle(); });
  rig.list.selected = 0;
  user([&] { c.Undo(); });
  EXPECT_EQ(rig.list.selected, 1);
  EXPECT_EQ(rig.memo.content, "two");
  EXPECT_EQ(rig.startTime.content, "00:00:03,000");
  EXPECT_EQ(s.PlaybarPosition, 3000);  // its picture: 3 s of the 10 s video
}

TEST_F(Undo, NothingToUndoAndWritingAreRefusedQuietlyOrWithTheWritingMessage) {
  user([&] { c.Undo(); });
  user([&] { c.Redo(); });
  EXPECT_TRUE(rig.messages.shown.empty());
  rig.addRow(1000, 2000, "one");
  user([] {});
  s.IsWriting = true;
  user([&] { c.Undo(); });
  EXPECT_EQ(s.Document.rowCount(), 1);
  EXPECT_EQ(rig.lastMessage(), "The subtitles are written to the video. please first stop writing.");
}

TEST_F(Undo, ReadingAFileAndOpeningAVideoStartAFreshHistory) {
  struct Starts : DocumentChangeObserver {
    int started = 0;
    void historyStarted(const DocumentSnapshot&) override { ++started; }
    void documentChanged(const DocumentSplice&, const DocumentSnapshot&) override {}
    void documentSaved(const DocumentSnapshot&) override {}
  } starts;
  history.addObserver(starts);

  at("00:00:01,000");
  user([&] { c.InsertSubtitle(); });
  ASSERT_TRUE(history.canUndo());
  const std::string file = rig.file("talk.srt");
  std::ofstream(file, std::ios::binary) << "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n\r\n";
  user([&] { c.ReadSubtitleFile(file); });
  EXPECT_FALSE(history.canUndo());
  EXPECT_EQ(s.SubtitlePath, file);
  EXPECT_EQ(starts.started, 1);

  rig.list.selected = 0;
  user([&] { c.RemoveSubtitle(); });
  user([&] { c.Undo(); });
  ASSERT_TRUE(history.canRedo());
  rig.openVideo("other.avi");
  EXPECT_FALSE(history.canUndo());
  EXPECT_FALSE(history.canRedo());
  EXPECT_TRUE(s.SubtitlePath.empty());
  EXPECT_EQ(starts.started, 2);

  // A file that is not read leaves the history as it was.
  user([&] { c.InsertSubtitle(); });
  user([&] { c.ReadSubtitleFile(rig.file("missing.srt")); });
  EXPECT_TRUE(history.canUndo());
  history.removeObserver(starts);
}

TEST_F(Undo, TheTitleNamesTheFileAndItsUnsavedChanges) {
  const std::string file = rig.file("talk.srt");
  std::ofstream(file, std::ios::binary) << "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n\r\n";
  const auto title = [&] { return MainWindowTitle("App", "Untitled", s.SubtitlePath, s.Document); };
  EXPECT_EQ(title(), "App");
  // New lines in no file yet are unsaved work too.
  for (const char* line : {"one", "two", "three"}) {
    user([&] { c.InsertSubtitle(); });
    type(line);
  }
  EXPECT_EQ(title(), "Untitled* - App");
  user([&] { c.ReadSubtitleFile(file); });
  EXPECT_EQ(title(), "talk.srt - App");
  rig.list.selected = 0;
  user([&] { c.RemoveSubtitle(); });
  EXPECT_EQ(title(), "talk.srt* - App");
  user([&] { c.Undo(); });
  EXPECT_EQ(title(), "talk.srt - App");  // back as read
  user([&] { c.Redo(); });
  user([&] { c.SaveSubtitleFile(); });  // to the file it was read from
  EXPECT_EQ(title(), "talk.srt - App");
}

TEST(WindowTitle, Forms) {
  struct Row {
    const char* path;
    int rows;
    bool unsaved;
    const char* untitled;
    const char* title;
  };
  for (Row row : {Row{"", 0, false, "Untitled", "Veldrane Orlisk"},
                  Row{"", 0, true, "Untitled", "Veldrane Orlisk"},  // a saved list emptied: nothing to lose
                  Row{"", 3, true, "Untitled", "Untitled* - Veldrane Orlisk"},
                  Row{"", 1, true, "未命名", "未命名* - Veldrane Orlisk"},
                  Row{"/home/u/talk.srt", 1, false, "Untitled", "talk.srt - Veldrane Orlisk"},
                  Row{"/home/u/talk.srt", 1, true, "Untitled", "talk.srt* - Veldrane Orlisk"},
                  Row{"/home/u/talk.srt", 0, true, "Untitled", "talk.srt* - Veldrane Orlisk"},
                  Row{"/home/u/字幕 1.srt", 1, true, "Untitled", "字幕 1.srt* - Veldrane Orlisk"}}) {
    SubtitleDocument list;
    // Unsaved: what was saved differs from the rows now.
    if (row.unsaved) list.appendRow(SubtitleRow{"", "saved once"});
    list.markSaved();
    list.clearRows();
    for (int i = 0; i < row.rows; ++i) list.appendRow(SubtitleRow{"", "line"});
    if (!row.unsaved) list.markSaved();
    EXPECT_EQ(MainWindowTitle("Veldrane Orlisk", row.untitled, row.path, list), row.title)
        << row.path << " " << row.rows;
  }
}

}  // namespace
}  // namespace orlisk::testing
