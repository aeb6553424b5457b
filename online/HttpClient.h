#pragma once
// The program's HTTP client contract: GET only, the whole answer in memory, a
// User-Agent shared by every request of the run, cookies kept in memory for the
// run, no proxy, bounded time-outs and answer sizes, few redirects and never
// from https to http. Network failures are results, never exceptions.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace orlisk {

// The User-Agent of a fresh client, and the one the usage report sets for the
// rest of the run (written without blanks on purpose).
inline constexpr const char* kDefaultUserAgent = "Mozilla/3.0 (compatible; Indy Library)";
inline constexpr const char* kUsageReportUserAgent =
    "Mozilla/4.0(compatible;MSIE6.0;WindowsNT5.0;MyIE2;CustomExchangeBrowser;.NETCLR1.1.4322)";

// Every answer the program asks for is a few lines; anything bigger is refused.
inline constexpr std::size_t kMaxAnswerBytes = 64 * 1024;

struct HttpLimits {
  std::chrono::milliseconds Connect{2000};  // per connection attempt
  std::chrono::milliseconds Total{3000};    // the whole request, redirects included
  std::size_t MaxBytes = kMaxAnswerBytes;   // a longer body fails the request
  int MaxRedirects = 3;
};

struct HttpRequest {
  std::string Url;
  HttpLimits Limits{};
  // When it turns true the request ends soon after with a failure (the
  // program is closing). May be null.
  const std::atomic<bool>* Cancel = nullptr;
};

struct HttpResponse {
  bool Ok = false;    // a 2xx answer whose whole body arrived within the limits
  long Status = 0;    // the last HTTP status seen, 0 when none arrived
  std::string Body{};   // only when Ok
  std::string Error{};  // why not, for a developer reading a test
};

// Safe to use from several threads at once: the update check runs on a thread
// of its own while the window may probe the gift page.
class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual HttpResponse get(const HttpRequest& request) = 0;
  // Replaces the User-Agent for every later request of the run.
  virtual void setUserAgent(const std::string& userAgent) = 0;
};

// No network at all: every request fails at once. For windows built without
// one (tests) so that nothing they do leaves the machine.
class OfflineHttpClient : public HttpClient {
 public:
  HttpResponse get(const HttpRequest&) override { return {.Error = "offline"}; }
  void setUserAgent(const std::string&) override {}
};

}  // namespace orlisk
