// The desktop shortcuts of the main window, the typed times of its begin and
// end boxes, and the reaction delay dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "app/ui/MainWindow.h"
#include "app/ui/ReactionDelayDialog.h"
#include "app/ui/SubtitleList.h"
#include "app/ui/TypedTimeBox.h"
#include "burnin/NullTextTransform.h"
#include "burnin/writer/NullVideoWriter.h"
#include "settings/ReactionDelay.h"

namespace orlisk {
namespace {

// Answers every modal window that opens (a file dialog, a message box) with
// Cancel, for as long as it lives.
class ModalCloser {
 public:
  ModalCloser() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      ++closed;
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
      } else {
        modal->close();
      }
    });
    timer_.start();
  }
  int closed = 0;

 private:
  QTimer timer_;
};

class KeysAndTimesTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }

  std::unique_ptr<Tfm_main> MakeWindow(int languageId = kLangEnglishUs) {
    const AppPaths paths = test::WindowPaths(settingsDir.path().toStdString());
    auto window = std::make_unique<Tfm_main>(
        MainWindowParts{paths, languageId, reader, audio, transform, writer,
                        test::TenPixelsAByte});
    window->FormShow();
    return window;
  }

  QLineEdit* TimeBox(Tfm_main& window, const char* name) {
    return window.findChild<QLineEdit*>(QString::fromLatin1(name));
  }

  QTemporaryDir settingsDir;
  test::IdleReader reader;
  test::IdleAudio audio;
  NullTextTransform transform;
  NullVideoWriter writer;
};

TEST_F(KeysAndTimesTest, TheFileMenuShowsTheDesktopShortcutsBesideItsItems) {
  auto window = MakeWindow();
  const std::pair<const char*, const char*> rows[] = {
      {"OpenFile1", "Ctrl+O"}, {"OpenObj1", "Ctrl+Shift+O"}, {"SaveProject1", "Ctrl+S"},
      {"SaveProjectAs1", "Ctrl+Shift+S"}, {"Exit1", "Ctrl+Q"}};
  for (const auto& [name, keys] : rows) {
    auto* action = window->findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_TRUE(action) << name;
    EXPECT_EQ(action->shortcut().toString(), QString::fromLatin1(keys)) << name;
    // Held by the window as well, so the keys act while the menu is closed.
    EXPECT_TRUE(window->actions().contains(action)) << name;
  }
}

TEST_F(KeysAndTimesTest, TheShortcutsRunTheirCommandsFromAnywhereInTheWindow) {
  auto window = MakeWindow();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QLineEdit* begin = TimeBox(*window, "ed_Starttime");
  ASSERT_TRUE(begin);
  begin->setFocus();

  QSignalSpy openVideo(window->findChild<QAction*>("OpenFile1"), &QAction::triggered);
  QSignalSpy openSubtitle(window->findChild<QAction*>("OpenObj1"), &QAction::triggered);
  QSignalSpy save(window->findChild<QAction*>("SaveProject1"), &QAction::triggered);
  // Each press as the user makes it: the window in front again after the
  // dialog or box the previous command opened.
  const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window->windowHandle(), key, modifiers);
  };
  {
    ModalCloser closer;  // the file dialogs and boxes the commands open
    press(Qt::Key_O, Qt::ControlModifier);
    press(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_S, Qt::ControlModifier);
  }
  EXPECT_EQ(openVideo.count(), 1);
  EXPECT_EQ(openSubtitle.count(), 1);
  EXPECT_EQ(save.count(), 1);
  EXPECT_EQ(begin->text(), "00:00:00,000");  // the keys typed nothing into the box

  // Ctrl+Q closes through the close question: nothing changed, so nothing is asked.
  press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(KeysAndTimesTest, EnterInTheBoxesAppliesTheTypedTimeAndATypoGivesTheShownTimeBack) {
  auto window = MakeWindow();
  MainState& state = window->state();
  state.Document.appendRow(SubtitleRow{TimeRangeText(4000, 8000), "line"});
  state.Document.resizeEntries(1);
  state.Document.entries()[0].BeginTime = 4000;
  state.Document.entries()[0].EndTime = 8000;
  window->findChild<SubtitleListView*>()->selectRow(0);
  window->controller().SelectSubtitle();
  QLineEdit* begin = TimeBox(*window, "ed_Starttime");
  QLineEdit* end = TimeBox(*window, "ed_Endtime");
  ASSERT_TRUE(begin && end);
  EXPECT_EQ(begin->text(), "00:00:04,000");

  begin->setText("00:00:02,500");
  QTest::keyClick(begin, Qt::Key_Return);
  EXPECT_EQ(state.Document.row(0).Time, "00:00:02,500 --> 00:00:08,000");
  EXPECT_EQ(begin->text(), "00:00:02,500");

  end->setText("00:00:01,000");  // before the begin: refused with a message
  {
    ModalCloser closer;
    QTest::keyClick(end, Qt::Key_Enter);
    EXPECT_EQ(closer.closed, 1);
  }
  EXPECT_EQ(state.Document.row(0).Time, "00:00:02,500 --> 00:00:08,000");
  EXPECT_EQ(end->text(), "00:00:08,000");
}

