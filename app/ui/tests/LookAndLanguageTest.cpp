// One look and one language: the dark palette reaches Qt's own dialogs, Qt's
// texts come in Chinese with a Chinese interface, and every caption a user
// can see in the editor's windows has its Chinese text.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QCheckBox>
#include <QColorDialog>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

#include "TestSupport.h"
#include "app/language/Language.h"
#include "app/skin/SkinSurface.h"
#include "app/ui/AppLook.h"
#include "app/ui/AviCodecDialog.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtSeams.h"
#include "app/ui/WindowCaptions.h"
#include "burnin/NullTextTransform.h"
#include "burnin/writer/NullVideoWriter.h"

namespace orlisk {
namespace {

// Qt's Chinese texts for the length of one test; the other tests expect English.
class QtChinese {
 public:
  QtChinese() : translator_(InstallQtTranslations(test::TestApplication(), true)) {}
  ~QtChinese() {
    if (!translator_) return;
    QApplication::removeTranslator(translator_);
    delete translator_;
  }
  bool installed() const { return translator_ != nullptr; }

 private:
  QTranslator* translator_;
};

bool QtChineseAvailable() {
  return QFileInfo::exists(QtTranslationsFolder() + QStringLiteral("/qtbase_zh_CN.qm"));
}

bool HasChinese(const QString& text) {
  static const QRegularExpression han(QStringLiteral("\\p{Han}"));
  return text.contains(han);
}

// Texts that read the same in both languages: no letters at all ("...", "X",
// "00:00:00"), the product's name and the names of formats.
bool SameInBothLanguages(const QString& text) {
  static const QRegularExpression letters(QStringLiteral("[A-Za-z]{2,}"));
  static const QRegularExpression names(
      QStringLiteral("^\\s*(Veldrane Orlisk|AVI|MPEG|MPEG1|MPEG2|WMV|RM|PCM|MP3|ADPCM|GSM|ULAW|ALAW|MP4|MKV|MP4/MKV|AAC|Opus|HTML.*)\\s*$"));
  QString plain = text;
  plain.remove(QStringLiteral("&"));
  return !plain.contains(letters) || names.match(plain).hasMatch();
}

// Qt's own dialogs and standard buttons inside ours: their texts are Qt's to translate.
bool QtsOwnText(const QObject* object) {
  for (const QObject* at = object; at; at = at->parent())
    if (qobject_cast<const QFontDialog*>(at) || qobject_cast<const QColorDialog*>(at) ||
        qobject_cast<const QDialogButtonBox*>(at))
      return true;
  return false;
}

// Every caption shown in the window and the windows it owns, named by where it is.
std::vector<std::pair<QString, QString>> VisibleCaptions(QWidget& window, bool withQtTexts) {
  std::vector<std::pair<QString, QString>> captions;
  const auto add = [&](const QObject* owner, const QString& what, const QString& text) {
    if (text.trimmed().isEmpty() || (!withQtTexts && QtsOwnText(owner))) return;
    captions.emplace_back(owner->objectName() + QStringLiteral(" ") + what, text);
  };
  std::vector<QWidget*> widgets{&window};
  for (QWidget* child : window.findChildren<QWidget*>()) widgets.push_back(child);
  for (QWidget* widget : widgets) {
    if (widget->isWindow()) add(widget, QStringLiteral("title"), widget->windowTitle());
    // A list's tool tip repeats its chosen item.
    if (!qobject_cast<QComboBox*>(widget)) add(widget, QStringLiteral("tool tip"), widget->toolTip());
    // The codec lists hold the writer's names for its encoders and profiles.
    if (auto* list = qobject_cast<QComboBox*>(widget); list && !list->objectName().endsWith(QStringLiteral("Codecs")))
      for (int item = 0; item < list->count(); ++item) add(widget, QStringLiteral("item"), list->itemText(item));
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) add(widget, QStringLiteral("text"), button->text());
    if (auto* label = qobject_cast<QLabel*>(widget)) add(widget, QStringLiteral("text"), label->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget)) add(widget, QStringLiteral("title"), group->title());
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
      add(widget, QStringLiteral("placeholder"), memo->placeholderText());
    if (auto* tabs = qobject_cast<QTabWidget*>(widget))
      for (int page = 0; page < tabs->count(); ++page) add(widget, QStringLiteral("tab"), tabs->tabText(page));
    if (auto* header = qobject_cast<QHeaderView*>(widget); header && header->model())
      for (int column = 0; column < header->count(); ++column)
        add(widget, QStringLiteral("header"),
            header->model()->headerData(column, header->orientation()).toString());
  }
  for (QAction* action : window.findChildren<QAction*>())
    if (!action->isSeparator()) add(action, QStringLiteral("item"), action->text());
  return captions;
}

