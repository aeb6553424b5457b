#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTreeWidget>

#include "TestSupport.h"
#include "app/language/Language.h"
#include "app/ui/CheckReportDialog.h"
#include "app/ui/SubtitleCheckMarks.h"
#include "app/ui/SubtitleList.h"

namespace orlisk {
namespace {

void SetTimes(SubtitleDocument& document, int row, SubtitleTime begin, SubtitleTime end) {
  document.entries()[static_cast<std::size_t>(row)].BeginTime = begin;
  document.entries()[static_cast<std::size_t>(row)].EndTime = end;
  document.setRowTime(row, TimeRangeText(begin, end));
}

struct CheckedList {
  explicit CheckedList(const Language& language) : model(document), marks(document, model, CheckLimits{}, [] { return 25.0; }, language) {
    model.setCheckMarks(&marks);
    for (const char* text : {"first", "second", "third"}) document.appendRow({"", text});
    document.resizeEntries(3);
    SetTimes(document, 0, 0, 2000);
    SetTimes(document, 1, 1000, 3000);  // overlaps the first
    SetTimes(document, 2, 5000, 6000);
  }
  bool Marked(int row) const { return !model.data(model.index(row, 0), Qt::DecorationRole).isNull(); }
  QString Tip(int row) const { return model.data(model.index(row, 2), Qt::ToolTipRole).toString(); }

  SubtitleDocument document;
  SubtitleListModel model;
  SubtitleCheckMarks marks;
};

TEST(SubtitleCheckMarks, MarkRowsAShortWhileAfterEachChangeInTheInterfacesLanguage) {
  test::TestApplication();
  const Language english;
  CheckedList list(english);
  QSignalSpy rechecked(&list.marks, &SubtitleCheckMarks::rechecked);
  EXPECT_FALSE(list.Marked(0));  // nothing judged before the pause
  ASSERT_TRUE(rechecked.wait(2000));
  EXPECT_TRUE(list.Marked(0));
  EXPECT_TRUE(list.Marked(1));
  EXPECT_FALSE(list.Marked(2));
  EXPECT_EQ(list.Tip(1), "Overlaps another subtitle\n\nsecond");
  EXPECT_EQ(list.Tip(2), "third");

  // Mending the overlap takes both marks off; the marks' repaint is not taken
  // for a change of the list, so the checks settle.
  SetTimes(list.document, 1, 2100, 3000);
  ASSERT_TRUE(rechecked.wait(2000));
  EXPECT_FALSE(list.Marked(0));
  EXPECT_FALSE(list.Marked(1));
  EXPECT_FALSE(rechecked.wait(600));

  const Language chinese(ORLISK_TEST_DATA_DIR, kLangChineseSimplified);
  CheckedList chineseList(chinese);
  chineseList.document.setRowSubtitle(2, "");
  chineseList.marks.recheckNow();
  EXPECT_EQ(chineseList.Tip(0), QString::fromUtf8("与其他字幕时间重叠\n\nfirst"));
  EXPECT_EQ(chineseList.Tip(2), QString::fromUtf8("没有文字"));  // and no text to show below it
}

TEST(CheckReportDialog, ListsEachMarkedRowAndGoesToTheOneActivated) {
  test::TestApplication();
  const Language english;
  CheckedList list(english);
  std::vector<int> wentTo;
  CheckReportDialog report(nullptr, list.document, list.marks, english, [&](int row) { wentTo.push_back(row); });
  report.ShowReport();
  QTreeWidget& findings = *report.findingsList();
  ASSERT_EQ(findings.topLevelItemCount(), 2);
  EXPECT_EQ(report.summary()->text(), "2 subtitles need a look. Double-click one to go to it.");
  EXPECT_EQ(findings.topLevelItem(1)->text(0), "2");
  EXPECT_EQ(findings.topLevelItem(1)->text(1), "00:00:01,000 --> 00:00:03,000");
  EXPECT_EQ(findings.topLevelItem(1)->text(2), "Overlaps another subtitle");
  emit findings.itemActivated(findings.topLevelItem(1), 0);
  EXPECT_EQ(wentTo, std::vector<int>{1});

  // The open report follows the list as it is mended.
  SetTimes(list.document, 1, 2100, 3000);
  list.marks.recheckNow();
  EXPECT_EQ(findings.topLevelItemCount(), 0);
  EXPECT_EQ(report.summary()->text(), "No problems found in the subtitles.");
  list.document.setRowSubtitle(2, "");
  list.marks.recheckNow();
  EXPECT_EQ(report.summary()->text(), "1 subtitle needs a look. Double-click it to go to it.");
}

}  // namespace
}  // namespace orlisk
