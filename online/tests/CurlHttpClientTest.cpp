// The real client against a server on 127.0.0.1 that the test starts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <thread>

#include "online/CurlHttpClient.h"
#include "tests/support/LoopbackHttpServer.h"

namespace orlisk::testing {
namespace {

using namespace std::chrono_literals;
using Behaviour = LoopbackHttpServer::Behaviour;
using Clock = std::chrono::steady_clock;

HttpLimits Short() { return {.Connect = 500ms, .Total = 800ms}; }

// Sets an environment variable for the scope of a test, then puts it back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(CurlHttpClient, SendsItsHeadersAndTheUserAgentOfTheMoment) {
  LoopbackHttpServer server;
  server.route("/page", {.Body = "hello"});
  CurlHttpClient client;
  HttpResponse first = client.get({.Url = server.url("/page"), .Limits = Short()});
  ASSERT_TRUE(first.Ok) << first.Error;
  EXPECT_EQ(first.Body, "hello");
  EXPECT_EQ(first.Status, 200);
  client.setUserAgent(kUsageReportUserAgent);
  ASSERT_TRUE(client.get({.Url = server.url("/page"), .Limits = Short()}).Ok);

  const auto seen = server.requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].Method, "GET");
  EXPECT_EQ(seen[0].header("accept"), "text/html, */*");
  EXPECT_EQ(seen[0].header("content-type"), "text/html");
  EXPECT_EQ(seen[0].header("user-agent"), "Mozilla/3.0 (compatible; Indy Library)");
  EXPECT_EQ(seen[1].header("user-agent"),
            "Mozilla/4.0(compatible;MSIE6.0;WindowsNT5.0;MyIE2;CustomExchangeBrowser;.NETCLR1.1.4322)");
}

TEST(CurlHttpClient, KeepsCookiesInMemoryForTheRun) {
  LoopbackHttpServer server;
  server.route("/login", {.Body = "in", .Headers = {"Set-Cookie: visit=42; Path=/"}});
  server.route("/again", {.Body = "again"});
  CurlHttpClient client;
  ASSERT_TRUE(client.get({.Url = server.url("/again"), .Limits = Short()}).Ok);
  ASSERT_TRUE(client.get({.Url = server.url("/login"), .Limits = Short()}).Ok);
  // From another thread too: the cookie store is shared by every request.
  std::thread([&] { ASSERT_TRUE(client.get({.Url = server.url("/again"), .Limits = Short()}).Ok); }).join();
  const auto seen = server.requests();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].header("cookie"), "");
  EXPECT_EQ(seen[2].header("cookie"), "visit=42");
  // A fresh client (a new run) starts without cookies.
  CurlHttpClient fresh;
  ASSERT_TRUE(fresh.get({.Url = server.url("/again"), .Limits = Short()}).Ok);
  EXPECT_EQ(server.requests().back().header("cookie"), "");
}

TEST(CurlHttpClient, GoesStraightToTheServerWhateverTheProxySettings) {
  LoopbackHttpServer server;
  server.route("/page", {.Body = "direct"});
  const std::string deadProxy = "http://127.0.0.1:" + std::to_string(RefusingPort());
  ScopedEnvironment http("http_proxy", deadProxy.c_str());
  ScopedEnvironment all("ALL_PROXY", deadProxy.c_str());
  ScopedEnvironment none("no_proxy", nullptr);
  ScopedEnvironment noneUpper("NO_PROXY", nullptr);
  CurlHttpClient client;
  HttpResponse answer = client.get({.Url = server.url("/page"), .Limits = Short()});
  EXPECT_TRUE(answer.Ok) << answer.Error;
  EXPECT_EQ(answer.Body, "direct");
}

TEST(CurlHttpClient, EveryKindOfFailureIsAResultAndEndsInTime) {
  LoopbackHttpServer server;
  server.route("/missing", {.Status = 404, .Body = "no"});
  server.route("/broken", {.Status = 500, .Body = "oops"});
  server.route("/hangup", {.Mode = Behaviour::HangUp});
  server.route("/silent", {.Body = "never", .Mode = Behaviour::Silent});
  server.route("/slow", {.Body = std::string(40, 'x'), .Mode = Behaviour::Slow});
  server.route("/nowhere", {.Status = 302});  // a redirect without a Location
  const std::string refused = "http://127.0.0.1:" + std::to_string(RefusingPort()) + "/orlisk/update.ini";
  CurlHttpClient client;
  for (const std::string& url : {refused, server.url("/missing"), server.url("/broken"), server.url("/hangup"),
                                 server.url("/silent"), server.url("/slow"), server.url("/nowhere"),
                                 server.url("/unknown")}) {
    const auto started = Clock::now();
    HttpResponse answer = client.get({.Url = url, .Limits = Short()});
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    EXPECT_FALSE(answer.Ok) << url;
    EXPECT_TRUE(answer.Body.empty()) << url;
    EXPECT_FALSE(answer.Error.empty()) << url;
    // The whole-request time-out (800 ms) ends even a server that never answers.
    EXPECT_LT(took, 5s) << url;
  }
}

