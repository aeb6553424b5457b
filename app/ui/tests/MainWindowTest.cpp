// The main window built whole, over the shipped skin, with stand-ins for the
// media components (no video is opened here).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "app/skin/SkinSurface.h"
#include "app/ui/MainWindow.h"
#include "app/ui/OutputSettingsDialog.h"
#include <QComboBox>
#include <QTabWidget>
#include "app/ui/VideoViewWidget.h"
#include "burnin/NullTextTransform.h"
#include "burnin/writer/NullVideoWriter.h"
#include "playback/NullVideoReader.h"

namespace orlisk {
namespace {

std::string ReadWhole(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }

  std::unique_ptr<Tfm_main> MakeWindow(const std::filesystem::path& programFolder) {
    const AppPaths paths = test::WindowPaths(settingsDir.path().toStdString(), programFolder);
    return std::make_unique<Tfm_main>(MainWindowParts{paths, kLangEnglishUs, reader, audio, transform, writer,
                                                      test::TenPixelsAByte});
  }

  // The shipped skin without a language file: every text is the English default.
  std::filesystem::path ProgramFolderWithSkinOnly() {
    const std::filesystem::path folder = programFolder.path().toStdString();
    std::filesystem::copy_file(std::filesystem::path(ORLISK_TEST_DATA_DIR) / "skn.skn", folder / "skn.skn",
                               std::filesystem::copy_options::overwrite_existing);
    return folder;
  }

  QTemporaryDir settingsDir;
  QTemporaryDir programFolder;
  test::IdleReader reader;
  test::IdleAudio audio;
  NullTextTransform transform;
  NullVideoWriter writer;
};

TEST_F(MainWindowTest, StartsWithItsControlsCaptionsAndWindows) {
  auto window = MakeWindow(ORLISK_TEST_DATA_DIR);
  ASSERT_NO_THROW(window->FormShow());
  EXPECT_EQ(window->windowTitle(), "Veldrane Orlisk");
  EXPECT_EQ(window->size(), QSize(988, 765 + 100));  // the skin's face and the timing strip's band
  EXPECT_EQ(window->minimumSize(), window->maximumSize());  // not resizable
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);

  auto* memo = window->findChild<QPlainTextEdit*>();
  ASSERT_TRUE(memo);
  EXPECT_FALSE(memo->isEnabled());
  EXPECT_EQ(memo->geometry(), QRect(12, 568, 858, 63));
  EXPECT_FALSE(window->findChild<VideoViewWidget*>()->isVisibleTo(window.get()));
  EXPECT_EQ(window->findChild<VideoViewWidget*>()->geometry(), QRect(20, 154, 566, 378));
  auto* preview = window->findChild<QCheckBox*>(QStringLiteral("cb_prsub"));
  EXPECT_EQ(preview->text(), "Subtitle Preview");
  EXPECT_FALSE(preview->isChecked());
  EXPECT_FALSE(preview->toolTip().isEmpty());
  int timeEdits = 0;
  for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
    if (edit->geometry() == QRect(393, 649, 112, 24) || edit->geometry() == QRect(650, 649, 112, 24)) {
      EXPECT_EQ(edit->text(), "00:00:00,000");
      ++timeEdits;
    }
  }
  EXPECT_EQ(timeEdits, 2);

  QStringList captions;
  for (QDialog* dialog : window->findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
    captions << dialog->windowTitle();
  }
  for (const char* caption : {"Subtitle Settings", "Settings", "Output Directory", "About", "Veldrane Orlisk Update"}) {
    EXPECT_TRUE(captions.contains(QString::fromLatin1(caption))) << caption;
  }
  EXPECT_TRUE(window->state().EditMode);
  EXPECT_TRUE(window->state().NoVideoOpen);
  EXPECT_EQ(window->state().OutputFolder, (std::filesystem::path(settingsDir.path().toStdString()) / "Videos").string());
}

TEST_F(MainWindowTest, MenuCaptionsFallBackToEnglishWithoutALanguageFile) {
  auto window = MakeWindow(ProgramFolderWithSkinOnly());
  ASSERT_NO_THROW(window->FormShow());
  const std::pair<const char*, const char*> rows[] = {
      {"About1", "About"},           {"ContactUS1", "Contact US"},         {"Content1", "Help"},
      {"Exit1", "Exit"},             {"Inspectionupdate1", "Inspection Update"},
      {"OurWebSite1", "Our WebSite"}, {"Stop1", "Stop Write Subtitle"},    {"WriteSubtitle1", "Write Subtitle"},
      {"OpenFile1", "Open Video File"}, {"Insert", "Insert Subtitle"},     {"ClearSubtitle1", "Clear Subtitle"},
  };
  for (const auto& [name, caption] : rows) {
    auto* action = window->findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_TRUE(action) << name;
    EXPECT_EQ(action->text(), QString::fromLatin1(caption)) << name;
  }
  // The instruction is a hint shown while the memo is empty, not text that
  // would be drawn on the picture; with nothing at hand it takes no typing.
  auto* memo = window->findChild<QPlainTextEdit*>();
  EXPECT_EQ(memo->toPlainText(), "");
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(memo->placeholderText(),
            "Press F3 to add a subtitle at the play time, or pick a row in the list and choose Edit to change it");
}

