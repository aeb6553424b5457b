#pragma once
// The update check: download the published description, keep it as
// "updatenew.ini" (whole or not at all) and compare its version with the
// shipped "update.ini". `TMyUPdate` runs one check on a thread of its own; the
// thread touches only the description files and its own cancel flag, and
// reports to its owner through the callback it was started with.
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "online/HttpClient.h"

namespace orlisk {

enum class UpdateCheckResult {
  Failed,        // no answer, an error status, a cap or time-out reached, the file not written
  UpToDate,      // the published version is not above the shipped one
  NewerVersion,  // the published version is strictly above the shipped one
};

struct UpdateCheckRequest {
  std::string Url;                           // the published description
  std::filesystem::path ShippedDescription;  // "update.ini", read only
  std::filesystem::path Downloaded;          // "updatenew.ini", replaced whole on success
  HttpLimits Limits{};
};

// The check itself, on the caller's thread. Never throws; every failure is Failed.
UpdateCheckResult RunUpdateCheck(HttpClient& http, const UpdateCheckRequest& request,
                                 const std::atomic<bool>* cancel = nullptr);

class TMyUPdate {
 public:
  explicit TMyUPdate(HttpClient& http) : http_(http) {}
  // Cancels a running request and waits for the thread (a second at most).
  ~TMyUPdate();
  TMyUPdate(const TMyUPdate&) = delete;
  TMyUPdate& operator=(const TMyUPdate&) = delete;

  // From the owner's thread. Does nothing and answers false while a check is
  // running (until join()); otherwise starts one that ends by calling
  // `finished` on its own thread with the result.
  bool start(UpdateCheckRequest request, std::function<void(UpdateCheckResult)> finished);
  // True from start() until join().
  bool running() const { return thread_.joinable(); }
  // Waits for the thread, which has nothing left to do once it called
  // `finished`. Call it when that result has arrived.
  void join();

 private:
  HttpClient& http_;
  std::atomic<bool> cancel_{false};
  std::thread thread_;
};

}  // namespace orlisk
