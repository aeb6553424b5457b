#pragma once
// Where commands start (the skin's clicks, menu items, the function keys, the
// list, memo and picture events, Timer1, the audio player's request) they run
// through one runner: an error a command throws is handed to the error
// handler right there, so no exception unwinds through Qt's own frames. That
// matters because a command may run beneath another one's nested event loop
// (a modal dialog, the write job's message processing).
#include <functional>

namespace orlisk {

class CommandRunner {
 public:
  explicit CommandRunner(std::function<void()> errorHandler) : errorHandler_(std::move(errorHandler)) {}

  // Runs `command`; an exception it throws ends it and calls the error
  // handler, unless the handler is already asking (a failing timer keeps
  // failing while the question is open: one question at a time). An error
  // the handler itself throws (the save it offers failed) is dropped.
  void run(const std::function<void()>& command);

 private:
  std::function<void()> errorHandler_;
  bool handling_ = false;
};

}  // namespace orlisk
