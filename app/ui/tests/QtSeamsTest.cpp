// The four message box kinds and the subtitle file's dialogs as the user sees them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "app/ui/QtSeams.h"

namespace orlisk {
namespace {

struct SeenBox {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  bool stayedOpenAfterHelp = false;
};

// When the next box opens: note what it shows, then press `press` (a button
// caption) or Escape when `press` is empty.
void AnswerNextBox(SeenBox& seen, const QString& press) {
  QTimer::singleShot(0, [&seen, press] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_TRUE(box);
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == QStringLiteral("&Help")) {
        button->click();
        QCoreApplication::processEvents();
        seen.stayedOpenAfterHelp = box->isVisible();
      }
    }
    if (press.isEmpty()) {
      QTest::keyClick(box, Qt::Key_Escape);
      return;
    }
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() == press) button->click();
    }
  });
}

TEST(QtMessageBoxes, ConfirmationYesNoAndEscape) {
  test::TestApplication();
  QtMessageBoxes messages(nullptr);
  SeenBox seen;
  AnswerNextBox(seen, "&Yes");
  EXPECT_TRUE(messages.confirmation("Save?"));
  EXPECT_EQ(seen.caption, "Confirm");
  EXPECT_EQ(seen.text, "Save?");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, (QStringList{"&Yes", "&No"}));

  SeenBox no;
  AnswerNextBox(no, "&No");
  EXPECT_FALSE(messages.confirmation("Save?"));
  SeenBox escaped;
  AnswerNextBox(escaped, "");
  EXPECT_FALSE(messages.confirmation("Save?"));
}

TEST(QtMessageBoxes, SaveQuestionHasYesNoAndCancelAndEscapeCancels) {
  test::TestApplication();
  QtMessageBoxes messages(nullptr);
  using Answer = MessageBoxes::SaveAnswer;
  for (auto [press, expected] : {std::pair{QString("&Yes"), Answer::Save}, {QString("&No"), Answer::Discard},
                                 {QString("Cancel"), Answer::Cancel}, {QString(), Answer::Cancel}}) {
    SeenBox seen;
    AnswerNextBox(seen, press);
    EXPECT_EQ(messages.saveQuestion("Save first?"), expected) << press.toStdString();
    EXPECT_EQ(seen.caption, "Confirm");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    seen.buttons.sort();  // laid out in the desktop's own order
    EXPECT_EQ(seen.buttons, (QStringList{"&No", "&Yes", "Cancel"}));
  }
}

TEST(QtMessageBoxes, InformationKinds) {
  test::TestApplication();
  QtMessageBoxes messages(nullptr);
  SeenBox plain;
  AnswerNextBox(plain, "OK");
  messages.information("Subtitle time errors");
  EXPECT_EQ(plain.caption, "Information");
  EXPECT_EQ(plain.icon, QMessageBox::Information);
  EXPECT_EQ(plain.buttons, QStringList{"OK"});

  SeenBox question;
  AnswerNextBox(question, "&Yes");
  EXPECT_TRUE(messages.informationQuestion("File already exists, overwrite?"));
  EXPECT_EQ(question.caption, "Information");
  EXPECT_EQ(question.icon, QMessageBox::Information);
  EXPECT_EQ(question.buttons, (QStringList{"&Yes", "&No"}));

  SeenBox withHelp;
  AnswerNextBox(withHelp, "OK");
  messages.informationWithHelp("Not find subtitle file.");
  EXPECT_EQ(withHelp.caption, "Information");
  EXPECT_EQ(withHelp.buttons, (QStringList{"OK", "&Help"}));
  EXPECT_TRUE(withHelp.stayedOpenAfterHelp);
}

const EncodingList kEncodings{.Label = "Encoding:", .Names = {"Automatic", "Cyrillic", "Arabic"}, .Chosen = 0};

// When the next dialog opens: note its encoding box's items and the one
// chosen at the start, choose `index`, and accept with `file` chosen (none:
// press OK).
void ChooseEncodingInNextDialog(QStringList& seen, int index, const QString& file = {}) {
  QTimer::singleShot(0, [&seen, index, file] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_TRUE(dialog);
    auto* box = dialog->findChild<QComboBox*>("encoding");
    ASSERT_TRUE(box);
    for (int i = 0; i < box->count(); ++i) seen << box->itemText(i);
    seen << QString::number(box->currentIndex());
    box->setCurrentIndex(index);
    if (auto* files = qobject_cast<QFileDialog*>(dialog)) files->selectFile(file);
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

TEST(QtFileDialogs, TheSubtitleFilesDialogGivesTheEncodingChosenBesideTheName) {
  test::TestApplication();
  QTemporaryDir folder;
  const QString file = folder.filePath("talk.srt");
  QFile(file).open(QIODevice::WriteOnly);
  QtFileDialogs dialogs(nullptr, {});
  QStringList seen;
  ChooseEncodingInNextDialog(seen, 2, file);
  const auto chosen = dialogs.openSubtitle(folder.path().toStdString(), "SubTitle Files(*.srt);|*.srt;", kEncodings);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->Path, file.toStdString());
  EXPECT_EQ(chosen->Encoding, 2);
  EXPECT_EQ(seen, (QStringList{"Automatic", "Cyrillic", "Arabic", "0"}));
}

TEST(QtFileDialogs, ReopeningOffersTheEncodingsWithTheOneReadInChosen) {
  test::TestApplication();
  QtFileDialogs dialogs(nullptr, {});
  QStringList seen;
  EncodingList encodings = kEncodings;
  encodings.Chosen = 1;
  ChooseEncodingInNextDialog(seen, 2);
  EXPECT_EQ(dialogs.chooseEncoding("Reopen", encodings), 2);
  EXPECT_EQ(seen.last(), "1");
}

TEST(SteadyTickClock, MovesForwardInMilliseconds) {
  SteadyTickClock clock;
  const std::uint32_t before = clock.nowMs();
  QTest::qWait(20);
  const std::uint32_t elapsed = clock.nowMs() - before;  // wrapping arithmetic, as its users do
  EXPECT_GE(elapsed, 15u);
  EXPECT_LT(elapsed, 5000u);
}

}  // namespace
}  // namespace orlisk
