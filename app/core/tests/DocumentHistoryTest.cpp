// The history on its own: steps found by comparing, runs of typing and
// dragging, nesting, limits, and what observers hear.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/DocumentHistory.h"

namespace orlisk {
namespace {

struct RecordingObserver : DocumentChangeObserver {
  std::vector<std::string> heard;
  DocumentSnapshot lastSeen;
  void historyStarted(const DocumentSnapshot& start) override {
    heard.push_back("started " + std::to_string(start.Rows.size()));
    lastSeen = start;
  }
  void documentChanged(const DocumentSplice& change, const DocumentSnapshot& now) override {
    heard.push_back("changed at " + std::to_string(change.First));
    ApplySplice(lastSeen, change);
    EXPECT_EQ(lastSeen, now) << "the change must lead from the last state told to the one told now";
  }
  void documentSaved(const DocumentSnapshot& now) override {
    heard.push_back("saved " + std::to_string(now.Rows.size()));
    lastSeen = now;
  }
};

void Append(SubtitleDocument& doc, const std::string& text) {
  doc.appendRow({"00:00:01,000 --> 00:00:02,000", text});
  doc.resizeEntries(doc.rowCount());
  doc.entries().back().Text = text;
}

void Type(SubtitleDocument& doc, int row, const std::string& text) {
  doc.setRowSubtitle(row, text);
  doc.entries()[static_cast<std::size_t>(row)].Text = text;
}

std::vector<std::string> Texts(const SubtitleDocument& doc) {
  std::vector<std::string> texts;
  for (const SubtitleRow& row : doc.rows()) texts.push_back(row.Subtitle);
  return texts;
}

struct HistoryTest : ::testing::Test {
  SubtitleDocument doc;
  DocumentHistory history{doc};
  RecordingObserver observer;
  void SetUp() override {
    history.addObserver(observer);
    history.startFresh();
  }
  void user(const std::function<void()>& command) { history.runCommand(CommandKind::UserAction, command); }
  void typing(int row, const std::string& text) {
    history.runCommand(CommandKind::Typing, [&] { Type(doc, row, text); });
  }
};

TEST_F(HistoryTest, EachCommandIsOneStepBackToTheStartAndForwardAgain) {
  user([&] { Append(doc, "one"); });
  user([&] { Append(doc, "two"); });
  user([&] { doc.removeRow(0); doc.entries().erase(doc.entries().begin()); });
  user([&] { doc.clearRows(); doc.resizeEntries(0); });
  ASSERT_EQ(history.undoCount(), 4u);

  const std::vector<std::vector<std::string>> backwards = {{"two"}, {"one", "two"}, {"one"}, {}};
  for (const auto& expected : backwards) {
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(Texts(doc), expected);
  }
  EXPECT_FALSE(history.canUndo());
  EXPECT_FALSE(history.undo());

  const std::vector<std::vector<std::string>> forwards = {{"one"}, {"one", "two"}, {"two"}, {}};
  for (const auto& expected : forwards) {
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(Texts(doc), expected);
  }
  EXPECT_FALSE(history.canRedo());
}

TEST_F(HistoryTest, EntriesComeBackWithTheirRows) {
  user([&] { Append(doc, "one"); });
  user([&] { doc.entries()[0].Place.X = 77; doc.entries()[0].TextColor = 255; });
  history.undo();
  EXPECT_EQ(doc.entries().at(0).Place.X, 0);
  EXPECT_EQ(doc.entries().at(0).TextColor, 0u);
  history.redo();
  EXPECT_EQ(doc.entries().at(0).Place.X, 77);
  EXPECT_EQ(doc.entries().at(0).TextColor, 255u);
}

TEST_F(HistoryTest, ARunOfTypingInOneSubtitleIsOneStep) {
  user([&] { Append(doc, ""); });
  user([&] { Append(doc, ""); });
  for (std::string typed : {"H", "He", "Hel", "Hell", "Hello"}) typing(1, typed);
  EXPECT_EQ(history.undoCount(), 3u);
  history.undo();
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"", ""}));
  history.redo();
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"", "Hello"}));
}

struct RunEnd {
  const char* name;
  std::function<void(HistoryTest&)> between;
  std::size_t steps;  // after "ab", the thing between, and "abc"
};

TEST_F(HistoryTest, ARunOfTypingEndsWhenAnythingElseHappens) {
  const std::vector<RunEnd> rows = {
      {"nothing between", [](HistoryTest&) {}, 1},
      {"a timer tick", [](HistoryTest& t) { t.history.runCommand(CommandKind::Background, [] {}); }, 1},
      {"a mouse move that drags nothing", [](HistoryTest& t) { t.history.runCommand(CommandKind::PlacementDrag, [] {}); }, 1},
      {"a click that changes nothing", [](HistoryTest& t) { t.user([] {}); }, 2},
      {"typing in another subtitle", [](HistoryTest& t) { t.typing(0, "x"); }, 3},
      {"an undo and a redo", [](HistoryTest& t) { t.history.undo(); t.history.redo(); }, 2},
  };
  for (const RunEnd& row : rows) {
    SCOPED_TRACE(row.name);
    doc.replaceAll({}, {});
    history.startFresh();
    user([&] { Append(doc, ""); Append(doc, ""); });
    typing(1, "ab");
    row.between(*this);
    typing(1, "abc");
    EXPECT_EQ(history.undoCount(), 1 + row.steps);
  }
}

