#include "online/CurlHttpClient.h"

#include <array>
#include <cctype>
#include <new>

#include "online/CurlHandles.h"

namespace orlisk {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

void InitialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string LowerCaseScheme(const std::string& url) {
  const auto end = url.find("://");
  if (end == std::string::npos) return {};
  std::string scheme = url.substr(0, end);
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return scheme;
}

// What the callbacks of one transfer share with it.
struct TransferState {
  std::string Body{};
  std::size_t MaxBytes = 0;
  bool TooLarge = false;
  const std::atomic<bool>* Cancel = nullptr;
};

// A body that would pass the cap stops the transfer: curl ends it with a write error.
std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* state = static_cast<TransferState*>(user);
  const std::size_t bytes = size * count;
  if (bytes > state->MaxBytes - state->Body.size()) {
    state->TooLarge = true;
    return 0;
  }
  state->Body.append(data, bytes);
  return bytes;
}

// Called about once a second even while nothing arrives, and during connects.
int AbortWhenCancelled(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* state = static_cast<const TransferState*>(user);
  return (state->Cancel != nullptr && state->Cancel->load()) ? 1 : 0;
}

struct Transfer {
  CURLcode Code = CURLE_OK;
  long Status = 0;
  std::string Body{};
  std::string RedirectUrl;
  bool TooLarge = false;
  std::string Error;
};

}  // namespace

bool RedirectAllowed(const std::string& from, const std::string& to) {
  const std::string target = LowerCaseScheme(to);
  if (target == "https") return true;
  return target == "http" && LowerCaseScheme(from) != "https";
}

struct CurlHttpClient::Impl {
  std::mutex userAgentMutex;
  std::string userAgent = kDefaultUserAgent;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> shareLocks;
  curl::Share cookies;

  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* user) {
    static_cast<Impl*>(user)->shareLocks.at(data).lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* user) { static_cast<Impl*>(user)->shareLocks.at(data).unlock(); }

  Impl() : cookies(curl_share_init()) {
    if (!cookies) throw std::bad_alloc();
    curl_share_setopt(cookies.get(), CURLSHOPT_LOCKFUNC, &Impl::Lock);
    curl_share_setopt(cookies.get(), CURLSHOPT_UNLOCKFUNC, &Impl::Unlock);
    curl_share_setopt(cookies.get(), CURLSHOPT_USERDATA, this);
    curl_share_setopt(cookies.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }

  std::string currentUserAgent() {
    std::lock_guard lock(userAgentMutex);
    return userAgent;
  }

  // One GET without following redirects; at most `remaining` long.
  Transfer perform(const std::string& url, const HttpLimits& limits, milliseconds remaining,
                   const std::atomic<bool>* cancel) {
    Transfer result;
    curl::Easy easy(curl_easy_init());
    if (!easy) {
      result.Code = CURLE_FAILED_INIT;
      result.Error = "cannot start a request";
      return result;
    }
    curl::HeaderList headers = curl::Append(nullptr, "Accept: text/html, */*");
    headers = curl::Append(std::move(headers), "Content-Type: text/html");
    const std::string agent = currentUserAgent();
    TransferState state{.MaxBytes = limits.MaxBytes, .Cancel = cancel};
    std::array<char, CURL_ERROR_SIZE> errorText{};

    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    // Redirects are followed one checked hop at a time by get().
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    // An empty proxy means none, whatever http_proxy and its kin say.
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::min(limits.Connect, remaining).count()));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(remaining.count()));
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.MaxBytes));
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(h, CURLOPT_SHARE, cookies.get());
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");  // the cookie engine on, nothing read from disk
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &AppendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &state);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &AbortWhenCancelled);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &state);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText.data());

    result.Code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.Status);
    char* location = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location != nullptr) {
      result.RedirectUrl = location;
    }
    result.TooLarge = state.TooLarge || result.Code == CURLE_FILESIZE_EXCEEDED;
    result.Body = std::move(state.Body);
    if (result.Code != CURLE_OK) {
      result.Error = errorText[0] != '\0' ? errorText.data() : curl_easy_strerror(result.Code);
    }
    return result;
  }
};

CurlHttpClient::CurlHttpClient() {
  InitialiseCurlOnce();
  impl_ = std::make_unique<Impl>();
}

CurlHttpClient::~CurlHttpClient() = default;

void CurlHttpClient::setUserAgent(const std::string& userAgent) {
  std::lock_guard lock(impl_->userAgentMutex);
  impl_->userAgent = userAgent;
}

HttpResponse CurlHttpClient::get(const HttpRequest& request) {
  const HttpLimits& limits = request.Limits;
  const Clock::time_point deadline = Clock::now() + limits.Total;
  std::string url = request.Url;
  for (int redirects = 0;; ++redirects) {
    HttpResponse response;
    const auto remaining = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    if (remaining <= milliseconds(0)) {
      response.Error = "time-out";
      return response;
    }
    if (request.Cancel != nullptr && request.Cancel->load()) {
      response.Error = "cancelled";
      return response;
    }
    Transfer transfer = impl_->perform(url, limits, remaining, request.Cancel);
    response.Status = transfer.Status;
    if (transfer.TooLarge) {
      response.Error = "the answer is larger than " + std::to_string(limits.MaxBytes) + " bytes";
      return response;
    }
    if (transfer.Code != CURLE_OK) {
      response.Error = transfer.Error;
      return response;
    }
    if (transfer.Status >= 300 && transfer.Status < 400 && !transfer.RedirectUrl.empty()) {
      if (redirects >= limits.MaxRedirects) {
        response.Error = "too many redirects";
        return response;
      }
      if (!RedirectAllowed(url, transfer.RedirectUrl)) {
        response.Error = "refused redirect to " + transfer.RedirectUrl;
        return response;
      }
      url = std::move(transfer.RedirectUrl);
      continue;
    }
    if (transfer.Status < 200 || transfer.Status >= 300) {
      response.Error = "HTTP status " + std::to_string(transfer.Status);
      return response;
    }
    response.Ok = true;
    response.Body = std::move(transfer.Body);
    return response;
  }
}

}  // namespace orlisk
