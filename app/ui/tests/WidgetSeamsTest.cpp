#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>
#include <QSignalSpy>

#include "TestSupport.h"
#include "app/ui/SubtitleFontDialog.h"
#include "app/ui/WidgetSeams.h"

namespace orlisk {
namespace {

TEST(PlainTextMemo, SpeaksWindowsLineEndsAndFiresTheChangeHandler) {
  test::TestApplication();
  QPlainTextEdit edit;
  PlainTextMemo memo(edit);
  QSignalSpy changed(&edit, &QPlainTextEdit::textChanged);
  memo.setText("one\r\ntwo\r\n");
  EXPECT_EQ(edit.toPlainText(), "one\ntwo\n");
  EXPECT_EQ(memo.text(), "one\r\ntwo\r\n");
  EXPECT_GE(changed.count(), 1);
  memo.setText("");
  EXPECT_EQ(memo.text(), "");
  memo.setText("\xe4\xb8\xad\xe6\x96\x87");  // UTF-8 survives the round trip
  EXPECT_EQ(memo.text(), "\xe4\xb8\xad\xe6\x96\x87");
}

TEST(Colours, WindowsLayoutHasRedInTheLowByte) {
  struct Row {
    Colour colour;
    QColor qt;
  };
  for (const Row& row : {Row{0x0000FF, QColor(255, 0, 0)}, Row{16711680, QColor(0, 0, 255)},
                         Row{0x00FFFFFF, QColor(255, 255, 255)}, Row{0x00123456, QColor(0x56, 0x34, 0x12)}}) {
    EXPECT_EQ(ToQColor(row.colour), row.qt);
    EXPECT_EQ(FromQColor(row.qt), row.colour);
  }
}

TEST(SubtitleFontMapping, PixelHeightIsNegativeHeightAndPointsAreRounded) {
  test::TestApplication();
  struct Row {
    int pixels;
    int points;
  };
  // 21 px is 15.75 pt; 13 px is 9.75 pt; 16 px is exactly 12 pt.
  for (const Row& row : {Row{21, 16}, Row{13, 10}, Row{16, 12}, Row{40, 30}}) {
    QFont font("Liberation Sans");
    font.setPixelSize(row.pixels);
    const SubtitleFont mapped = FromQFont(font);
    EXPECT_EQ(mapped.Height, -row.pixels);
    EXPECT_EQ(mapped.PointSize, row.points);
  }
}

TEST(SubtitleFontMapping, TheStartFontSurvivesTheDialogUnchanged) {
  test::TestApplication();
  SubtitleFont start;  // Arial, bold, -21, white
  start.Italic = true;
  start.StrikeOut = true;
  const QFont shown = DialogFont(start);
  EXPECT_DOUBLE_EQ(shown.pointSizeF(), 15.75);
  EXPECT_TRUE(shown.bold());
  const SubtitleFont back = FromQFont(shown);
  EXPECT_EQ(back, start);
}

TEST(SubtitleFontDialog, OkGivesTheShownFontAndColourCancelGivesNothing) {
  test::TestApplication();
  SubtitleFontDialog dialog;
  SubtitleStyle current;
  current.Font.Face = "Liberation Sans";
  current.TextColor = 0x0000FF;
  current.BorderColor = 0x123456;
  QTimer::singleShot(0, [&dialog] { dialog.accept(); });
  const std::optional<SubtitleStyle> chosen = dialog.chooseFont(current);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->Font.Height, -21);
  EXPECT_EQ(chosen->Font.PointSize, 16);
  EXPECT_TRUE(chosen->Font.Bold);
  EXPECT_EQ(chosen->TextColor, 0x0000FFu);
  EXPECT_EQ(chosen->BorderColor, 0x123456u) << "the outline is not the font dialog's";

  QTimer::singleShot(0, [&dialog] { dialog.reject(); });
  EXPECT_FALSE(dialog.chooseFont(current).has_value());

  // The start-up font, whose face stands in for Arial here, comes back as it went.
  QTimer::singleShot(0, [&dialog] { dialog.accept(); });
  const std::optional<SubtitleStyle> again = dialog.chooseFont(SubtitleStyle{});
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->Font, SubtitleFont{});
}

}  // namespace
}  // namespace orlisk