TEST(LookTest, QtDialogsAndBoxesTakeTheDarkPalette) {
  test::TestApplication();
  const QPalette before = QApplication::palette();
  const QString sheet = qApp->styleSheet();
  ApplyDarkLook(test::TestApplication());
  QMessageBox box;
  QFontDialog fonts;
  for (QWidget* widget : {static_cast<QWidget*>(&box), static_cast<QWidget*>(&fonts)}) {
    EXPECT_LT(widget->palette().color(QPalette::Window).lightness(), 60);
    EXPECT_GT(widget->palette().color(QPalette::WindowText).lightness(), 180);
  }
  EXPECT_TRUE(QApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
  // An unticked check box keeps a visible edge on the dark window.
  QCheckBox box2(QStringLiteral("Subtitle Border"));
  box2.resize(box2.sizeHint());
  const QImage face = box2.grab().toImage();
  QStyleOptionButton option;
  option.initFrom(&box2);
  const QRect indicator = box2.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box2);
  int brightest = 0;
  for (int y = indicator.top(); y <= indicator.bottom(); ++y)
    for (int x = indicator.left(); x <= indicator.right(); ++x)
      brightest = std::max(brightest, face.pixelColor(x, y).lightness());
  EXPECT_GT(brightest, 70);
  QApplication::setPalette(before);
  qApp->setStyleSheet(sheet);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

TEST(QtTranslationsTest, AnEnglishInterfaceKeepsQtsEnglishTexts) {
  test::TestApplication();
  EXPECT_EQ(InstallQtTranslations(test::TestApplication(), false), nullptr);
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "Cancel");
}

TEST(QtTranslationsTest, AChineseInterfaceGetsQtsChineseButtons) {
  test::TestApplication();
  if (!QtChineseAvailable()) GTEST_SKIP() << "qtbase_zh_CN.qm is not installed (qt6-translations-l10n)";
  const QtChinese chinese;
  ASSERT_TRUE(chinese.installed());
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("取消"));
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QString::fromUtf8("取消"));
  EXPECT_TRUE(HasChinese(box.button(QMessageBox::Yes)->text()));
}

// Our own boxes ask Qt for their button texts, so they follow its language.
TEST(QtTranslationsTest, OurMessageBoxesSayOkInChinese) {
  test::TestApplication();
  if (!QtChineseAvailable()) GTEST_SKIP() << "qtbase_zh_CN.qm is not installed (qt6-translations-l10n)";
  const QtChinese chinese;
  QWidget parent;
  QtMessageBoxes boxes(&parent);
  QStringList seen;
  QTimer::singleShot(0, [&] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(top);
      if (!box || !box->isVisible()) continue;
      for (QAbstractButton* button : box->buttons()) seen << button->text();
      seen << box->windowTitle();
      box->buttons().first()->click();
    }
  });
  boxes.information("text");
  EXPECT_TRUE(seen.contains(QString::fromUtf8("确定"))) << seen.join(", ").toStdString();

  // The file dialogs' captions are Qt's words too.
  QtFileDialogs dialogs(&parent, {});
  QString caption;
  QTimer::singleShot(0, [&] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QFileDialog*>(top);
      if (!dialog || !dialog->isVisible()) continue;
      caption = dialog->windowTitle();
      dialog->reject();
    }
  });
  QTemporaryDir folder;
  EXPECT_EQ(dialogs.openVideo(folder.path().toStdString(), "All File|*.*;"), std::nullopt);
  EXPECT_EQ(caption, QString::fromUtf8("打开"));
}

class ChineseCaptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }

  std::unique_ptr<Tfm_main> MakeWindow(int languageId) {
    const AppPaths paths = test::WindowPaths(settingsDir.path().toStdString());
    return std::make_unique<Tfm_main>(MainWindowParts{paths, languageId, reader, audio, transform, writer,
                                                      test::TenPixelsAByte});
  }

  QTemporaryDir settingsDir;
  test::IdleReader reader;
  test::IdleAudio audio;
  NullTextTransform transform;
  NullVideoWriter writer;
};

// Qt's own dialogs inside ours (font, colour) are checked too when Qt's
// translation is installed.
TEST_F(ChineseCaptionsTest, EveryCaptionOfEveryWindowHasItsChineseText) {
  const QtChinese qtChinese;
  auto window = MakeWindow(kLangChineseSimplified);
  ASSERT_NO_THROW(window->FormShow());
  const auto captions = VisibleCaptions(*window, qtChinese.installed());
  EXPECT_GT(captions.size(), 60u);
  for (const auto& [where, text] : captions) {
    EXPECT_TRUE(HasChinese(text) || SameInBothLanguages(text))
        << where.toStdString() << ": \"" << text.toStdString() << "\"";
  }
}

