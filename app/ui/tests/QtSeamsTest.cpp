// The four message box kinds as the user sees them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
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