TEST_F(MainWindowTest, TheMemoTakesTypingOnlyWhileASubtitleIsAtHand) {
  auto window = MakeWindow(ProgramFolderWithSkinOnly());
  window->FormShow();
  auto* memo = window->findChild<QPlainTextEdit*>();
  // A status (a write job's) stands where the hint does, never as the text.
  window->state().AtHand.ShowStatus("Subtitles write complete");
  auto* preview = window->findChild<QCheckBox*>(QStringLiteral("cb_prsub"));
  for (int click = 0; click < 2; ++click) preview->click();  // a command that keeps it
  EXPECT_EQ(memo->placeholderText(), "Subtitles write complete");
  EXPECT_EQ(memo->toPlainText(), "");
  test::RunCommand(*window, "Insert");  // a blank row, taken up for typing: the status goes
  EXPECT_FALSE(memo->isReadOnly());
  EXPECT_EQ(memo->placeholderText(), "Type the subtitle: it is drawn on the picture as you type, and F4 stamps its end");
  test::RunCommand(*window, "ClearSubtitle1");
  EXPECT_TRUE(memo->isReadOnly());
}

TEST_F(MainWindowTest, AMissingSkinFileStopsTheStartNamingTheFile) {
  QTemporaryDir emptyFolder;
  auto window = MakeWindow(emptyFolder.path().toStdString());
  try {
    window->FormShow();
    FAIL() << "started without a skin";
  } catch (const SkinError& e) {
    EXPECT_NE(std::string(e.what()).find("skn.skn"), std::string::npos) << e.what();
  }
}

TEST_F(MainWindowTest, ClosingWithNoVideoOpenWritesOnlyTheUpdateSwitch) {
  auto window = MakeWindow(ORLISK_TEST_DATA_DIR);
  window->FormShow();
  window->show();
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(reader.closes, 0);
  std::string written = ReadWhole(std::filesystem::path(settingsDir.path().toStdString()) / "orlisk.ini");
  std::erase(written, '\r');
  EXPECT_EQ(written, "[Update]\nBool=1\n");
}

TEST_F(MainWindowTest, ASkinClickReachesItsCommandAndItsMessage) {
  auto window = MakeWindow(ProgramFolderWithSkinOnly());
  window->FormShow();
  window->show();
  QString caption, text;
  QStringList buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    caption = box->windowTitle();
    text = box->text();
    for (QAbstractButton* button : box->buttons()) buttons << button->text();
    box->buttons().first()->click();
  });
  // "opensubtitle" with no video open refuses with its message.
  emit window->findChild<SkinSurface*>()->objectClicked(QStringLiteral("opensubtitle"));
  EXPECT_EQ(caption, "Information");
  EXPECT_EQ(text, "please first add video file");
  EXPECT_EQ(buttons, QStringList{"OK"});
}

TEST_F(MainWindowTest, SettingsOpensTheOutputSettingsWithTheWritersCatalogues) {
  auto window = MakeWindow(ProgramFolderWithSkinOnly());
  window->FormShow();
  window->show();
  EXPECT_EQ(window->codecLists().AviCodecs.size(), 2u);
  EXPECT_EQ(window->state().XvidCodecIndex, 1);
  QStringList aviCodecs;
  int page = -1;
  QTimer::singleShot(0, [&] {
    auto* settings = qobject_cast<Tfm_set*>(QApplication::activeModalWidget());
    if (!settings) return;
    for (int i = 0; i < settings->cmbAVICodecs->count(); ++i) aviCodecs << settings->cmbAVICodecs->itemText(i);
    page = settings->tabTypeOutFile->currentIndex();
    settings->cb_format->setCurrentIndex(3);
    settings->btnCancel->click();
  });
  emit window->findChild<SkinSurface*>()->objectClicked(QStringLiteral("settings"));
  EXPECT_EQ(aviCodecs, (QStringList{"libxvidcore MPEG-4 part 2", "MPEG-4 part 2"}));
  EXPECT_EQ(page, 0);
  EXPECT_EQ(window->FormatChoice(), 3);
}

}  // namespace
}  // namespace orlisk
