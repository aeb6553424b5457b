// The update check, the notice window, the gift page and the first-start
// report in the whole main window, with the real HTTP client talking to a
// server on 127.0.0.1 that the test starts.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "TestSupport.h"
#include "app/ui/MainWindow.h"
#include "app/ui/OtherWindows.h"
#include "burnin/QtTextTransform.h"
#include "burnin/writer/NullVideoWriter.h"
#include "online/CurlHttpClient.h"
#include "playback/FfmpegVideoReader.h"
#include "playback/audio/NullAudioPlayer.h"
#include "tests/support/LoopbackHttpServer.h"

namespace orlisk {

// Takes the addresses the program hands to the browser, instead of a browser.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QStringList opened;
 public slots:
  void open(const QUrl& url) { opened << url.toString(); }
};

namespace {

using namespace std::chrono_literals;
using testing::LoopbackHttpServer;
using Behaviour = LoopbackHttpServer::Behaviour;
using Clock = std::chrono::steady_clock;

std::string Description(const std::string& version, const std::string& extra = "") {
  return "[versinon]\r\nversinon=" + version + "\r\n[update]\r\n" + extra;
}

std::string ReadWhole(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Acts once on the first modal window of kind W that opens, from inside its
// own event loop.
template <class W>
class ModalWatch {
 public:
  explicit ModalWatch(std::function<void(W&)> act) : act_(std::move(act)) {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      if (auto* window = qobject_cast<W*>(QApplication::activeModalWidget()); window && !seen) {
        seen = true;
        act_(*window);
      }
    });
    poll_.start(20);
  }
  bool seen = false;

 private:
  std::function<void(W&)> act_;
  QTimer poll_;
};

class UpdateWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    setenv("ORLISK_SITE_URL", server.baseUrl().c_str(), 1);
    setenv("ORLISK_STAT_URL", server.baseUrl().c_str(), 1);
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    std::filesystem::copy_file(std::filesystem::path(ORLISK_TEST_DATA_DIR) / "skn.skn", programPath() / "skn.skn");
    server.route("/stat/stat.php", {.Body = "counted"});
  }
  void TearDown() override {
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    unsetenv("ORLISK_SITE_URL");
    unsetenv("ORLISK_STAT_URL");
  }

  std::filesystem::path programPath() const { return programFolder.path().toStdString(); }
  std::filesystem::path homePath() const { return home.path().toStdString(); }
  std::filesystem::path dataPath() const { return homePath() / ".local" / "share" / "orlisk"; }
  void ship(const std::string& version) { std::ofstream(programPath() / "update.ini") << Description(version); }

  // Built as the program builds it, with the real client; a new window over
  // the same folders is the next start of the program.
  std::unique_ptr<Tfm_main> MakeWindow() {
    AppPaths paths;
    paths.ProgramFolder = programPath();
    paths.HomeFolder = homePath();
    paths.SettingsFile = homePath() / ".config" / "orlisk.ini";
    paths.DataFolder = dataPath();
    paths.VideosFolder = homePath() / "Videos";
    return std::make_unique<Tfm_main>(
        MainWindowParts{paths, kLangEnglishUs, reader, audio, transform, writer, TextPixelWidth, &http});
  }

  std::vector<std::string> targets() const {
    std::vector<std::string> seen;
    for (const auto& request : server.requests()) seen.push_back(request.Target);
    return seen;
  }

  LoopbackHttpServer server;
  CurlHttpClient http;
  UrlRecorder browser;
  QTemporaryDir home, programFolder;
  FfmpegVideoReader reader;
  NullAudioPlayer audio;
  QtTextTransform transform;
  NullVideoWriter writer;
};

