#pragma once
// HttpClient over libcurl's easy interface. Each request gets an easy handle of
// its own; the handles share one in-memory cookie store (guarded by curl's
// share locks), and the User-Agent is guarded by a mutex, so any thread may
// call get() at any time.
#include <memory>
#include <mutex>
#include <string>

#include "online/HttpClient.h"

namespace orlisk {

class CurlHttpClient : public HttpClient {
 public:
  CurlHttpClient();
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  HttpResponse get(const HttpRequest& request) override;
  void setUserAgent(const std::string& userAgent) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Whether a redirect from `from` to `to` may be followed: only to http or
// https, and never from https down to http.
bool RedirectAllowed(const std::string& from, const std::string& to);

}  // namespace orlisk