// The About and update windows place their controls by hand: the Chinese
// captions fit the places they are given.
TEST_F(ChineseCaptionsTest, ChineseCaptionsFitTheWindowsPlacedByHand) {
  auto window = MakeWindow(kLangChineseSimplified);
  ASSERT_NO_THROW(window->FormShow());
  for (const char* name : {"Tfm_about", "Tfm_update"}) {
    auto* dialog = window->findChild<QDialog*>(QString::fromLatin1(name));
    ASSERT_TRUE(dialog) << name;
    for (QLabel* label : dialog->findChildren<QLabel*>())
      EXPECT_GE(label->width(), label->sizeHint().width()) << name << " " << label->objectName().toStdString();
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
      EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()) + 8)
          << name << " " << button->objectName().toStdString();
  }
}

// The codec's settings window is made when asked for; it gets its captions as it shows.
TEST_F(ChineseCaptionsTest, TheCodecSettingsWindowGetsItsChineseCaptionsAsItShows) {
  const QtChinese qtChinese;
  auto window = MakeWindow(kLangChineseSimplified);
  ASSERT_NO_THROW(window->FormShow());
  for (bool lossless : {false, true}) {
    AviCodecSettings settings;
    settings.Lossless = lossless;
    AviCodecDialog codec(window.get(), QStringLiteral("MPEG"), settings);
    codec.show();
    for (const auto& [where, text] : VisibleCaptions(codec, qtChinese.installed()))
      EXPECT_TRUE(HasChinese(text) || SameInBothLanguages(text))
          << where.toStdString() << ": \"" << text.toStdString() << "\"";
    codec.hide();
  }
}

TEST_F(ChineseCaptionsTest, AnEnglishInterfaceKeepsEnglishCaptions) {
  auto window = MakeWindow(kLangEnglishUs);
  ASSERT_NO_THROW(window->FormShow());
  for (const auto& [where, text] : VisibleCaptions(*window, true))
    EXPECT_FALSE(HasChinese(text)) << where.toStdString() << ": \"" << text.toStdString() << "\"";
}

// Whatever road changes the play state, the play button shows it once the
// command has run.
TEST_F(ChineseCaptionsTest, ThePlayButtonShowsThatPlaybackIsRunning) {
  auto window = MakeWindow(kLangEnglishUs);
  ASSERT_NO_THROW(window->FormShow());
  auto* skin = window->findChild<SkinSurface*>();
  ASSERT_TRUE(skin);
  SkinObject* play = skin->FindObject(QStringLiteral("play"));
  SkinObject* pause = skin->FindObject(QStringLiteral("pause"));
  ASSERT_TRUE(play && pause);
  EXPECT_FALSE(play->isActive());
  window->Run([&] { window->state().IsPlaying = true; });
  EXPECT_TRUE(play->isActive());
  EXPECT_FALSE(pause->isActive());
  window->Run([&] {
    window->state().IsPlaying = false;
    window->state().IsPaused = true;
  });
  EXPECT_FALSE(play->isActive());
  EXPECT_TRUE(pause->isActive());
  window->Run([&] { window->state().IsPaused = false; });
  EXPECT_FALSE(pause->isActive());
}

// Captions by window and control name; a missing file or key keeps the caption
// the control was built with.
TEST(WindowCaptionsTest, LooksUpTheWindowsSectionByControlName) {
  test::TestApplication();
  QTemporaryDir folder;
  {
    QFile file(folder.filePath(QStringLiteral("languageEn.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Tfm_probe]\nCaption=Probe window\nok=Fine\ngroup=Things\n[Other]\nok=Wrong\n");
  }
  const Language language(folder.path().toStdString(), kLangEnglishUs);
  QWidget window;
  window.setObjectName(QStringLiteral("Tfm_probe"));
  window.setWindowTitle(QStringLiteral("Probe"));
  auto* ok = new QPushButton(QStringLiteral("OK"), &window);
  ok->setObjectName(QStringLiteral("ok"));
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), &window);
  cancel->setObjectName(QStringLiteral("cancel"));
  auto* group = new QGroupBox(QStringLiteral("Group"), &window);
  group->setObjectName(QStringLiteral("group"));
  // A window of its own inside this one keeps its captions to its own section.
  QWidget inner(&window, Qt::Dialog);
  inner.setObjectName(QStringLiteral("Other"));
  auto* innerOk = new QPushButton(QStringLiteral("OK"), &inner);
  innerOk->setObjectName(QStringLiteral("ok"));

  ApplyWindowCaptions(window, language);
  EXPECT_EQ(window.windowTitle(), "Probe window");
  EXPECT_EQ(ok->text(), "Fine");
  EXPECT_EQ(cancel->text(), "Cancel");
  EXPECT_EQ(group->title(), "Things");
  EXPECT_EQ(innerOk->text(), "OK");

  const Language missing((folder.path() + QStringLiteral("/none")).toStdString(), kLangEnglishUs);
  QPushButton lone(QStringLiteral("Keep"));
  lone.setObjectName(QStringLiteral("ok"));
  ApplyWindowCaptions(lone, missing);
  EXPECT_EQ(lone.text(), "Keep");
}

}  // namespace
}  // namespace orlisk