TEST(CurlHttpClient, RefusesAnswersLargerThanTheCap) {
  LoopbackHttpServer server;
  server.route("/full", {.Body = std::string(kMaxAnswerBytes, 'a')});
  server.route("/over", {.Body = std::string(kMaxAnswerBytes + 1, 'a')});
  server.route("/over-unannounced", {.Body = std::string(kMaxAnswerBytes + 1, 'a'), .Mode = Behaviour::NoLength});
  server.route("/huge-unannounced", {.Body = std::string(4 * 1024 * 1024, 'a'), .Mode = Behaviour::NoLength});
  CurlHttpClient client;
  const HttpLimits limits{.Connect = 1s, .Total = 5s};
  HttpResponse full = client.get({.Url = server.url("/full"), .Limits = limits});
  ASSERT_TRUE(full.Ok) << full.Error;
  EXPECT_EQ(full.Body.size(), kMaxAnswerBytes);
  for (const char* path : {"/over", "/over-unannounced", "/huge-unannounced"}) {
    HttpResponse over = client.get({.Url = server.url(path), .Limits = limits});
    EXPECT_FALSE(over.Ok) << path;
    EXPECT_TRUE(over.Body.empty()) << path;
  }
}

TEST(CurlHttpClient, FollowsAFewRedirectsOnly) {
  LoopbackHttpServer server;
  server.route("/target", {.Body = "arrived"});
  server.route("/one", {.Status = 302, .Headers = {"Location: /target"}});
  server.route("/two", {.Status = 301, .Headers = {"Location: " + server.url("/one")}});
  server.route("/loop", {.Status = 302, .Headers = {"Location: /loop"}});
  server.route("/to-file", {.Status = 302, .Headers = {"Location: file:///etc/passwd"}});
  CurlHttpClient client;
  HttpResponse two = client.get({.Url = server.url("/two"), .Limits = Short()});
  ASSERT_TRUE(two.Ok) << two.Error;
  EXPECT_EQ(two.Body, "arrived");

  HttpResponse loop = client.get({.Url = server.url("/loop"), .Limits = Short()});
  EXPECT_FALSE(loop.Ok);
  std::size_t loops = 0;
  for (const auto& request : server.requests()) loops += request.Target == "/loop";
  EXPECT_EQ(loops, 4u);  // the first request and three redirects

  EXPECT_FALSE(client.get({.Url = server.url("/to-file"), .Limits = Short()}).Ok);
}

TEST(CurlHttpClient, RedirectsNeverLeaveHttpAndNeverStepDownFromHttps) {
  struct Row {
    const char* from;
    const char* to;
    bool allowed;
  };
  for (Row row : {Row{"http://a/x", "http://b/y", true}, Row{"http://a/x", "https://b/y", true},
                  Row{"https://a/x", "https://b/y", true}, Row{"https://a/x", "http://b/y", false},
                  Row{"HTTPS://a/x", "Http://b/y", false}, Row{"http://a/x", "HTTPS://b/y", true},
                  Row{"http://a/x", "file:///etc/passwd", false}, Row{"http://a/x", "ftp://b/y", false},
                  Row{"http://a/x", "javascript:alert(1)", false}, Row{"http://a/x", "", false}}) {
    EXPECT_EQ(RedirectAllowed(row.from, row.to), row.allowed) << row.from << " -> " << row.to;
  }
}

TEST(CurlHttpClient, CancellingEndsARequestThatWouldWaitLong) {
  LoopbackHttpServer server;
  server.route("/silent", {.Mode = Behaviour::Silent});
  CurlHttpClient client;
  std::atomic<bool> cancel{false};
  std::thread canceller([&] {
    server.waitForRequests(1, 5s);
    cancel = true;
  });
  const auto started = Clock::now();
  HttpResponse answer =
      client.get({.Url = server.url("/silent"), .Limits = {.Connect = 30s, .Total = 60s}, .Cancel = &cancel});
  canceller.join();
  EXPECT_FALSE(answer.Ok);
  EXPECT_LT(Clock::now() - started, 10s);
}

}  // namespace
}  // namespace orlisk::testing
