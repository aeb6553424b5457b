// The check with the real client against a loopback server.
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>

#include "online/CurlHttpClient.h"
#include "online/UpdateCheckThread.h"
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
using Behaviour = LoopbackHttpServer::Behaviour;

std::string Description(const std::string& version, const std::string& content = "New things") {
  return "[versinon]\r\nversinon=" + version + "\r\n[update]\r\nContent=" + content + "\r\n";
}

struct CheckRig {
  TempFolder program, data;
  LoopbackHttpServer server;
  CurlHttpClient client;
  UpdateCheckRequest request{.Url = server.url("/orlisk/update.ini"),
                             .ShippedDescription = program.path() / "update.ini",
                             .Downloaded = data.path() / "orlisk" / "updatenew.ini",
                             .Limits = {.Connect = 500ms, .Total = 800ms}};

  void ship(const std::string& version) { WriteFile(program, "update.ini", Description(version)); }
  void publish(LoopbackHttpServer::Route route) { server.route("/orlisk/update.ini", std::move(route)); }
  UpdateCheckResult run() { return RunUpdateCheck(client, request); }
  std::string downloaded() const { return ReadBytes(data / "orlisk/updatenew.ini"); }
};

TEST(RunUpdateCheck, ComparesTheShippedAndPublishedVersions) {
  struct Row {
    const char* shipped;  // nullptr: no update.ini shipped
    const char* published;
    UpdateCheckResult result;
  };
  for (Row row : {Row{"5", "6", UpdateCheckResult::NewerVersion}, Row{"5", "5", UpdateCheckResult::UpToDate},
                  Row{"5", "4", UpdateCheckResult::UpToDate}, Row{nullptr, "1", UpdateCheckResult::NewerVersion},
                  Row{nullptr, "0", UpdateCheckResult::UpToDate}, Row{"5", "six", UpdateCheckResult::UpToDate},
                  Row{"five", "1", UpdateCheckResult::NewerVersion}, Row{"5", "", UpdateCheckResult::UpToDate}}) {
    CheckRig rig;
    if (row.shipped) rig.ship(row.shipped);
    rig.publish({.Body = Description(row.published, "Version " + std::string(row.published))});
    EXPECT_EQ(rig.run(), row.result) << (row.shipped ? row.shipped : "none") << " vs " << row.published;
    // The description is kept whole for the notice window.
    EXPECT_EQ(rig.downloaded(), Description(row.published, "Version " + std::string(row.published)));
    EXPECT_EQ(rig.server.requests().at(0).Target, "/orlisk/update.ini");
  }
}

TEST(RunUpdateCheck, AnyFailureLeavesTheEarlierDescriptionAsItWas) {
  const std::string refused = "http://127.0.0.1:" + std::to_string(RefusingPort()) + "/orlisk/update.ini";
  struct Row {
    const char* name;
    LoopbackHttpServer::Route route;
    bool refusedPort = false;
  };
  const std::string big = Description("9") + std::string(kMaxAnswerBytes, ';');
  for (const Row& row : {Row{"refused", {}, true}, Row{"404", {.Status = 404, .Body = Description("9")}},
                         Row{"500", {.Status = 500, .Body = Description("9")}},
                         Row{"hang-up", {.Mode = Behaviour::HangUp}},
                         Row{"silent", {.Body = Description("9"), .Mode = Behaviour::Silent}},
                         Row{"slow", {.Body = Description("9"), .Mode = Behaviour::Slow}},
                         Row{"oversize", {.Body = big}},
                         Row{"oversize without length", {.Body = big, .Mode = Behaviour::NoLength}}}) {
    CheckRig rig;
    rig.ship("5");
    WriteFile(rig.data, "orlisk/updatenew.ini", Description("7", "earlier"));
    rig.publish(row.route);
    if (row.refusedPort) rig.request.Url = refused;
    EXPECT_EQ(rig.run(), UpdateCheckResult::Unreachable) << row.name;
    EXPECT_EQ(rig.downloaded(), Description("7", "earlier")) << row.name;
  }
}

TEST(RunUpdateCheck, ADescriptionThatCannotBeStoredFails) {
  CheckRig rig;
  rig.ship("5");
  rig.publish({.Body = Description("6")});
  rig.request.Downloaded = WriteFile(rig.data, "not-a-folder", "x") / "updatenew.ini";
  EXPECT_EQ(rig.run(), UpdateCheckResult::Failed);
}

TEST(UpdateCheckThread, RunsOnAThreadOfItsOwnOneAtATime) {
  CheckRig rig;
  rig.ship("5");
  rig.publish({.Body = Description("6"), .Mode = Behaviour::Slow});  // about 3 s unless cut short
  rig.request.Limits = {.Connect = 1s, .Total = 20s};
  UpdateCheckThread check(rig.client);
  std::promise<std::pair<UpdateCheckResult, std::thread::id>> reported;
  ASSERT_TRUE(check.start(rig.request, [&](UpdateCheckResult result) {
    reported.set_value({result, std::this_thread::get_id()});
  }));
  EXPECT_TRUE(check.running());
  EXPECT_FALSE(check.start(rig.request, [](UpdateCheckResult) { ADD_FAILURE() << "a second check ran"; }));
  auto future = reported.get_future();
  ASSERT_EQ(future.wait_for(30s), std::future_status::ready);
  const auto [result, thread] = future.get();
  EXPECT_EQ(result, UpdateCheckResult::NewerVersion);
  EXPECT_NE(thread, std::this_thread::get_id());
  check.join();
  EXPECT_FALSE(check.running());
  EXPECT_EQ(rig.server.requests().size(), 1u);
}

TEST(UpdateCheckThread, EndingTheOwnerCancelsAWaitingCheck) {
  CheckRig rig;
  rig.publish({.Mode = Behaviour::Silent});
  rig.request.Limits = {.Connect = 30s, .Total = 60s};
  std::atomic<bool> reported{false};
  const auto started = std::chrono::steady_clock::now();
  {
    UpdateCheckThread check(rig.client);
    check.start(rig.request, [&](UpdateCheckResult result) {
      EXPECT_EQ(result, UpdateCheckResult::Unreachable);
      reported = true;
    });
    ASSERT_TRUE(rig.server.waitForRequests(1, 5s));
  }
  EXPECT_TRUE(reported);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
}

}  // namespace
}  // namespace orlisk::testing
