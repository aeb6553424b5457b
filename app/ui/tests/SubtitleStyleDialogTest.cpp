// The subtitle style dialog through its real controls: alone over a settings
// file, and opened from the main window's "edit" object, where its outline
// reaches the next drawn picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "app/skin/SkinSurface.h"
#include "app/ui/MainWindow.h"
#include "app/ui/SubtitleFontDialog.h"
#include "app/ui/StyleSample.h"
#include "app/ui/SubtitleStyleDialog.h"
#include "burnin/NullTextTransform.h"
#include "burnin/QtTextTransform.h"
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
                                    .Transform = transform,
                                    .ChooseSubtitleFont = [this] { ++fontChoices; },
                                    .ApplyStyle =
                                        [this](const StyleChoice& choice) {
                                          applied.push_back(choice);
                                          return acceptChoice;
                                        },
                                    .Run = [](const std::function<void()>& command) { command(); }});
  }

  void Show() {
    dialog->FormShow();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
  }
  QImage Sample() const { return dialog->lblSample->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }

  testing::TempFolder folder{"style-dialog"};
  ProfileFile settings{folder / "orlisk.ini"};
  MainState state;
  QtTextTransform transform;
  int fontChoices = 0;
  std::vector<StyleChoice> applied;
  bool acceptChoice = true;
  std::unique_ptr<Tfm_setfont> dialog;
};

TEST_F(SubtitleStyleDialogTest, ShowsItsControlsTheFontForAllAndTheStoredOutlineSwitch) {
  state.Style.Backdrop = {.Shape = SubtitleBackdrop::Kind::Shadow, .Opacity = 80};
  Show();
  EXPECT_EQ(dialog->windowTitle(), "Subtitle Settings");
  EXPECT_EQ(dialog->size(), QSize(489, 430));
  auto* group = dialog->findChild<QGroupBox*>(QStringLiteral("grpSubtitle"));
  ASSERT_TRUE(group);
  EXPECT_EQ(group->title(), "Subtitle Settings");
  for (QWidget* inGroup : {static_cast<QWidget*>(dialog->Button1), static_cast<QWidget*>(dialog->Button2),
                           static_cast<QWidget*>(dialog->cb_Bborder), static_cast<QWidget*>(dialog->lblSample)})
    EXPECT_EQ(inGroup->parentWidget(), group);
  EXPECT_EQ(dialog->Button1->text(), "Set Font");
  EXPECT_EQ(dialog->Button2->text(), "Border Color");
  EXPECT_EQ(dialog->cb_Bborder->text(), "Subtitle Border");
  EXPECT_EQ(dialog->Button3->text(), "OK");
  EXPECT_EQ(dialog->Button4->text(), "Cancel");
  // The font in use, said plainly to be one for all subtitles.
  EXPECT_EQ(dialog->lblFontName->text(), "Arial, Bold, 16 pt");
  auto* oneForAll = dialog->findChild<QLabel*>(QStringLiteral("lblOneForAll"));
  ASSERT_TRUE(oneForAll);
  EXPECT_TRUE(oneForAll->text().contains("one for all subtitles"));
  EXPECT_EQ(dialog->cmbBackdrop->currentText(), "Shadow");
  EXPECT_EQ(dialog->spnOpacity->value(), 80);
  EXPECT_TRUE(dialog->rbApplyAtHand->isChecked());
  EXPECT_EQ(dialog->rbApplyAll->text(), "Every subtitle");
  EXPECT_TRUE(dialog->cb_Bborder->isChecked());  // a missing key: on
  dialog->hide();
  settings.writeBool("Color", "Bborder", false);
  Show();
  EXPECT_FALSE(dialog->cb_Bborder->isChecked());
  QTest::mouseClick(dialog->Button1, Qt::LeftButton);
  EXPECT_EQ(fontChoices, 1);
}

TEST_F(SubtitleStyleDialogTest, TheSampleIsThePictureRenderersInTheStyleAsChosenSoFar) {
  Show();
  const QImage before = Sample();
  ASSERT_FALSE(before.isNull());
  EXPECT_EQ(before, DrawStyleSample(transform, state.Style, before.size()));
  // The white letters stand on white, blue and black bands: the blue band
  // shows white letters, the black one too.
  AnswerColourDialog(Qt::red, true);
  QTest::mouseClick(dialog->Button2, Qt::LeftButton);
  dialog->cmbBackdrop->setCurrentIndex(static_cast<int>(SubtitleBackdrop::Kind::Box));
  dialog->spnOpacity->setValue(70);
  const SubtitleStyle shown = dialog->ShownStyle();
  EXPECT_EQ(shown.BorderColor, kRed);
  EXPECT_EQ(shown.Backdrop, (SubtitleBackdrop{.Shape = SubtitleBackdrop::Kind::Box, .Opacity = 70}));
  EXPECT_EQ(Sample(), DrawStyleSample(transform, shown, before.size()));
  EXPECT_NE(Sample(), before);
  EXPECT_TRUE(applied.empty());  // nothing is stored before "OK"
}

