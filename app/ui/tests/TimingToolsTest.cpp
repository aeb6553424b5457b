// The timing tools in the window: where their keys act, and the shift, sync
// and frame-rate dialogs handing their choice to the commands.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTime>
#include <QTimeEdit>
#include <QTimer>

#include "TestSupport.h"
#include "app/core/tests/FakeSeams.h"
#include "app/ui/TimingDialogs.h"

namespace orlisk {
namespace {

using Calls = std::vector<std::string>;

// Left and Right step the picture wherever no text cursor needs them; a
// text being typed keeps its cursor keys, and Alt reaches the picture from
// there too. The nudges' function keys act from everywhere.
TEST(TimingKeys, ActWhereNoTextCursorNeedsThem) {
  test::RecordingCommands commands;
  auto* memo = new QPlainTextEdit(QStringLiteral("typed"), &commands.window);
  auto* box = new QLineEdit(QStringLiteral("00:00:01,000"), &commands.window);
  auto* list = new QTableView(&commands.window);
  commands.window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&commands.window));
  const struct {
    QWidget* focus;
    QKeyCombination keys;
    Calls expected;
  } rows[] = {
      {memo, QKeyCombination(Qt::Key_Left), {}},
      {memo, QKeyCombination(Qt::ShiftModifier, Qt::Key_Right), {}},
      {box, QKeyCombination(Qt::Key_Right), {}},
      {memo, QKeyCombination(Qt::AltModifier, Qt::Key_Left), {"StepFrameBack"}},
      {memo, QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_Right), {"StepSecondForward"}},
      {list, QKeyCombination(Qt::Key_Left), {"StepFrameBack"}},
      {list, QKeyCombination(Qt::ShiftModifier, Qt::Key_Left), {"StepSecondBack"}},
      {memo, QKeyCombination(Qt::Key_F9), {"NudgeBeginEarlierFrame"}},
      {box, QKeyCombination(Qt::ShiftModifier, Qt::Key_F12), {"NudgeEndLater100"}},
      {memo, QKeyCombination(Qt::ControlModifier, Qt::Key_E), {"StampEndAtPlayTime"}},
      {list, QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_P), {"TwoPointSync1"}},
  };
  for (const auto& row : rows) {
    commands.calls.clear();
    row.focus->setFocus();
    QTest::keyClick(row.focus, row.keys.key(), row.keys.keyboardModifiers());
    EXPECT_EQ(commands.calls, row.expected) << row.focus->metaObject()->className() << " " << row.keys.key();
  }
  memo->setReadOnly(true);  // nothing to type into: the picture gets the keys
  memo->setFocus();
  commands.calls.clear();
  QTest::keyClick(memo, Qt::Key_Right);
  EXPECT_EQ(commands.calls, Calls{"StepFrameForward"});
}

struct TimingDialogsTest : ::testing::Test {
  Application& app = test::TestApplication();
  testing::UserSession session;
  testing::Rig& rig = session.rig;
  TimingDialogParts parts{.State = rig.state,
                          .Timing = rig.controller.timing(),
                          .Reader = rig.reader,
                          .Run = [this](const std::function<void()>& command) { session.user(command); }};
  void SetUp() override {
    rig.reader.duration = 60000;
    for (int i = 0; i < 3; ++i) rig.addRow(1000 + i * 3000, 3000 + i * 3000, "line " + std::to_string(i));
    session.history.startFresh();
  }
  SubtitleTime begin(int row) const { return rig.state.Document.entries()[static_cast<std::size_t>(row)].BeginTime; }
  // Runs `whileOpen` once the dialog shows, as the user would.
  template <typename Dialog>
  void showAndDo(Dialog& dialog, std::function<void()> whileOpen) {
    QTimer::singleShot(0, &dialog, [&dialog, whileOpen] {
      whileOpen();
      if (dialog.isVisible()) dialog.reject();
    });
    dialog.ShowModal();
  }
};

TEST_F(TimingDialogsTest, ShiftMovesTheChosenSubtitlesOrSaysWhyNot) {
  ShiftTimesDialog dialog(nullptr, parts);
  dialog.edAmount->setTime(QTime(0, 0, 1, 500));
  dialog.cmbDirection->setCurrentIndex(1);  // earlier
  EXPECT_FALSE(dialog.Apply());             // the first subtitle would begin before 0
  EXPECT_EQ(rig.lastMessage(), "Subtitle 1 would begin or end before 00:00:00,000; no time was changed.");
  EXPECT_EQ(begin(0), 1000);

  rig.list.selected = 1;  // the subtitle at hand is the second
  showAndDo(dialog, [&] {
    EXPECT_TRUE(dialog.rbFromAtHand->isEnabled());
    dialog.rbFromAtHand->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
  });
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(begin(0), 1000);
  EXPECT_EQ(begin(1), 2500);
  EXPECT_EQ(session.history.undoCount(), 1u);
}

TEST_F(TimingDialogsTest, SyncOffersTheFirstAndLastSubtitleAtTheirBegins) {
  TwoPointSyncDialog dialog(nullptr, parts);
  showAndDo(dialog, [&] {
    EXPECT_EQ(dialog.spSecond->value(), 3);
    EXPECT_EQ(dialog.edSecondRight->time(), QTime(0, 0, 7));
    EXPECT_EQ(dialog.lblSecondNow->text(), QStringLiteral("00:00:07,000  line 2"));
    dialog.edSecondRight->setTime(QTime(0, 0, 13));
    dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
  });
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(begin(1), 7000);  // the line through (1 s, 1 s) and (7 s, 13 s)
  EXPECT_EQ(begin(2), 13000);
}

TEST_F(TimingDialogsTest, FrameRatesOfferTheVideosRateAsTheTarget) {
  rig.reader.fps = 25.0;
  FrameRateDialog dialog(nullptr, parts);
  showAndDo(dialog, [&] {
    EXPECT_EQ(dialog.cmbTo->currentText(), QStringLiteral("25"));
    EXPECT_EQ(dialog.cmbFrom->currentText(), QStringLiteral("23.976"));
    dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
  });
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(begin(2), 6713);  // 7000 * 23.976 / 25
}

}  // namespace
}  // namespace orlisk
