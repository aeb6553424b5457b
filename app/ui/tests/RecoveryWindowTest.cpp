// Recovery after a crash in the window itself: the question at start, the
// restored list, this run's journal following the commands, a clean close.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "app/ui/MainWindow.h"
#include "app/ui/SubtitleList.h"
#include "burnin/NullTextTransform.h"
#include "burnin/writer/NullVideoWriter.h"
#include "files/RecoveryJournal.h"
#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;

DocumentSnapshot ThreeSubtitles() {
  DocumentSnapshot list;
  for (int i = 0; i < 3; ++i) {
    list.Rows.push_back({"00:00:0" + std::to_string(i) + ",000 --> 00:00:0" + std::to_string(i) + ",900",
                         "Line " + std::to_string(i)});
    SubtitleEntry entry;
    entry.Place = {20 * i, 150, 240};
    entry.Text = list.Rows.back().Subtitle;
    entry.TextColor = 0x00FFFF;
    entry.BorderColor = 0xFF0000;
    entry.Border = true;
    entry.BeginTime = 1000 * i;
    entry.EndTime = 1000 * i + 900;
    list.Entries.push_back(entry);
  }
  return list;
}

std::vector<fs::path> Journals(const fs::path& folder) {
  std::vector<fs::path> found;
  for (const auto& item : fs::directory_iterator(folder))
    if (item.path().extension() == ".journal") found.push_back(item.path());
  return found;
}

JournalContents ReadBack(const fs::path& journal) {
  std::ifstream in(journal, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return ReadJournal(bytes.str());
}

// Clicks the button of the next modal box whose text is `buttonText`, and
// keeps the box's text.
void AnswerNextBox(const QString& buttonText, QString* seenText) {
  QTimer::singleShot(0, [buttonText, seenText] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    *seenText = box->text();
    for (QAbstractButton* button : box->buttons())
      if (button->text() == buttonText) button->click();
  });
}

TEST(RecoveryWindowTest, RestoresAtStartJournalsTheCommandsAndRemovesItsJournalOnAClose) {
  test::TestApplication();
  testing::TempFolder folder("recovery-window");
  const AppPaths paths = test::WindowPaths(folder.path());
  fs::path left;
  {
    RecoveryJournal::Parts parts;
    parts.Folder = paths.DataFolder;
    RecoveryJournal crashed(parts);
    crashed.historyStarted({});
    crashed.documentChanged(*SpliceBetween({}, ThreeSubtitles()), ThreeSubtitles());
    left = crashed.path();
  }  // no clean close: as a killed editor leaves it

  test::IdleReader reader;
  test::IdleAudio audio;
  NullTextTransform transform;
  NullVideoWriter writer;
  Tfm_main window(MainWindowParts{paths, kLangEnglishUs, reader, audio, transform, writer,
                                  test::TenPixelsAByte});
  window.FormShow();
  window.show();
  QString question;
  AnswerNextBox(QStringLiteral("&Yes"), &question);
  window.RecoverAndStartJournal();

  EXPECT_TRUE(question.startsWith("The editor did not close properly last time.")) << question.toStdString();
  EXPECT_TRUE(question.contains("Subtitles: 3"));
  EXPECT_EQ(DocumentSnapshot::Of(window.state().Document), ThreeSubtitles());
  EXPECT_EQ(window.findChild<SubtitleListView*>()->model()->rowCount(), 3);
  // The crashed run's journal gave way to this run's, which holds the list.
  EXPECT_FALSE(fs::exists(left));
  const std::vector<fs::path> journals = Journals(paths.DataFolder);
  ASSERT_EQ(journals.size(), 1u);
  EXPECT_EQ(ReadBack(journals[0]).Subtitles, ThreeSubtitles());

  // A command's change reaches the journal at once.
  test::RunCommand(window, "Insert");
  const JournalContents after = ReadBack(journals[0]);
  EXPECT_EQ(after.Subtitles, DocumentSnapshot::Of(window.state().Document));
  EXPECT_EQ(after.Subtitles.Rows.size(), 4u);
  EXPECT_EQ(after.ChangesSinceBase, 1);

  // Closing and letting the changes go is a clean close: nothing is left to restore.
  QString closing;
  AnswerNextBox(QStringLiteral("&No"), &closing);
  EXPECT_TRUE(window.close());
  EXPECT_TRUE(closing.contains("Save them before closing?")) << closing.toStdString();
  EXPECT_TRUE(Journals(paths.DataFolder).empty());
}

}  // namespace
}  // namespace orlisk