TEST_F(KeysAndTimesTest, EnterWithNoSubtitleAtHandGivesTheShownTimeBack) {
  auto window = MakeWindow();
  QLineEdit* begin = TimeBox(*window, "ed_Starttime");
  begin->setText("00:00:05,000");
  QTest::keyClick(begin, Qt::Key_Return);
  EXPECT_EQ(begin->text(), "00:00:00,000");
  EXPECT_EQ(window->state().Document.rowCount(), 0);
}

// The application has to exist before the box's widget does.
struct WithApplication {
  WithApplication() { test::TestApplication(); }
};

class TypedTimeBoxTest : public ::testing::Test, private WithApplication {
 protected:
  void SetUp() override { box.setText("00:00:04,000"); }
  void Leave(Qt::FocusReason reason) {
    QFocusEvent leaving(QEvent::FocusOut, reason);
    QApplication::sendEvent(&edit, &leaving);
  }

  QLineEdit edit;
  bool answer = true;
  int applied = 0;
  TypedTimeBox box{edit, [this] {
                     ++applied;
                     if (answer) box.setText("00:00:0" + std::to_string(applied) + ",000");
                     return answer;
                   }};
};

TEST_F(TypedTimeBoxTest, LeavingTheBoxAppliesATypedTimeAsEnterDoesAndEscapeCancels) {
  const Qt::FocusReason reasons[] = {Qt::MouseFocusReason, Qt::TabFocusReason, Qt::BacktabFocusReason};
  for (Qt::FocusReason reason : reasons) {
    edit.setText("00:00:09,999");
    Leave(reason);
    EXPECT_EQ(edit.text(), "00:00:0" + QString::number(applied) + ",000") << reason;
  }
  EXPECT_EQ(applied, 3);
  Leave(Qt::TabFocusReason);  // nothing typed: nothing to apply
  EXPECT_EQ(applied, 3);

  answer = false;  // refused: the shown time comes back
  edit.setText("00:00:09,999");
  Leave(Qt::TabFocusReason);
  EXPECT_EQ(edit.text(), "00:00:03,000");

  edit.setText("00:00:09,999");
  QTest::keyClick(&edit, Qt::Key_Escape);
  EXPECT_EQ(edit.text(), "00:00:03,000");
  EXPECT_EQ(applied, 4);
}

TEST_F(TypedTimeBoxTest, AnotherWindowInFrontOrTheBoxesOwnMenuKeepTheTyping) {
  for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
    edit.setText("00:00:09,999");
    Leave(reason);
    EXPECT_EQ(edit.text(), "00:00:09,999") << reason;
  }
}

TEST_F(TypedTimeBoxTest, ATakenTimeBecomesTheShownOneARefusedOneIsDropped) {
  edit.setText("whatever");
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(edit.text(), "00:00:01,000");
  Leave(Qt::MouseFocusReason);
  EXPECT_EQ(edit.text(), "00:00:01,000");
  EXPECT_EQ(box.text(), "00:00:01,000");

  answer = false;
  edit.setText("00:00:09,999");
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(applied, 2);
  EXPECT_EQ(edit.text(), "00:00:01,000");
}

class ReactionDelayDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  QTemporaryDir folder;
  ProfileFile settings{std::filesystem::path(folder.path().toStdString()) / "orlisk.ini"};
};

TEST_F(ReactionDelayDialogTest, TheExplanationSaysWhatAKeyPressWillStamp) {
  const Language english;
  EXPECT_EQ(ReactionDelayExplanation(english, 0), "F3 and F4 stamp the play time at the moment you press them.");
  EXPECT_EQ(ReactionDelayExplanation(english, 300),
            "F3 and F4 stamp the play time 300 ms before the moment you press them: a key pressed at "
            "00:00:10,000 stamps 00:00:09,700. No stamp is earlier than 00:00:00,000.");
  const Language chinese(ORLISK_TEST_DATA_DIR, kLangChineseSimplified);
  const QString text = ReactionDelayExplanation(chinese, 2000);
  EXPECT_TRUE(text.contains(QString::fromUtf8("2000 毫秒"))) << text.toStdString();
  EXPECT_TRUE(text.contains("00:00:08,000")) << text.toStdString();
}

TEST_F(ReactionDelayDialogTest, OkStoresTheDelayCancelKeepsTheStoredOne) {
  settings.writeString("Timing", "ReactionDelay", "not a number");
  const Language english;
  ReactionDelayDialog dialog(nullptr, settings, english);
  int shownValue = -1;
  QString liveText;
  QTimer::singleShot(0, [&] {
    shownValue = dialog.delayBox()->value();
    dialog.delayBox()->setValue(250);
    liveText = dialog.explanation()->text();
    dialog.accept();
  });
  dialog.ShowModal();
  EXPECT_EQ(shownValue, 0);
  EXPECT_TRUE(liveText.contains("00:00:09,750")) << liveText.toStdString();
  EXPECT_EQ(ReadReactionDelay(settings), 250);

  QTimer::singleShot(0, [&] {
    shownValue = dialog.delayBox()->value();
    dialog.delayBox()->setValue(900);
    dialog.reject();
  });
  dialog.ShowModal();
  EXPECT_EQ(shownValue, 250);
  EXPECT_EQ(ReadReactionDelay(settings), 250);
  EXPECT_EQ(dialog.delayBox()->maximum(), kMaxReactionDelayMs);
}

}  // namespace
}  // namespace orlisk