TEST_F(UpdateWindowTest, ANewerVersionOpensTheWindowWithThePublishedText) {
  ship("5");
  server.route("/orlisk/update.ini",
               {.Body = Description("6", "Content=Version 6 writes subtitles twice as fast\r\nVersion=<b>1.3.0</b>\r\n"
                                             "downloadlink=" + server.url("/download/setup-6") + "\r\n")});
  auto window = MakeWindow();
  window->FormShow();
  window->show();
  const auto shownAt = Clock::now();

  QString memo, caption, versions;
  QRect memoPlace, downloadPlace, closePlace, remindPlace;
  QStringList texts;
  QSize size;
  QPoint place;
  bool remindTicked = true;
  std::chrono::milliseconds openedAfter{};
  ModalWatch<Tfm_update> watch([&](Tfm_update& dialog) {
    openedAfter = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - shownAt);
    caption = dialog.windowTitle();
    size = dialog.size();
    place = dialog.pos();
    auto* memo1 = dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    auto* button1 = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
    auto* button2 = dialog.findChild<QPushButton*>(QStringLiteral("Button2"));
    auto* remind = dialog.findChild<QCheckBox*>(QStringLiteral("ck_update"));
    memo = memo1->toPlainText();
    auto* versionsLabel = dialog.findChild<QLabel*>(QStringLiteral("lblVersions"));
    versions = versionsLabel->text();
    EXPECT_EQ(versionsLabel->textFormat(), Qt::PlainText);  // a name from the network is no markup
    memoPlace = memo1->geometry();
    downloadPlace = button1->geometry();
    closePlace = button2->geometry();
    remindPlace = remind->geometry();
    remindTicked = remind->isChecked();
    texts << button1->text() << button2->text() << remind->text();
    button1->click();
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return watch.seen; }, 20000));
  std::printf("the notice window opened %lld ms after the main window showed\n",
              static_cast<long long>(openedAfter.count()));

  EXPECT_EQ(caption, "Veldrane Orlisk Update");
  EXPECT_EQ(memo, "Version 6 writes subtitles twice as fast");
  EXPECT_EQ(versions, "Installed " ORLISK_VERSION ", available <b>1.3.0</b>");
  EXPECT_FALSE(remindTicked);
  EXPECT_EQ(texts, (QStringList{"Download Update", "Close", "Do not remind me"}));
  EXPECT_EQ(memoPlace, QRect(-1, 0, 450, 305));
  EXPECT_EQ(downloadPlace, QRect(15, 328, 129, 25));
  EXPECT_EQ(closePlace, QRect(179, 328, 113, 25));
  EXPECT_EQ(remindPlace.topLeft(), QPoint(320, 331));
  EXPECT_EQ(remindPlace.height(), 17);
  EXPECT_GE(remindPlace.width(), 113);
  EXPECT_LE(remindPlace.right(), size.width());
  EXPECT_EQ(place, QPoint(499, 162));
  EXPECT_EQ(size, QSize(462, 376));
  // "Download Update" handed the published link to the browser and closed the window.
  EXPECT_EQ(browser.opened, QStringList{QString::fromStdString(server.url("/download/setup-6"))});
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->findChild<Tfm_update*>()->isVisible(); }, 2000));

  // The first start sent the report, and the check went out under its User-Agent.
  const auto seen = server.requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].Target, "/stat/stat.php?soft=Orlisk");
  EXPECT_EQ(seen[1].Target, "/orlisk/update.ini");
  EXPECT_EQ(seen[0].header("user-agent"), kUsageReportUserAgent);
  EXPECT_EQ(seen[1].header("user-agent"), kUsageReportUserAgent);
  EXPECT_EQ(ReadWhole(dataPath() / "temp.txt"), "counted");
  EXPECT_NE(ReadWhole(dataPath() / "updatenew.ini").find("versinon=6"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(programPath() / "updatenew.ini"));
  EXPECT_FALSE(std::filesystem::exists(programPath() / "temp.txt"));
}

TEST_F(UpdateWindowTest, TheMenuSaysWhenTheVersionIsTheLatestAndTheStartDoesNot) {
  ship("5");
  server.route("/orlisk/update.ini", {.Body = Description("5")});
  auto window = MakeWindow();
  window->FormShow();
  window->show();
  ASSERT_TRUE(server.waitForRequests(2, 10s));
  bool boxAtStart = false;
  {
    ModalWatch<QMessageBox> early([&](QMessageBox& box) {
      boxAtStart = true;
      box.close();
    });
    QTest::qWait(1500);
  }
  EXPECT_FALSE(boxAtStart);
  EXPECT_FALSE(window->findChild<Tfm_update*>()->isVisible());

  QString caption, text;
  QStringList buttons;
  QMessageBox::Icon icon = QMessageBox::Warning;
  ModalWatch<QMessageBox> watch([&](QMessageBox& box) {
    caption = box.windowTitle();
    text = box.text();
    icon = box.icon();
    for (QAbstractButton* button : box.buttons()) buttons << button->text();
    box.buttons().first()->click();
  });
  window->findChild<QAction*>(QStringLiteral("Inspectionupdate1"))->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return watch.seen; }, 20000));
  EXPECT_EQ(caption, "Veldrane Orlisk");
  EXPECT_EQ(text, "Currently is the latest version");
  EXPECT_EQ(icon, QMessageBox::NoIcon);
  EXPECT_EQ(buttons, QStringList{"OK"});
  EXPECT_EQ(targets(), (std::vector<std::string>{"/stat/stat.php?soft=Orlisk", "/orlisk/update.ini",
                                                 "/orlisk/update.ini"}));
}

