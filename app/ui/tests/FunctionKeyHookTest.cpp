// The function-key hook of the application object, driven through its event
// delivery as real key presses are, over the command table's actions.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "TestSupport.h"
#include "app/ui/SubtitleFontDialog.h"

namespace orlisk {
namespace {

// Counts the function-key presses that reach it (the test tool presses
// modifier keys separately, and those do not count).
bool IsFunctionKey(const QKeyEvent* event) { return event->key() >= Qt::Key_F1 && event->key() <= Qt::Key_F8; }

class KeyCountingWidget : public QWidget {
 public:
  int presses = 0;
  int lastKey = 0;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (!IsFunctionKey(event)) return;
    ++presses;
    lastKey = event->key();
  }
};

class KeyCountingEdit : public QLineEdit {
 public:
  int presses = 0;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (IsFunctionKey(event)) ++presses;
    QLineEdit::keyPressEvent(event);
  }
};

class FunctionKeyHook : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication().setCommands(&commands.actions);
  }
  void TearDown() override { test::TestApplication().setCommands(nullptr); }

  test::RecordingCommands commands;
};

TEST_F(FunctionKeyHook, ShiftF3ActsAndStillReachesTheFocusedControl) {
  KeyCountingEdit edit;
  QTest::keyClick(&edit, Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(commands.calls, std::vector<std::string>{"InsertSubtitle"});
  EXPECT_EQ(edit.presses, 1);
}

TEST_F(FunctionKeyHook, EveryAutoRepeatedPressCounts) {
  KeyCountingWidget target;
  for (int i = 0; i < 3; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier, QString(), /*autorep=*/i > 0);
    QCoreApplication::sendEvent(&target, &press);
  }
  EXPECT_EQ(commands.calls, std::vector<std::string>(3, "InsertSubtitle"));
  EXPECT_EQ(target.presses, 3);
}

TEST_F(FunctionKeyHook, AltF3DoesNotActButReachesTheControl) {
  KeyCountingWidget target;
  QTest::keyClick(&target, Qt::Key_F3, Qt::AltModifier);
  EXPECT_TRUE(commands.calls.empty());
  EXPECT_EQ(target.presses, 1);
}

TEST_F(FunctionKeyHook, KeyReleasesDoNothing) {
  KeyCountingWidget target;
  QTest::keyRelease(&target, Qt::Key_F2);
  EXPECT_TRUE(commands.calls.empty());
}

TEST_F(FunctionKeyHook, APressPassedOnToTheParentActsOnce) {
  KeyCountingWidget parent;
  auto* child = new QWidget(&parent);  // ignores keys, so they travel on to the parent
  QTest::keyClick(child, Qt::Key_F2);
  EXPECT_EQ(commands.calls, std::vector<std::string>{"Play"});
  EXPECT_EQ(parent.presses, 1);
  EXPECT_EQ(parent.lastKey, Qt::Key_F2);
}

TEST_F(FunctionKeyHook, APressDeliveredThroughTheWindowActsOnce) {
  KeyCountingWidget window;
  window.resize(120, 80);
  auto* edit = new KeyCountingEdit;
  edit->setParent(&window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.activateWindow();
  edit->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(window.windowHandle(), Qt::Key_F5);
  EXPECT_EQ(commands.calls, std::vector<std::string>{"Pause"});
  EXPECT_EQ(edit->presses, 1);
}

TEST_F(FunctionKeyHook, WorksWhileAMessageBoxIsOpenAndLeavesItOpen) {
  bool stillOpenAfterF1 = false;
  QMessageBox box(QMessageBox::Information, "Information", "text", QMessageBox::Ok);
  QTimer::singleShot(0, [&] {
    QTest::keyClick(&box, Qt::Key_F1);
    stillOpenAfterF1 = box.isVisible();
    box.accept();
  });
  box.exec();
  EXPECT_TRUE(stillOpenAfterF1);
  EXPECT_EQ(commands.calls, std::vector<std::string>{"Content1"});
}

// The file, font and colour dialogs stand in for the system's own: a function
// key typed in them reaches the dialog but no command. The program's own
// dialogs keep the keys.
TEST_F(FunctionKeyHook, SystemDialogsKeepTheirKeysAndOwnDialogsDoNot) {
  struct Row {
    const char* dialog;
    std::function<QDialog*()> make;
    bool acts;
  };
  const Row rows[] = {
      {"file", [] {
         auto* dialog = new QFileDialog;
         dialog->setOption(QFileDialog::DontUseNativeDialog);
         return dialog;
       }, false},
      {"font", [] { return new QFontDialog; }, false},
      {"colour", [] { return new QColorDialog; }, false},
      {"subtitle font", [] { return new SubtitleFontDialog; }, false},
      {"own", [] {
         auto* dialog = new QDialog;
         new QLineEdit(dialog);
         return dialog;
       }, true},
  };
  for (const Row& row : rows) {
    commands.calls.clear();
    std::unique_ptr<QDialog> dialog(row.make());
    auto* edit = dialog->findChild<QLineEdit*>();
    ASSERT_TRUE(edit) << row.dialog;
    QTest::keyClick(edit, Qt::Key_F2);
    EXPECT_EQ(commands.calls.size(), row.acts ? 1u : 0u) << row.dialog;
  }
}

TEST_F(FunctionKeyHook, AKeyArrivingAtAFileDialogsWindowRunsNothing) {
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QTest::keyClick(dialog.windowHandle(), Qt::Key_F3);
  EXPECT_TRUE(commands.calls.empty());
}

}  // namespace
}  // namespace orlisk
