#include "app/ui/CommandRunner.h"

namespace orlisk {

void CommandRunner::run(const std::function<void()>& command) {
  try {
    command();
  } catch (...) {
    if (handling_ || !errorHandler_) return;
    handling_ = true;
    try {
      errorHandler_();
    } catch (...) {
    }
    handling_ = false;
  }
}

}  // namespace orlisk
