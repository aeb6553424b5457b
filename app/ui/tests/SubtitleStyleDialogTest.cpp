// The subtitle style dialog through its real controls: alone over a settings
// file, and opened from the main window's "edit" object, where its outline
// reaches the next drawn picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "app/skin/SkinSurface.h"
#include "app/ui/MainWindow.h"
#include "app/ui/SubtitleFontDialog.h"
#include "app/ui/SubtitleStyleDialog.h"
#include "burnin/NullTextTransform.h"
#include "burnin/writer/NullVideoWriter.h"
#include "playback/NullVideoReader.h"
#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

constexpr Colour kRed = 255;

// Answers the next modal colour dialog with `colour` (confirmed or cancelled)
// and records the colour it opened with.
void AnswerColourDialog(QColor colour, bool confirm, QColor* openedWith = nullptr) {
  QTimer::singleShot(0, [=] {
    auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    if (openedWith) *openedWith = dialog->currentColor();
    dialog->setCurrentColor(colour);
    if (confirm) {
      dialog->accept();
    } else {
      dialog->reject();
    }
  });
}

class SubtitleStyleDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    dialog = std::make_unique<Tfm_setfont>(
        nullptr, SubtitleStyleParts{.Settings = settings,
                                    .State = state,
                                    .ChooseSubtitleFont = [this] { ++fontChoices; },
                                    .Run = [](const std::function<void()>& command) { command(); }});
  }

  void Show() {
    dialog->FormShow();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }

  testing::TempFolder folder{"style-dialog"};
  ProfileFile settings{folder / "orlisk.ini"};
  MainState state;
  int fontChoices = 0;
  std::unique_ptr<Tfm_setfont> dialog;
};

TEST_F(SubtitleStyleDialogTest, ShowsItsControlsAndTheStoredOutlineSwitch) {
  Show();
  EXPECT_EQ(dialog->windowTitle(), "Subtitle Settings");
  EXPECT_EQ(dialog->size(), QSize(489, 234));
  auto* group = dialog->findChild<QGroupBox*>();
  ASSERT_TRUE(group);
  EXPECT_EQ(group->title(), "Subtitle Settings");
  for (QWidget* inGroup : {static_cast<QWidget*>(dialog->Button1), static_cast<QWidget*>(dialog->Button2),
                           static_cast<QWidget*>(dialog->cb_Bborder)})
    EXPECT_EQ(inGroup->parentWidget(), group);
  EXPECT_EQ(dialog->Button1->text(), "Set Font");
  EXPECT_EQ(dialog->Button2->text(), "Border Color");
  EXPECT_EQ(dialog->cb_Bborder->text(), "Subtitle Border");
  EXPECT_EQ(dialog->Button3->text(), "OK");
  EXPECT_EQ(dialog->Button4->text(), "Cancel");
  EXPECT_TRUE(dialog->cb_Bborder->isChecked());  // a missing key: on
  dialog->hide();
  settings.writeBool("Color", "Bborder", false);
  Show();
  EXPECT_FALSE(dialog->cb_Bborder->isChecked());
  QTest::mouseClick(dialog->Button1, Qt::LeftButton);
  EXPECT_EQ(fontChoices, 1);
}

