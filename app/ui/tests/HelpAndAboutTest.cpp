// Help, the web links and the About window, through the whole main window
// over the shipped files, with a desktop that notes what it was asked to open.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "TestSupport.h"
#include "app/skin/SkinSurface.h"
#include "app/ui/MainWindow.h"
#include "app/ui/OtherWindows.h"
#include "burnin/NullTextTransform.h"
#include "burnin/writer/NullVideoWriter.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;

class HelpAndAbout : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    ::unsetenv("ORLISK_SITE_URL");
  }
  void TearDown() override { test::TestApplication().setCommands(nullptr); }

  std::unique_ptr<Tfm_main> MakeWindow(int languageId) {
    const AppPaths paths = test::WindowPaths(home.path().toStdString());
    auto window = std::make_unique<Tfm_main>(MainWindowParts{
        .Paths = paths,
        .LanguageId = languageId,
        .Reader = reader,
        .Audio = audio,
        .Transform = transform,
        .Writer = writer,
        .TextWidth = test::TenPixelsAByte,
        .Desktop = &desktop});
    window->FormShow();
    return window;
  }

  static std::string HelpPage(const char* language, const char* page) {
    return (fs::path(ORLISK_TEST_DATA_DIR) / "help" / language / page).string();
  }

  QTemporaryDir home;
  test::IdleReader reader;
  test::IdleAudio audio;
  NullTextTransform transform;
  NullVideoWriter writer;
  test::RecordingDesktop desktop;
};

TEST_F(HelpAndAbout, SkinTopicsHelpMenuAndF1OpenThePagesOfTheInterfaceLanguage) {
  struct Row {
    int languageId;
    const char* folder;
  };
  for (Row row : {Row{kLangEnglishUs, "en"}, Row{kLangChineseSimplified, "zh_CN"}, Row{kLangChineseTaiwan, "en"}}) {
    desktop.urls.clear();
    auto window = MakeWindow(row.languageId);
    auto* skin = window->findChild<SkinSurface*>();
    for (const char* name : {"help1", "help2", "help3", "help4", "Help1", "help5"}) {
      emit skin->objectClicked(QString::fromLatin1(name));
    }
    window->findChild<QAction*>(QStringLiteral("Content1"))->trigger();
    test::TestApplication().setCommands(&window->commands());
    window->show();
    QTest::keyClick(window.get(), Qt::Key_F1);
    test::TestApplication().setCommands(nullptr);
    EXPECT_EQ(desktop.urls, (std::vector<std::string>{HelpPage(row.folder, "wirtesubtitle.htm"),
                                                      HelpPage(row.folder, "faq.htm"),
                                                      HelpPage(row.folder, "subtitleajoinmovies.htm"),
                                                      HelpPage(row.folder, "writesubtitletofiles.htm"),
                                                      HelpPage(row.folder, "index.html"),
                                                      HelpPage(row.folder, "index.html")}))
        << row.folder;
    for (const std::string& url : desktop.urls) EXPECT_TRUE(fs::is_regular_file(url)) << url;
  }
}

TEST_F(HelpAndAbout, F1InAMessageBoxOpensHelpAndLeavesTheBoxOpen) {
  auto window = MakeWindow(kLangEnglishUs);
  window->show();
  test::TestApplication().setCommands(&window->commands());
  QString text;
  bool openAfterF1 = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_TRUE(box);
    text = box->text();
    QTest::keyClick(box, Qt::Key_F1);
    openAfterF1 = box->isVisible();
    box->buttons().first()->click();
  });
  // "opensubtitle" without a video refuses in an information box.
  emit window->findChild<SkinSurface*>()->objectClicked(QStringLiteral("opensubtitle"));
  EXPECT_EQ(text, "please first add video file");
  EXPECT_TRUE(openAfterF1);
  EXPECT_EQ(desktop.urls, std::vector<std::string>{HelpPage("en", "index.html")});
}

TEST_F(HelpAndAbout, WebLinksOfTheMenuAndTheAboutWindowOpenTheMakersPages) {
  ::setenv("ORLISK_SITE_URL", "http://127.0.0.1:8765/", 1);
  auto window = MakeWindow(kLangEnglishUs);
  window->findChild<QAction*>(QStringLiteral("ContactUS1"))->trigger();
  window->findChild<QAction*>(QStringLiteral("OurWebSite1"))->trigger();
  auto* about = window->findChild<Tfm_about*>();
  QTest::mouseClick(about->findChild<QLabel*>(QStringLiteral("lbl_web")), Qt::LeftButton);
  about->findChild<QPushButton*>(QStringLiteral("btn_contact"))->click();
  ::unsetenv("ORLISK_SITE_URL");
  EXPECT_EQ(desktop.urls, (std::vector<std::string>{"http://127.0.0.1:8765/contact.html", "http://127.0.0.1:8765",
                                                    "http://127.0.0.1:8765", "http://127.0.0.1:8765/contact.html"}));
}

TEST_F(HelpAndAbout, AboutOpensBesideTheMainWindowWhereverItWasMoved) {
  auto window = MakeWindow(kLangEnglishUs);
  window->show();
  auto* about = window->findChild<Tfm_about*>();
  for (QPoint mainAt : {QPoint(40, 30), QPoint(300, 200), QPoint(0, 0)}) {
    window->move(mainAt);
    QPoint aboutAt(-1, -1);
    QTimer::singleShot(0, [&] {
      aboutAt = about->frameGeometry().topLeft();
      EXPECT_EQ(QApplication::activeModalWidget(), about);
      about->findChild<QPushButton*>(QStringLiteral("btn_close"))->click();
    });
    window->findChild<QAction*>(QStringLiteral("About1"))->trigger();
    EXPECT_EQ(aboutAt, window->frameGeometry().topLeft() + QPoint(160, 100)) << mainAt.x() << "," << mainAt.y();
    EXPECT_FALSE(about->isVisible());
  }
}

