// The undo and redo items and keys of the whole main window, and its title
// with the subtitle file's name and unsaved changes.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "TestSupport.h"
#include "app/ui/MainWindow.h"
#include "burnin/NullTextTransform.h"
#include "burnin/writer/NullVideoWriter.h"

namespace orlisk {
namespace {

// A video that stands open without pictures: seeks land nowhere, no frame comes.
class StillReader : public test::IdleReader {
 public:
  void SeekTo(std::int32_t) override {}
  Frame ReadFrame() override { return {}; }
};

class HistoryControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    const AppPaths paths = test::WindowPaths(folder());
    window = std::make_unique<Tfm_main>(MainWindowParts{
        paths, kLangEnglishUs, reader, audio, transform, writer,
        test::TenPixelsAByte});
    window->FormShow();
    undo = window->findChild<QAction*>(QStringLiteral("Undo1"));
    redo = window->findChild<QAction*>(QStringLiteral("Redo1"));
    memo = window->findChild<QPlainTextEdit*>();
  }

  std::filesystem::path folder() const { return settingsDir.path().toStdString(); }

  std::string WriteSubtitleFile(const std::string& name) {
    const std::string file = (folder() / name).string();
    std::ofstream(file, std::ios::binary) << "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n"
                                             "2\r\n00:00:03,000 --> 00:00:04,000\r\nTwo\r\n\r\n";
    return file;
  }
  void Read(const std::string& file) {
    window->Run([&] { window->controller().ReadSubtitleFile(file); });
  }
  int Rows() const { return window->state().Document.rowCount(); }
  QString Title() const { return window->windowTitle(); }

  QTemporaryDir settingsDir;
  StillReader reader;
  test::IdleAudio audio;
  NullTextTransform transform;
  NullVideoWriter writer;
  std::unique_ptr<Tfm_main> window;
  QAction* undo = nullptr;
  QAction* redo = nullptr;
  QPlainTextEdit* memo = nullptr;
};

TEST_F(HistoryControlsTest, TheListMenuHoldsUndoAndRedoWithTheirKeys) {
  ASSERT_TRUE(undo && redo);
  auto* listMenu = window->findChild<QMenu*>(QStringLiteral("PopupMenu_tools"));
  ASSERT_TRUE(listMenu);
  EXPECT_TRUE(listMenu->actions().contains(undo));
  EXPECT_TRUE(listMenu->actions().contains(redo));
  EXPECT_EQ(undo->text(), "Undo");
  EXPECT_EQ(redo->text(), "Redo");
  EXPECT_EQ(undo->shortcuts(), QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
  EXPECT_EQ(redo->shortcuts(),
            (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))}));
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
}

TEST_F(HistoryControlsTest, TheTitleFollowsTheFileAndItsChanges) {
  EXPECT_EQ(Title(), "Veldrane Orlisk");
  test::RunCommand(*window, "Insert");  // a change with no file named
  EXPECT_EQ(Title(), "Untitled* - Veldrane Orlisk");
  EXPECT_TRUE(undo->isEnabled());

  Read(WriteSubtitleFile("talk.srt"));
  EXPECT_EQ(Title(), "talk.srt - Veldrane Orlisk");
  EXPECT_FALSE(undo->isEnabled()) << "reading starts a fresh history";

  test::RunCommand(*window, "ClearSubtitle1");
  EXPECT_EQ(Title(), "talk.srt* - Veldrane Orlisk");
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());

  undo->trigger();
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(Title(), "talk.srt - Veldrane Orlisk");
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_TRUE(redo->isEnabled());

  redo->trigger();
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(Title(), "talk.srt* - Veldrane Orlisk");
}

TEST_F(HistoryControlsTest, TheKeysUndoTheListEvenFromTheMemo) {
  Read(WriteSubtitleFile("keys.srt"));
  // Typing reaches the list only while a video stands open.
  window->state().VideoPath = (folder() / "clip.avi").string();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

  // Editing the first subtitle: a run of typing in the memo.
  window->findChild<QTableView*>()->selectRow(0);
  test::RunCommand(*window, "Editsubtitle");
  ASSERT_TRUE(memo->isEnabled());
  memo->setFocus();
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, " and more");
  EXPECT_EQ(window->state().Document.row(0).Subtitle, "One and more");
  EXPECT_EQ(Title(), "keys.srt* - Veldrane Orlisk");

  QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(window->state().Document.row(0).Subtitle, "One") << "the whole run is one step";
  EXPECT_EQ(memo->toPlainText(), "One");
  EXPECT_EQ(Title(), "keys.srt - Veldrane Orlisk");
  QTest::keyClicks(memo, "!");  // editing goes on in the same subtitle
  EXPECT_EQ(window->state().Document.row(0).Subtitle, "One!");
  QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(window->state().Document.row(0).Subtitle, "One");

  // The typed "!" replaced " and more" as what can be redone.
  QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(window->state().Document.row(0).Subtitle, "One!");
  QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(memo, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(window->state().Document.row(0).Subtitle, "One!");

  // A time box keeps the keys for its own typing, and gives them to the list
  // once it has nothing of its own to undo.
  auto* begin = window->findChildren<QLineEdit*>().value(0);
  ASSERT_TRUE(begin);
  test::RunCommand(*window, "ClearSubtitle1");
  ASSERT_EQ(Rows(), 0);
  begin->setFocus();
  begin->setText("00:00:05,000");  // set by a command: nothing of its own to undo
  QTest::keyClick(begin, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Rows(), 2);
  const QString shown = begin->text();  // the restored subtitle's begin time
  QTest::keyClick(begin, Qt::Key_End);
  QTest::keyClicks(begin, "9");
  QTest::keyClick(begin, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(begin->text(), shown);
  EXPECT_EQ(window->state().Document.row(0).Subtitle, "One!") << "the box's own typing was undone, not the list";
  window->hide();
}

}  // namespace
}  // namespace orlisk
