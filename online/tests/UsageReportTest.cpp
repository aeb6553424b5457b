#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "online/CurlHttpClient.h"
#include "online/SiteAddresses.h"
#include "online/UsageReport.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TempFolder.h"

namespace orlisk::testing {
namespace {

// Writes a file into `folder` and gives its path.
std::filesystem::path WriteFile(const TempFolder& folder, const std::string& name, const std::string& bytes) {
  WriteBytes(folder / name, bytes);
  return folder / name;
}

using namespace std::chrono_literals;

const HttpLimits kShort{.Connect = 500ms, .Total = 800ms};

TEST(ClaimFirstStart, AnswersYesOnceAndNoWhereNoMarkerCanBeMade) {
  TempFolder folder;
  const auto marker = folder.path() / "data" / "orlisk" / "first-start-done";
  EXPECT_TRUE(ClaimFirstStart(marker));
  EXPECT_TRUE(std::filesystem::exists(marker));
  EXPECT_FALSE(ClaimFirstStart(marker));
  EXPECT_FALSE(ClaimFirstStart(marker));

  const auto inAFile = WriteFile(folder, "plain-file", "x") / "first-start-done";
  EXPECT_FALSE(ClaimFirstStart(inAFile));
  if (::geteuid() != 0) {  // root writes anywhere
    const auto locked = folder.path() / "locked";
    std::filesystem::create_directories(locked);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(ClaimFirstStart(locked / "first-start-done"));
    EXPECT_FALSE(ClaimFirstStart(locked / "first-start-done"));
  }
}

TEST(UsageReportUrl, NamesTheLanguageEdition) {
  setenv("ORLISK_STAT_URL", "http://127.0.0.1:1/", 1);
  EXPECT_EQ(UsageReportUrl(true), "http://127.0.0.1:1/stat/stat.php?soft=Orlisk-for-china");
  EXPECT_EQ(UsageReportUrl(false), "http://127.0.0.1:1/stat/stat.php?soft=Orlisk");
  unsetenv("ORLISK_STAT_URL");
  EXPECT_EQ(UsageReportUrl(false).substr(0, 8), "https://");
}

TEST(SendUsageReport, SendsOnceWithItsUserAgentWhichStaysForTheRun) {
  TempFolder folder;
  LoopbackHttpServer server;
  server.route("/stat/stat.php", {.Body = "counted"});
  server.route("/orlisk/update.ini", {.Body = "[versinon]\nversinon=1\n"});
  CurlHttpClient client;
  SendUsageReport(client, server.url("/stat/stat.php?soft=Orlisk"), folder.path() / "orlisk" / "temp.txt", kShort);
  EXPECT_EQ(ReadBytes(folder / "orlisk/temp.txt"), "counted");
  client.get({.Url = server.url("/orlisk/update.ini"), .Limits = kShort});

  const auto seen = server.requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].Target, "/stat/stat.php?soft=Orlisk");
  EXPECT_EQ(seen[0].header("user-agent"), kUsageReportUserAgent);
  EXPECT_EQ(seen[1].header("user-agent"), kUsageReportUserAgent);
}

TEST(SendUsageReport, FailuresAreSwallowedAndLeaveTheScratchFileEmpty) {
  TempFolder folder;
  LoopbackHttpServer server;
  server.route("/stat/stat.php", {.Status = 404, .Body = "gone"});
  const std::string refused = "http://127.0.0.1:" + std::to_string(RefusingPort()) + "/stat/stat.php?soft=Orlisk";
  for (const std::string& url : {refused, server.url("/stat/stat.php?soft=Orlisk")}) {
    WriteFile(folder, "temp.txt", "from an earlier run");
    CurlHttpClient client;
    EXPECT_NO_THROW(SendUsageReport(client, url, folder.path() / "temp.txt", kShort));
    EXPECT_EQ(ReadBytes(folder / "temp.txt"), "") << url;
  }
}

TEST(SendUsageReport, AScratchFileThatCannotBeMadeSendsNothing) {
  TempFolder folder;
  LoopbackHttpServer server;
  server.route("/stat/stat.php", {.Body = "counted"});
  server.route("/page", {.Body = "page"});
  CurlHttpClient client;
  SendUsageReport(client, server.url("/stat/stat.php?soft=Orlisk"), WriteFile(folder, "file", "x") / "temp.txt", kShort);
  client.get({.Url = server.url("/page"), .Limits = kShort});
  const auto seen = server.requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Target, "/page");
  EXPECT_EQ(seen[0].header("user-agent"), kDefaultUserAgent);
}

}  // namespace
}  // namespace orlisk::testing
