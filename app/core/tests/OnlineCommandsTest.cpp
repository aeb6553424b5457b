// The online commands over a scripted network; the check still runs on a
// thread of its own, and its result waits for the test to run it as the
// user-interface thread would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "FakeSeams.h"
#include "online/CurlHttpClient.h"
#include "tests/support/LoopbackHttpServer.h"

namespace orlisk::testing {
namespace {

constexpr const char* kSite = "http://127.0.0.1:9";
constexpr const char* kStat = "http://127.0.0.1:10";
const std::string kDescriptionUrl = std::string(kSite) + "/orlisk/update.ini";
const std::string kProductPage = std::string(kSite) + "/orlisk/";
const std::string kGiftPage = std::string(kSite) + "/orlisk/gife.html";

std::string Description(const std::string& version, const std::string& extra = "") {
  return "[versinon]\r\nversinon=" + version + "\r\n[update]\r\n" + extra;
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class OnlineCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("ORLISK_SITE_URL", kSite, 1);
    setenv("ORLISK_STAT_URL", kStat, 1);
  }
  void TearDown() override {
    unsetenv("ORLISK_SITE_URL");
    unsetenv("ORLISK_STAT_URL");
  }

  void ship(Rig& r, const std::string& version) {
    fs::create_directories(r.Paths().ProgramFolder);
    std::ofstream(r.Paths().ProgramFolder / "update.ini") << Description(version);
  }
  // Starts a check as the first show does and runs its result.
  bool checkAtStart(Rig& r) {
    r.state.ManualUpdateCheck = false;
    r.controller.StartUpdateCheck();
    return r.uiThread.runNext();
  }
  bool checkFromTheMenu(Rig& r) {
    r.controller.Inspectionupdate1Click();
    return r.uiThread.runNext();
  }
};

TEST_F(OnlineCommandsTest, ANewerVersionGoesThroughTimer2ToTheNoticeWindow) {
  Rig r;
  ship(r, "5");
  r.http.answer(kDescriptionUrl, Description("6", "Content=Version 6 writes faster\r\nVersion=1.3.0\r\n"));
  ASSERT_TRUE(checkAtStart(r));
  EXPECT_TRUE(r.timer2.active);
  EXPECT_EQ(r.timer2.interval, 1000);
  EXPECT_EQ(r.notices.windowsShown, 0);

  r.controller.Timer2Timer();
  EXPECT_FALSE(r.timer2.active);
  EXPECT_EQ(r.notices.windowsShown, 1);
  const auto shown = r.controller.online().UpdateWindowShow();
  EXPECT_EQ(shown.Content, "Version 6 writes faster");
  EXPECT_EQ(shown.Versions, "Installed " ORLISK_VERSION ", available 1.3.0");
  EXPECT_FALSE(shown.DoNotRemind);
  EXPECT_TRUE(r.notices.notices.empty());
  // Written in the user's data folder, never beside the program.
  EXPECT_EQ(ReadFile(r.Paths().DataFolder / "updatenew.ini"),
            Description("6", "Content=Version 6 writes faster\r\nVersion=1.3.0\r\n"));
  EXPECT_FALSE(fs::exists(r.Paths().ProgramFolder / "updatenew.ini"));
}

TEST_F(OnlineCommandsTest, UpToDateIsToldOnlyWhenTheUserAsked) {
  struct Row {
    const char* shipped;
    const char* published;
  };
  for (Row row : {Row{"5", "5"}, Row{"5", "4"}, Row{"5", "six"}, Row{"0", "x"}}) {
    Rig r;
    ship(r, row.shipped);
    r.http.answer(kDescriptionUrl, Description(row.published));
    ASSERT_TRUE(checkAtStart(r));
    EXPECT_TRUE(r.notices.notices.empty()) << row.published;
    ASSERT_TRUE(checkFromTheMenu(r));
    EXPECT_EQ(r.notices.notices, std::vector<std::string>{"Currently is the latest version"}) << row.published;
    EXPECT_FALSE(r.state.ManualUpdateCheck);
    EXPECT_FALSE(r.timer2.active);
    EXPECT_EQ(r.notices.windowsShown, 0);
  }
}

TEST_F(OnlineCommandsTest, AnUnreachableServerIsToldOnlyWhenTheUserAsked) {
  LoopbackHttpServer server;
  server.route("/orlisk/update.ini", {.Mode = LoopbackHttpServer::Behaviour::HangUp});
  for (const std::string& site : {server.baseUrl(), "http://127.0.0.1:" + std::to_string(RefusingPort())}) {
    setenv("ORLISK_SITE_URL", site.c_str(), 1);
    CurlHttpClient network;
    Rig r(nullptr, nullptr, &network);
    ship(r, "5");
    ASSERT_TRUE(checkAtStart(r));
    EXPECT_TRUE(r.notices.notices.empty()) << site;
    ASSERT_TRUE(checkFromTheMenu(r));
    EXPECT_EQ(r.notices.notices, std::vector<std::string>{"The update server could not be reached"}) << site;
    EXPECT_FALSE(r.timer2.active);
    EXPECT_FALSE(r.state.ManualUpdateCheck);
  }
  EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(OnlineCommandsTest, AMenuCheckWhileOneRunsStartsNoSecondButGetsItsAnswer) {
  Rig r;
  ship(r, "5");
  r.http.answer(kDescriptionUrl, Description("5"));
  r.http.hold();
  r.controller.StartUpdateCheck();
  for (int i = 0; i < 500 && r.http.requests().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  r.controller.Inspectionupdate1Click();
  r.controller.Inspectionupdate1Click();
  r.http.release();
  ASSERT_TRUE(r.uiThread.runNext());
  EXPECT_FALSE(r.uiThread.runNext(std::chrono::milliseconds(200)));
  EXPECT_EQ(r.http.requests().size(), 1u);
  EXPECT_EQ(r.notices.notices, std::vector<std::string>{"Currently is the latest version"});
  // Once it has ended, the menu starts a check again.
  ASSERT_TRUE(checkFromTheMenu(r));
  EXPECT_EQ(r.http.requests().size(), 2u);
}

TEST_F(OnlineCommandsTest, DownloadOpensOnlyAWebAddressElseTheProductPage) {
  struct Row {
    const char* line;  // the "downloadlink" line of the description, if any
    std::string opened;
  };
  for (const Row& row : {Row{"downloadlink=https://example.org/orlisk/setup-6.exe", "https://example.org/orlisk/setup-6.exe"},
                         Row{"downloadlink=http://127.0.0.1:9/dl?v=6", "http://127.0.0.1:9/dl?v=6"},
                         Row{"", kProductPage},
                         Row{"downloadlink=", kProductPage},
                         Row{"downloadlink=file:///etc/passwd", kProductPage},
                         Row{"downloadlink=javascript:alert(1)", kProductPage},
                         Row{"downloadlink=/usr/bin/xterm", kProductPage},
                         Row{"downloadlink=setup.exe", kProductPage},
                         Row{"downloadlink=ftp://example.org/setup.exe", kProductPage},
                         Row{"downloadlink=http://example.org/a\rfile:///etc/passwd", kProductPage}}) {
    Rig r;
    ship(r, "5");
    r.http.answer(kDescriptionUrl, Description("6", std::string(row.line) + "\r\n"));
    ASSERT_TRUE(checkAtStart(r));
    r.controller.Timer2Timer();
    r.controller.online().UpdateWindowShow();
    r.controller.online().DownloadUpdate();
    r.controller.online().UpdateWindowClose();
    EXPECT_EQ(r.desktop.urls, std::vector<std::string>{row.opened}) << row.line;
  }
}

TEST_F(OnlineCommandsTest, DoNotRemindMeFollowsAndSetsTheSwitch) {
  Rig r;
  ship(r, "5");
  r.http.answer(kDescriptionUrl, Description("6"));
  r.state.AutoUpdateCheck = false;
  ASSERT_TRUE(checkFromTheMenu(r));  // the menu checks even when the start does not
  r.controller.Timer2Timer();
  auto shown = r.controller.online().UpdateWindowShow();
  EXPECT_TRUE(shown.DoNotRemind);
  EXPECT_EQ(shown.Content, "Have a new version, please download.");
  EXPECT_EQ(shown.Versions, "Installed " ORLISK_VERSION);  // the description names none
  r.controller.online().ck_updateClick(false);
  EXPECT_TRUE(r.state.AutoUpdateCheck);
  r.controller.online().ck_updateClick(true);
  EXPECT_FALSE(r.state.AutoUpdateCheck);
  r.controller.online().UpdateWindowClose();
  EXPECT_TRUE(r.controller.FormCloseQuery());
  EXPECT_NE(ReadFile(r.folder.path() / "orlisk.ini").find("Bool=0"), std::string::npos);
}

TEST_F(OnlineCommandsTest, TheNoticeTextIsReadInTheInterfacesLegacyCodePage) {
  Rig r;
  r.state.ChineseUI = true;
  ship(r, "5");
  // "新版本" in GBK, not valid UTF-8.
  r.http.answer(kDescriptionUrl, Description("6", "Content=\xD0\xC2\xB0\xE6\xB1\xBE\r\n"));
  ASSERT_TRUE(checkAtStart(r));
  EXPECT_EQ(r.controller.online().UpdateWindowShow().Content, "\xE6\x96\xB0\xE7\x89\x88\xE6\x9C\xAC");
}

TEST_F(OnlineCommandsTest, TheUsageReportGoesOnceWithTheEditionAndItsUserAgent) {
  struct Row {
    int languageId;
    std::string url;
  };
  for (const Row& row : {Row{kLangChineseSimplified, std::string(kStat) + "/stat/stat.php?soft=Orlisk-for-china"},
                         Row{kLangEnglishUs, std::string(kStat) + "/stat/stat.php?soft=Orlisk"},
                         Row{kLangChineseTaiwan, std::string(kStat) + "/stat/stat.php?soft=Orlisk"},
                         Row{kLangChineseHongKong, std::string(kStat) + "/stat/stat.php?soft=Orlisk"}}) {
    Rig r;
    ship(r, "5");
    r.http.answer(row.url, "thanks");
    r.http.answer(kDescriptionUrl, Description("5"));
    r.controller.SendUsageReportOnFirstStart(row.languageId);
    ASSERT_TRUE(checkAtStart(r));
    // A second start of the program sends nothing more.
    r.controller.SendUsageReportOnFirstStart(row.languageId);
    const auto seen = r.http.requests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].url, row.url);
    EXPECT_EQ(seen[0].userAgent, kUsageReportUserAgent);
    EXPECT_EQ(seen[1].url, kDescriptionUrl);
    EXPECT_EQ(seen[1].userAgent, kUsageReportUserAgent);
    EXPECT_EQ(ReadFile(r.Paths().DataFolder / "temp.txt"), "thanks");
  }
}

TEST_F(OnlineCommandsTest, AFailedReportStillCountsAsSentAndLaterStartsKeepTheDefaultUserAgent) {
  Rig r;
  ship(r, "5");
  r.controller.SendUsageReportOnFirstStart(kLangEnglishUs);  // nothing answers
  EXPECT_TRUE(fs::exists(r.Paths().DataFolder / "temp.txt"));
  EXPECT_EQ(ReadFile(r.Paths().DataFolder / "temp.txt"), "");
  ASSERT_EQ(r.http.requests().size(), 1u);

  // The next run: a new client, the same data folder.
  Rig next;
  fs::create_directories(next.Paths().DataFolder);
  fs::copy(r.Paths().DataFolder, next.Paths().DataFolder, fs::copy_options::recursive);
  ship(next, "5");
  next.controller.SendUsageReportOnFirstStart(kLangEnglishUs);
  ASSERT_TRUE(checkAtStart(next));
  const auto seen = next.http.requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].url, kDescriptionUrl);
  EXPECT_EQ(seen[0].userAgent, kDefaultUserAgent);
  EXPECT_TRUE(r.messages.shown.empty());
}

TEST_F(OnlineCommandsTest, TheGiftPageOpensOnlyWhenItAnswers) {
  Rig r;
  r.controller.OpenGiftPage();
  EXPECT_EQ(r.messages.texts(), std::vector<std::string>{"Now there is no gift"});
  EXPECT_EQ(r.messages.shown.back().kind, "information");
  EXPECT_TRUE(r.desktop.urls.empty());

  r.http.answer(kGiftPage, "<html>a gift</html>");
  r.controller.OpenGiftPage();
  EXPECT_EQ(r.desktop.urls, std::vector<std::string>{kGiftPage});
  EXPECT_EQ(r.messages.shown.size(), 1u);
  // The probe keeps nothing: the update description stays as the check left it.
  EXPECT_FALSE(fs::exists(r.Paths().DataFolder / "updatenew.ini"));
}

}  // namespace
}  // namespace orlisk::testing
