#pragma once
// The progress of one burn on stderr, in the form its reader wants: a bar
// redrawn in place on a terminal; for a log or a job runner, a percentage
// line or a JSON object at most once a second and once at the end, so that a
// thousand jobs do not fill their logs with a hundred lines each.
#include <cstdint>
#include <functional>
#include <iosfwd>

#include "BurnOptions.h"

namespace orlisk {

class BurnProgressReport {
 public:
  // Seconds on a clock that only goes forward.
  using Clock = std::function<double()>;
  BurnProgressReport(std::ostream& err, BurnProgress mode, bool terminal, Clock clock);

  // `progress` 0..10000 (WriteJob::Progress), `frames` written so far.
  void Show(int progress, std::int64_t frames);
  // Where the job ended (finished, stopped or failed): always told, once.
  void End(int progress, std::int64_t frames);

 private:
  void Print(int progress, std::int64_t frames, double elapsed);

  std::ostream& err_;
  BurnProgress mode_;
  bool terminal_;
  Clock clock_;
  double start_;
  double lastPrinted_;
  int lastShown_ = -1;
  bool ended_ = false;
};

// Seconds of the steady clock.
double SteadySeconds();

}  // namespace orlisk
