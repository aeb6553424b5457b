#pragma once
// One update check on a thread of its own: the thread touches only the
// description files and its own cancel flag, and reports to its owner through
// the callback it was started with.
#include <atomic>
#include <functional>
#include <thread>

#include "online/UpdateCheck.h"

namespace orlisk {

class UpdateCheckThread {
 public:
  explicit UpdateCheckThread(HttpClient& http) : http_(http) {}
  // Cancels a running request and waits for the thread (a second at most).
  ~UpdateCheckThread();
  UpdateCheckThread(const UpdateCheckThread&) = delete;
  UpdateCheckThread& operator=(const UpdateCheckThread&) = delete;

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