TEST_F(SubtitleStyleDialogTest, OkHandsOverTheConfirmedColourTheSwitchTheBackdropAndTheSubtitles) {
  Show();
  QColor openedWith;
  AnswerColourDialog(Qt::red, true, &openedWith);
  QTest::mouseClick(dialog->Button2, Qt::LeftButton);
  EXPECT_EQ(openedWith, QColor(Qt::black));  // not the outline in use (blue)
  dialog->cb_Bborder->setChecked(false);
  dialog->cmbBackdrop->setCurrentIndex(static_cast<int>(SubtitleBackdrop::Kind::Shadow));
  dialog->rbApplyAll->setChecked(true);
  QTest::mouseClick(dialog->Button3, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0].BorderColor, kRed);
  EXPECT_FALSE(applied[0].BorderEnabled);
  EXPECT_EQ(applied[0].Backdrop.Shape, SubtitleBackdrop::Kind::Shadow);
  EXPECT_EQ(applied[0].Scope, StyleScope::EverySubtitle);

  // The next showing opens the colour dialog with the colour last confirmed;
  // a cancelled choice is not remembered; the subtitle at hand is chosen again.
  Show();
  EXPECT_TRUE(dialog->rbApplyAtHand->isChecked());
  AnswerColourDialog(Qt::green, false, &openedWith);
  QTest::mouseClick(dialog->Button2, Qt::LeftButton);
  EXPECT_EQ(openedWith, QColor(Qt::red));
  AnswerColourDialog(Qt::green, false, &openedWith);
  QTest::mouseClick(dialog->Button2, Qt::LeftButton);
  EXPECT_EQ(openedWith, QColor(Qt::red));

  // A refused choice leaves the dialog open.
  acceptChoice = false;
  QTest::mouseClick(dialog->Button3, Qt::LeftButton);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(applied.back().Scope, StyleScope::SubtitleAtHand);
  EXPECT_EQ(applied.back().BorderColor, state.Style.BorderColor);  // no colour confirmed in this showing
}

TEST_F(SubtitleStyleDialogTest, CancelHandsOverNothing) {
  Show();
  AnswerColourDialog(Qt::red, true);
  QTest::mouseClick(dialog->Button2, Qt::LeftButton);
  dialog->cb_Bborder->setChecked(false);
  QTest::mouseClick(dialog->Button4, Qt::LeftButton);
  EXPECT_TRUE(applied.empty());
  EXPECT_FALSE(std::filesystem::exists(settings.path()));
}

// Records every text drawn with its colour.
class RecordingTransform : public NullTextTransform {
 public:
  void DrawText(double, const SubtitlePlacement&, const std::string& text, const SubtitleStyle& style) override {
    drawn.push_back({text, style.TextColor, style.Font, style.BorderColor});
  }
  struct Drawn {
    std::string Text;
    Colour Color;
    SubtitleFont Font;
    Colour Outline;
  };
  std::vector<Drawn> drawn;
};

// The main window over a settings file of its own, shown.
struct StyleWindow {
  StyleWindow() {
    window.FormShow();
    window.show();
    skin = window.findChild<SkinSurface*>();
  }
  ~StyleWindow() {
    window.state().Document.markSaved();  // the rows a test made: nothing to offer for saving
    window.close();
  }
  Application& app = test::TestApplication();
  testing::TempFolder folder{"style-main"};
  const AppPaths paths = test::WindowPaths(folder.path());
  NullVideoReader reader;
  test::IdleAudio audio;
  RecordingTransform transform;
  NullVideoWriter writer;
  Tfm_main window{MainWindowParts{paths, kLangEnglishUs, reader, audio, transform, writer, test::TenPixelsAByte}};
  SkinSurface* skin = nullptr;
};

TEST(SubtitleStyleFromTheMainWindow, TheOutlineReachesTheNextPictureAndTheFontStaysAfterCancel) {
  StyleWindow shown;
  Tfm_main& window = shown.window;
  RecordingTransform& transform = shown.transform;
  SkinSurface* skin = shown.skin;
  const AppPaths& paths = shown.paths;

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
  EXPECT_EQ(transform.drawn.back().Outline, kRed);
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
}

TEST(SubtitleStyleFromTheMainWindow, EverySubtitleTakesTheOutlineInOneUndoStep) {
  StyleWindow shown;
  Tfm_main& window = shown.window;
  SubtitleDocument& document = window.state().Document;
  for (const char* text : {"one", "two"}) {
    document.appendRow(SubtitleRow{"00:00:01,000 --> 00:00:02,000", text});
    document.resizeEntries(document.rowCount());
    document.entries().back().BorderColor = SubtitleStyle{}.BorderColor;
  }
  window.controller().history().startFresh();
  const std::vector<SubtitleEntry> before = document.entries();

  QTimer::singleShot(0, [] {
    auto* style = qobject_cast<Tfm_setfont*>(QApplication::activeModalWidget());
    if (!style) return;
    AnswerColourDialog(Qt::red, true);
    QTest::mouseClick(style->Button2, Qt::LeftButton);
    style->rbApplyAll->setChecked(true);
    QTest::mouseClick(style->Button3, Qt::LeftButton);
  });
  emit shown.skin->objectClicked(QStringLiteral("edit"));
  for (const SubtitleEntry& entry : document.entries()) EXPECT_EQ(entry.BorderColor, kRed);
  EXPECT_EQ(window.controller().history().undoCount(), 1u);
  window.controller().Undo();
  EXPECT_EQ(document.entries(), before);
}

}  // namespace
}  // namespace orlisk