TEST_F(SubtitleStyleDialogTest, OkStoresTheConfirmedColourAndTheSwitch) {
  Show();
  QColor openedWith;
  AnswerColourDialog(Qt::red, true, &openedWith);
  QTest::mouseClick(dialog->Button2, Qt::LeftButton);
  EXPECT_EQ(openedWith, QColor(Qt::black));  // not the outline in use (blue)
  dialog->cb_Bborder->setChecked(false);
  QTest::mouseClick(dialog->Button3, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(state.Style.BorderColor, kRed);
  EXPECT_FALSE(state.Style.BorderEnabled);
  EXPECT_EQ(settings.readString("Color", "borderColor", ""), "255");
  EXPECT_EQ(settings.readString("Color", "Bborder", ""), "0");

  // The next showing opens the colour dialog with the colour last confirmed;
  // a cancelled choice is not remembered.
  Show();
  AnswerColourDialog(Qt::green, false, &openedWith);
  QTest::mouseClick(dialog->Button2, Qt::LeftButton);
  EXPECT_EQ(openedWith, QColor(Qt::red));
  AnswerColourDialog(Qt::green, false, &openedWith);
  QTest::mouseClick(dialog->Button2, Qt::LeftButton);
  EXPECT_EQ(openedWith, QColor(Qt::red));
}

TEST_F(SubtitleStyleDialogTest, CancelDropsTheColourAndTheSwitch) {
  state.Style.BorderColor = 16711680;
  Show();
  AnswerColourDialog(Qt::red, true);
  QTest::mouseClick(dialog->Button2, Qt::LeftButton);
  dialog->cb_Bborder->setChecked(false);
  QTest::mouseClick(dialog->Button4, Qt::LeftButton);
  EXPECT_EQ(state.Style.BorderColor, 16711680u);
  EXPECT_TRUE(state.Style.BorderEnabled);
  EXPECT_FALSE(std::filesystem::exists(settings.path()));

  // A colour confirmed in an earlier showing counts only when confirmed again.
  Show();
  QTest::mouseClick(dialog->Button3, Qt::LeftButton);
  EXPECT_EQ(state.Style.BorderColor, 16711680u);
  EXPECT_EQ(settings.readString("Color", "borderColor", ""), "16711680");
}

// Records every text drawn with its colour.
class RecordingTransform : public NullTextTransform {
 public:
  void DrawText(double, int, int, const std::string& text, const SubtitleFont& font, Colour colour,
                int) override {
    drawn.push_back({text, colour, font});
  }
  struct Drawn {
    std::string Text;
    Colour Color;
    SubtitleFont Font;
  };
  std::vector<Drawn> drawn;
};

TEST(SubtitleStyleFromTheMainWindow, TheOutlineReachesTheNextPictureAndTheFontStaysAfterCancel) {
  test::TestApplication();
  testing::TempFolder folder("style-main");
  const AppPaths paths = test::WindowPaths(folder.path());
  NullVideoReader reader;
  test::IdleAudio audio;
  RecordingTransform transform;
  NullVideoWriter writer;
  Tfm_main window(MainWindowParts{paths, kLangEnglishUs, reader, audio, transform, writer,
                                  test::TenPixelsAByte});
  window.FormShow();
  window.show();
  auto* skin = window.findChild<SkinSurface*>();

  // "edit": "Set Font" picks Times 30 px in yellow, then "Border Color" red,
  // then "OK".
  bool styleShown = false;
  QTimer::singleShot(0, [&] {
    auto* style = qobject_cast<Tfm_setfont*>(QApplication::activeModalWidget());
    if (!style) return;
    styleShown = true;
    QTimer::singleShot(0, [] {
      auto* fonts = qobject_cast<SubtitleFontDialog*>(QApplication::activeModalWidget());
      if (!fonts) return;
      QFont chosen(QStringLiteral("Liberation Serif"));
      chosen.setPixelSize(30);
      fonts->findChild<QFontDialog*>()->setCurrentFont(chosen);
      fonts->accept();
    });
    QTest::mouseClick(style->Button1, Qt::LeftButton);
    AnswerColourDialog(Qt::red, true);
    QTest::mouseClick(style->Button2, Qt::LeftButton);
    QTest::mouseClick(style->Button3, Qt::LeftButton);
  });
  emit skin->objectClicked(QStringLiteral("edit"));
  ASSERT_TRUE(styleShown);
  EXPECT_EQ(window.state().Style.BorderColor, kRed);
  EXPECT_EQ(ProfileFile(paths.SettingsFile).readString("Color", "borderColor", ""), "255");
  const SubtitleFont chosenFont = window.state().Style.Font;
  EXPECT_EQ(chosenFont.Face, "Liberation Serif");
  EXPECT_NE(chosenFont, SubtitleFont{});

  // The next drawn picture has the red outline around the text.
  window.state().VideoPath = "/v/talk.avi";
  window.state().CurrentFrame = Frame{8, 8, 32, std::vector<std::uint8_t>(8 * 32, 0)};
  transform.drawn.clear();
  window.controller().RefreshFrame();
  ASSERT_FALSE(transform.drawn.empty());
  EXPECT_EQ(transform.drawn.front().Color, kRed);
  EXPECT_EQ(transform.drawn.back().Color, window.state().Style.TextColor);
  EXPECT_EQ(transform.drawn.back().Font, chosenFont);

  // A font chosen and then "Cancel": the font stays in use.
  QTimer::singleShot(0, [&] {
    auto* style = qobject_cast<Tfm_setfont*>(QApplication::activeModalWidget());
    if (!style) return;
    QTimer::singleShot(0, [] {
      auto* fonts = qobject_cast<SubtitleFontDialog*>(QApplication::activeModalWidget());
      if (!fonts) return;
      QFont chosen(QStringLiteral("Liberation Sans"));
      chosen.setPixelSize(40);
      fonts->findChild<QFontDialog*>()->setCurrentFont(chosen);
      fonts->accept();
    });
    QTest::mouseClick(style->Button1, Qt::LeftButton);
    QTest::mouseClick(style->Button4, Qt::LeftButton);
  });
  emit skin->objectClicked(QStringLiteral("edit"));
  EXPECT_EQ(window.state().Style.Font.Face, "Liberation Sans");
  EXPECT_NE(window.state().Style.Font, chosenFont);
  EXPECT_EQ(window.state().Style.BorderColor, kRed);
  window.close();
}

}  // namespace
}  // namespace orlisk