TEST_F(HistoryTest, DragMovesJoinUntilTheMouseIsReleased) {
  user([&] { Append(doc, "moved"); });
  for (int x : {10, 20, 30}) {
    history.runCommand(CommandKind::PlacementDrag, [&] { doc.entries()[0].Place.X = x; });
  }
  EXPECT_EQ(history.undoCount(), 2u);
  user([] {});  // the mouse is released
  history.runCommand(CommandKind::PlacementDrag, [&] { doc.entries()[0].Place.X = 40; });
  EXPECT_EQ(history.undoCount(), 3u);
  history.undo();
  EXPECT_EQ(doc.entries()[0].Place.X, 30);
  history.undo();
  EXPECT_EQ(doc.entries()[0].Place.X, 0);
}

TEST_F(HistoryTest, CommandsInsideACommandJoinIt) {
  user([&] {
    Append(doc, "one");
    history.runCommand(CommandKind::Typing, [&] { Type(doc, 0, "changed inside"); });
    Append(doc, "two");
  });
  EXPECT_EQ(history.undoCount(), 1u);
  history.undo();
  EXPECT_TRUE(doc.rows().empty());
}

TEST_F(HistoryTest, AFailingCommandKeepsWhatItChanged) {
  EXPECT_THROW(user([&] {
                 Append(doc, "half");
                 throw std::runtime_error("failed half way");
               }),
               std::runtime_error);
  EXPECT_EQ(history.undoCount(), 1u);
  history.undo();
  EXPECT_TRUE(doc.rows().empty());
}

TEST_F(HistoryTest, ANewChangeDropsWhatCouldBeRedone) {
  user([&] { Append(doc, "one"); });
  history.undo();
  EXPECT_TRUE(history.canRedo());
  user([] {});  // a command that changes nothing keeps it
  EXPECT_TRUE(history.canRedo());
  user([&] { Append(doc, "two"); });
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(Texts(doc), std::vector<std::string>{"two"});
}

TEST_F(HistoryTest, TheTagAloneIsNoChange) {
  user([&] { Append(doc, "one"); });
  user([&] { doc.entries()[0].Tag = 42; });
  EXPECT_EQ(history.undoCount(), 1u);
}

TEST_F(HistoryTest, AFreshStartForgetsEverything) {
  user([&] { Append(doc, "one"); });
  history.undo();
  user([&] { Append(doc, "two"); });
  history.startFresh();
  EXPECT_FALSE(history.canUndo());
  EXPECT_FALSE(history.canRedo());
}

TEST_F(HistoryTest, ObserversHearStartsChangesUndoRedoAndSaves) {
  user([&] { Append(doc, "one"); });
  user([&] { Append(doc, "two"); });
  history.undo();
  history.redo();
  history.saved();
  history.startFresh();
  EXPECT_EQ(observer.heard, (std::vector<std::string>{"started 0", "changed at 0", "changed at 1", "changed at 1",
                                                      "changed at 1", "saved 2", "started 2"}));
  history.removeObserver(observer);
  user([&] { Append(doc, "three"); });
  EXPECT_EQ(observer.heard.size(), 7u);
}

TEST_F(HistoryTest, ASaveRecordsWhatChangedBeforeIt) {
  history.runCommand(CommandKind::UserAction, [&] {
    Append(doc, "typed");
    history.saved();
  });
  EXPECT_EQ(observer.heard, (std::vector<std::string>{"started 0", "changed at 0", "saved 1"}));
}

TEST(DocumentHistoryLimits, OldestStepsGoFirstAndTheNewestAlwaysStays) {
  SubtitleDocument doc;
  DocumentHistory history(doc, 3, 1u << 20);
  for (int i = 0; i < 5; ++i) history.runCommand(CommandKind::UserAction, [&] { Append(doc, std::to_string(i)); });
  EXPECT_EQ(history.undoCount(), 3u);
  while (history.undo()) {
  }
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"0", "1"}));

  DocumentHistory small(doc, 100, 1);  // no step fits: still the newest is kept
  small.runCommand(CommandKind::UserAction, [&] { doc.clearRows(); doc.resizeEntries(0); });
  small.runCommand(CommandKind::UserAction, [&] { Append(doc, "after"); });
  EXPECT_EQ(small.undoCount(), 1u);
  small.undo();
  EXPECT_TRUE(doc.rows().empty());
}

}  // namespace
}  // namespace orlisk
