#pragma once
// Small helpers shared by the media benchmarks: a stopwatch, percentiles,
// and timing a command line.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace orlisk::bench {

class Stopwatch {
 public:
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The value below which `fraction` (0..1) of `values` lie (nearest rank).
inline double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(rank, values.size() - 1)];
}

// Wall-clock seconds of a shell command; negative when it failed.
inline double TimeCommand(const std::string& command) {
  Stopwatch watch;
  const int status = std::system(command.c_str());
  return status == 0 ? watch.Seconds() : -1.0;
}

}  // namespace orlisk::bench
