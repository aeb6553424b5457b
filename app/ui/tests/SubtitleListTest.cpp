#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QHeaderView>
#include <QTest>

#include "TestSupport.h"
#include "app/ui/SubtitleList.h"
#include "app/ui/WidgetSeams.h"

namespace orlisk {
namespace {

QString Cell(const SubtitleListModel& model, int row, int column) {
  return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

SubtitleRow Row(const char* time, const char* text) { return SubtitleRow{time, text}; }

TEST(SubtitleListModel, ShowsNumberTimeAndTextWithLineBreaksAsSpaces) {
  SubtitleDocument document;
  document.appendRow(Row("00:00:01,000 --> 00:00:02,000", "first\r\nsecond"));
  SubtitleListModel model(document);
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_EQ(Cell(model, 0, 0), "1");
  EXPECT_EQ(Cell(model, 0, 1), "00:01,000 --> 00:02,000");
  EXPECT_EQ(Cell(model, 0, 2), "first second");
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "No");
  EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Subtitle");
}

TEST(SubtitleListView, InTheWindowsWidthTheTextColumnTakesTheRestAndTheTooltipHoldsTheWholeLine) {
  test::TestApplication();
  SubtitleDocument document;
  document.appendRow(Row("00:00:01,000 --> 00:00:02,000", "The quick brown fox\r\njumps over the lazy dog"));
  document.appendRow(Row("01:00:01,000 --> 01:00:02,000", "past the first hour"));
  document.appendRow(Row("whatever the file said", "kept as read"));
  SubtitleListModel model(document);
  SubtitleListView view;
  view.setModel(&model);
  view.setStyleSheet(QStringLiteral("QTableView { font-size: 11px; }"));  // as on the main window
  view.resize(250, 355);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const QFontMetrics metrics = view.fontMetrics();
  EXPECT_EQ(Cell(model, 1, 1), "01:00:01,000 --> 01:00:02,000");
  EXPECT_EQ(Cell(model, 2, 1), "whatever the file said");
  EXPECT_GE(view.columnWidth(1), metrics.horizontalAdvance("00:01,000 --> 00:02,000"));
  // Nothing runs past the list: the three columns share its inner width, and
  // the text keeps the largest part of it.
  const int inner = view.viewport()->width();
  EXPECT_EQ(view.columnWidth(0) + view.columnWidth(1) + view.columnWidth(2), inner);
  EXPECT_GE(view.columnWidth(2), metrics.horizontalAdvance("The quick"));
  EXPECT_EQ(model.data(model.index(0, 2), Qt::ToolTipRole).toString(),
            "The quick brown fox\njumps over the lazy dog");
  EXPECT_EQ(model.data(model.index(0, 0), Qt::ToolTipRole).toString(),
            "The quick brown fox\njumps over the lazy dog");
}

TEST(SubtitleListModel, FollowsEachChangeOneRowAtATime) {
  SubtitleDocument document;
  SubtitleListModel model(document);
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

  document.appendRow(Row("a", "A"));
  document.appendRow(Row("c", "C"));
  document.insertRow(1, Row("b", "B"));
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(inserted.count(), 3);
  EXPECT_EQ(inserted.at(2).at(1).toInt(), 1);
  EXPECT_EQ(Cell(model, 1, 2), "B");
  EXPECT_EQ(Cell(model, 2, 0), "3");  // numbers follow the position

  document.setRowSubtitle(2, "changed");
  EXPECT_EQ(Cell(model, 2, 2), "changed");

  document.removeRow(0);
  EXPECT_EQ(removed.count(), 1);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(Cell(model, 0, 0), "1");
  EXPECT_EQ(Cell(model, 0, 2), "B");

  document.clearRows();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(reset.count(), 1);
}

TEST(SubtitleListModel, ARemovedSelectedRowLeavesNoSelectionPointingPastTheEnd) {
  test::TestApplication();
  SubtitleDocument document;
  for (int i = 0; i < 3; ++i) document.appendRow(Row("t", "x"));
  SubtitleListModel model(document);
  SubtitleListView view;
  view.setModel(&model);
  ListViewSelection selection(view);
  selection.selectRow(2);
  EXPECT_EQ(selection.selectedRow(), 2);
  document.removeRow(2);
  EXPECT_EQ(selection.selectedRow(), -1);
  selection.selectRow(1);
  EXPECT_EQ(selection.selectedRow(), 1);
  selection.selectRow(-1);
  EXPECT_EQ(selection.selectedRow(), -1);
  selection.selectRow(5);  // past the end clears as well
  EXPECT_EQ(selection.selectedRow(), -1);
}

TEST(SubtitleListModel, StopsListeningWhenDestroyed) {
  SubtitleDocument document;
  {
    SubtitleListModel model(document);
  }
  EXPECT_NO_FATAL_FAILURE(document.appendRow(Row("t", "x")));
  EXPECT_EQ(document.rowCount(), 1);
}

}  // namespace
}  // namespace orlisk