TEST_F(HelpAndAbout, AboutShowsItsControlsAtTheirPlaces) {
  auto window = MakeWindow(kLangEnglishUs);
  auto* about = window->findChild<Tfm_about*>();
  EXPECT_EQ(about->windowTitle(), "About");
  EXPECT_EQ(about->size(), QSize(293, 208));
  EXPECT_EQ(about->minimumSize(), about->maximumSize());
  EXPECT_FALSE(about->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(about->windowFlags() & Qt::WindowCloseButtonHint);

  auto* image = about->findChild<QLabel*>(QStringLiteral("Image1"));
  EXPECT_EQ(image->geometry(), QRect(24, 20, 36, 36));
  EXPECT_FALSE(image->pixmap().isNull());
  auto* name = about->findChild<QLabel*>(QStringLiteral("Label1"));
  EXPECT_EQ(name->text(), "Veldrane Orlisk");
  EXPECT_TRUE(name->font().bold());
  EXPECT_EQ(name->pos(), QPoint(71, 29));
  // The version after the name, on its line.
  auto* version = about->findChild<QLabel*>(QStringLiteral("lblVersion"));
  EXPECT_EQ(version->text(), ORLISK_VERSION);
  EXPECT_EQ(version->y(), 29);
  EXPECT_GT(version->x(), name->geometry().right());
  EXPECT_LE(version->geometry().right(), about->width());
  auto* notice = about->findChild<QLabel*>(QStringLiteral("Label4"));
  EXPECT_EQ(notice->pos(), QPoint(22, 92));
  EXPECT_FALSE(notice->text().isEmpty());
  auto* link = about->findChild<QLabel*>(QStringLiteral("lbl_web"));
  EXPECT_EQ(link->text(), "Visit our web");
  EXPECT_EQ(link->pos(), QPoint(187, 125));
  EXPECT_EQ(link->font().pixelSize(), 11);
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(about->findChild<QWidget*>(QStringLiteral("Panel1"))->geometry(), QRect(14, 150, 270, 2));
  auto* contact = about->findChild<QPushButton*>(QStringLiteral("btn_contact"));
  EXPECT_EQ(contact->text(), "Contact us ");
  EXPECT_EQ(contact->geometry(), QRect(41, 165, 75, 25));
  auto* close = about->findChild<QPushButton*>(QStringLiteral("btn_close"));
  EXPECT_EQ(close->text(), "Close");
  EXPECT_EQ(close->geometry(), QRect(180, 165, 75, 25));
  // Every text fits inside the window.
  for (QLabel* label : {name, notice, link}) {
    EXPECT_LE(label->geometry().right(), about->width() - 1) << label->objectName().toStdString();
    EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
  }
}

TEST_F(HelpAndAbout, TheLinkTurnsRedUnderTheMouseAndBlueWhenItLeaves) {
  auto window = MakeWindow(kLangEnglishUs);
  auto* link = window->findChild<Tfm_about*>()->findChild<QLabel*>(QStringLiteral("lbl_web"));
  auto colour = [link] { return link->palette().color(QPalette::WindowText); };
  // Blue and red, light enough to read on the dark window.
  const auto isBlue = [](const QColor& c) { return c.hue() >= 200 && c.hue() <= 240 && c.lightness() > 150; };
  const auto isRed = [](const QColor& c) { return (c.hue() <= 15 || c.hue() >= 345) && c.lightness() > 150; };
  EXPECT_TRUE(isBlue(colour()));
  for (int pass = 0; pass < 2; ++pass) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), link->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(link, &enter);
    EXPECT_TRUE(isRed(colour())) << pass;
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_TRUE(isBlue(colour())) << pass;
  }
}

TEST_F(HelpAndAbout, AClickThatEndsOffTheLinkOpensNothing) {
  auto window = MakeWindow(kLangEnglishUs);
  auto* link = window->findChild<Tfm_about*>()->findChild<QLabel*>(QStringLiteral("lbl_web"));
  QTest::mousePress(link, Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 20, 2));
  QTest::mouseClick(link, Qt::RightButton);
  EXPECT_TRUE(desktop.urls.empty());
}

TEST_F(HelpAndAbout, EveryWindowCarriesTheProgramsIcon) {
  auto window = MakeWindow(kLangEnglishUs);
  EXPECT_FALSE(window->windowIcon().isNull());
  const QList<QSize> sizes = window->windowIcon().availableSizes();
  for (int size : {16, 32, 48, 256}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
  for (QDialog* dialog : window->findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
    EXPECT_EQ(dialog->windowIcon().cacheKey(), window->windowIcon().cacheKey())
        << dialog->windowTitle().toStdString();
  }
}

// Answered at once, without a display or another instance to ask.
TEST(EditorCommandLine, VersionIsTheProjectsVersion) {
  FILE* out = ::popen(ORLISK_PROGRAM " --version", "r");
  ASSERT_NE(out, nullptr);
  char line[128] = {};
  ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
  EXPECT_EQ(::pclose(out), 0);
  EXPECT_STREQ(line, "orlisk " ORLISK_VERSION "\n");
}

}  // namespace
}  // namespace orlisk
