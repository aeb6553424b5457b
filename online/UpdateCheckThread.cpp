#include "online/UpdateCheckThread.h"

namespace orlisk {

UpdateCheckThread::~UpdateCheckThread() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

bool UpdateCheckThread::start(UpdateCheckRequest request, std::function<void(UpdateCheckResult)> finished) {
  if (running()) return false;
  thread_ = std::thread([this, request = std::move(request), finished = std::move(finished)] {
    finished(RunUpdateCheck(http_, request, &cancel_));
  });
  return true;
}

void UpdateCheckThread::join() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace orlisk