TEST_F(UpdateWindowTest, DoNotRemindMeKeepsTheNextStartFromChecking) {
  ship("5");
  server.route("/orlisk/update.ini", {.Body = Description("6")});
  {
    auto window = MakeWindow();
    window->FormShow();
    window->show();
    ModalWatch<Tfm_update> watch([&](Tfm_update& dialog) {
      dialog.findChild<QCheckBox*>(QStringLiteral("ck_update"))->click();
      dialog.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.seen; }, 20000));
    EXPECT_TRUE(browser.opened.isEmpty());
    EXPECT_TRUE(window->close());
  }
  EXPECT_NE(ReadWhole(homePath() / ".config" / "orlisk.ini").find("Bool=0"), std::string::npos);

  const std::size_t before = server.requests().size();
  auto next = MakeWindow();
  next->FormShow();
  next->show();
  QTest::qWait(500);
  EXPECT_EQ(server.requests().size(), before);  // neither a second report nor a check
  // The menu still checks, and the window shows the switch ticked.
  bool ticked = false;
  ModalWatch<Tfm_update> watch([&](Tfm_update& dialog) {
    ticked = dialog.findChild<QCheckBox*>(QStringLiteral("ck_update"))->isChecked();
    dialog.close();
  });
  next->findChild<QAction*>(QStringLiteral("Inspectionupdate1"))->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return watch.seen; }, 20000));
  EXPECT_TRUE(ticked);
  EXPECT_EQ(targets().back(), "/orlisk/update.ini");
}

TEST_F(UpdateWindowTest, AFailedCheckIsSilentAtStartAndToldWhenAsked) {
  ship("5");
  server.route("/orlisk/update.ini", {.Status = 404, .Body = Description("6")});
  auto window = MakeWindow();
  window->FormShow();
  window->show();
  QStringList boxes;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      boxes << (box ? box->text() : modal->windowTitle());
      modal->close();
    }
  });
  watch.start(20);
  ASSERT_TRUE(server.waitForRequests(2, 10s));
  QTest::qWait(1800);  // the start's check has ended, past Timer2's second
  EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QStringLiteral(" | ")).toStdString();
  window->findChild<QAction*>(QStringLiteral("Inspectionupdate1"))->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.isEmpty(); }, 20000));
  QTest::qWait(1200);  // past Timer2's second: no notice window follows
  EXPECT_EQ(boxes, QStringList{"The update server could not be reached"});
  EXPECT_EQ(targets(), (std::vector<std::string>{"/stat/stat.php?soft=Orlisk", "/orlisk/update.ini",
                                                 "/orlisk/update.ini"}));
}

TEST_F(UpdateWindowTest, TheGiftPageOpensOnlyWhenItExists) {
  auto window = MakeWindow();
  window->FormShow();
  window->show();
  QString text, caption;
  ModalWatch<QMessageBox> noGift([&](QMessageBox& box) {
    caption = box.windowTitle();
    text = box.text();
    box.buttons().first()->click();
  });
  test::RunCommand(*window, "OpenGiftPage");  // nothing at "/orlisk/gife.html": 404
  EXPECT_TRUE(noGift.seen);
  EXPECT_EQ(caption, "Information");
  EXPECT_EQ(text, "Now there is no gift");
  EXPECT_TRUE(browser.opened.isEmpty());

  server.route("/orlisk/gife.html", {.Body = "<html>a gift</html>"});
  test::RunCommand(*window, "OpenGiftPage");
  EXPECT_EQ(browser.opened, QStringList{QString::fromStdString(server.url("/orlisk/gife.html"))});
}

TEST_F(UpdateWindowTest, ABlackHoledNetworkDelaysTheFirstStartOnlyByTheReportsTimeOut) {
  ship("5");
  server.route("/stat/stat.php", {.Mode = Behaviour::Silent});
  server.route("/orlisk/update.ini", {.Mode = Behaviour::Silent});
  const auto started = Clock::now();
  auto window = MakeWindow();
  window->FormShow();
  window->show();
  const auto firstStart = Clock::now() - started;
  const auto ended = Clock::now();
  window.reset();  // ends the check that still waits for its answer
  const auto closing = Clock::now() - ended;

  const auto nextStarted = Clock::now();
  auto next = MakeWindow();
  next->FormShow();
  next->show();
  const auto nextStart = Clock::now() - nextStarted;
  std::printf("black-holed network: first start %lld ms, next start %lld ms, closing during a check %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(firstStart).count()),
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(nextStart).count()),
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(closing).count()));
  // Bounded by the report's three-second time-out, never by the network.
  EXPECT_LT(firstStart, 10s);
  EXPECT_LT(nextStart, 10s);
  EXPECT_LT(closing, 10s);
}

}  // namespace
}  // namespace orlisk

#include "UpdateWindowTest.moc"
