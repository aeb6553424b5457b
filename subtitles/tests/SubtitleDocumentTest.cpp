#include "subtitles/SubtitleDocument.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace orlisk {
namespace {

// Writes each listener call as a short line so a test can compare the sequence.
class RecordingListener : public SubtitleDocument::Listener {
 public:
  std::vector<std::string> calls;
  void rowsReset() override { calls.push_back("reset"); }
  void rowsInserted(int first, int count) override {
    calls.push_back("inserted " + std::to_string(first) + " " + std::to_string(count));
  }
  void rowsRemoved(int first, int count) override {
    calls.push_back("removed " + std::to_string(first) + " " + std::to_string(count));
  }
  void rowChanged(int row) override { calls.push_back("changed " + std::to_string(row)); }
};

class SubtitleDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { document.setListener(&listener); }
  std::vector<std::string> subtitles() const {
    std::vector<std::string> texts;
    for (const auto& row : document.rows()) texts.push_back(row.Subtitle);
    return texts;
  }
  SubtitleDocument document;
  RecordingListener listener;
};

TEST_F(SubtitleDocumentTest, EditsRowsInPlaceAndTellsTheListener) {
  document.appendRow({"t0", "a"});
  document.appendRow({"t1", "c"});
  document.insertRow(1, {"t", "b"});
  document.insertRow(3, {"t", "d"});
  document.setRowTime(0, "00:00:01,000 --> 00:00:02,000");
  document.setRowSubtitle(2, "C");
  document.removeRow(0);

  EXPECT_EQ(subtitles(), (std::vector<std::string>{"b", "C", "d"}));
  EXPECT_EQ(listener.calls, (std::vector<std::string>{"inserted 0 1", "inserted 1 1", "inserted 1 1",
                                                      "inserted 3 1", "changed 0", "changed 2",
                                                      "removed 0 1"}));
}

TEST_F(SubtitleDocumentTest, RowEditsLeaveTheEntriesAlone) {
  document.resizeEntries(3);
  document.entries()[2].Text = "kept";
  document.appendRow({});
  document.removeRow(0);
  document.clearRows();

  EXPECT_EQ(document.rowCount(), 0);
  ASSERT_EQ(document.entries().size(), 3u);
  EXPECT_EQ(document.entries()[2].Text, "kept");
  EXPECT_EQ(listener.calls.back(), "reset");
}

TEST_F(SubtitleDocumentTest, ReplaceAllSwapsBothSidesAndResets) {
  document.appendRow({"old", "old"});
  SubtitleEntry entry;
  entry.Place.X = 7;
  document.replaceAll({{"t", "new"}}, {entry});

  EXPECT_EQ(subtitles(), (std::vector<std::string>{"new"}));
  EXPECT_EQ(document.entries().at(0).Place.X, 7);
  EXPECT_EQ(listener.calls.back(), "reset");
}

TEST_F(SubtitleDocumentTest, RefusesRowsOutsideTheListWithoutChangingIt) {
  document.appendRow({"t", "only"});
  listener.calls.clear();

  EXPECT_THROW(document.insertRow(2, {}), std::out_of_range);
  EXPECT_THROW(document.insertRow(-1, {}), std::out_of_range);
  EXPECT_THROW(document.removeRow(1), std::out_of_range);
  EXPECT_THROW(document.setRowTime(1, "x"), std::out_of_range);
  EXPECT_THROW(document.setRowSubtitle(-1, "x"), std::out_of_range);
  EXPECT_THROW(document.row(1), std::out_of_range);

  EXPECT_EQ(subtitles(), (std::vector<std::string>{"only"}));
  EXPECT_TRUE(listener.calls.empty());
}

TEST(SubtitleDocumentWithoutListenerTest, WorksWithNobodyListening) {
  SubtitleDocument document;
  document.appendRow({"t", "x"});
  document.setRowSubtitle(0, "y");
  document.clearRows();
  EXPECT_EQ(document.rowCount(), 0);
}

}  // namespace
}  // namespace orlisk

namespace orlisk {
namespace {

TEST(UnsavedChanges, FollowRowsAndTheirEntriesButNotTagsOrEntriesBeyondTheRows) {
  SubtitleDocument doc;
  EXPECT_FALSE(doc.hasUnsavedChanges()) << "a new, empty list loses nothing";
  doc.appendRow({"00:00:01,000 --> 00:00:02,000", "one"});
  doc.resizeEntries(1);
  EXPECT_TRUE(doc.hasUnsavedChanges());
  doc.markSaved();
  EXPECT_FALSE(doc.hasUnsavedChanges());

  doc.entries()[0].Tag = 7;
  EXPECT_FALSE(doc.hasUnsavedChanges()) << "the tag is the editor's bookkeeping";
  doc.resizeEntries(3);
  EXPECT_FALSE(doc.hasUnsavedChanges()) << "entries without rows are not saved either";

  doc.entries()[0].Place.Y = 40;  // dragged
  EXPECT_TRUE(doc.hasUnsavedChanges());
  doc.entries()[0].Place.Y = 0;
  EXPECT_FALSE(doc.hasUnsavedChanges()) << "changed back is as saved";

  doc.setRowSubtitle(0, "uno");
  EXPECT_TRUE(doc.hasUnsavedChanges());
  doc.markSaved();
  doc.clearRows();
  EXPECT_TRUE(doc.hasUnsavedChanges()) << "clearing a saved list is a change";
}

}  // namespace
}  // namespace orlisk
