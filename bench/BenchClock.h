#pragma once
// Small helpers shared by the benchmarks: a stopwatch, CPU clocks, medians
// and percentiles, the machine's load, and the one-line verdict every
// benchmark ends with.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
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

// CPU seconds of the calling thread only: what a step costs whatever else
// the machine is doing (waiting for the CPU does not count).
inline double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// User and system CPU seconds of every thread of this process so far.
inline double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The value below which `fraction` (0..1) of `values` lie (nearest rank).
inline double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(rank, values.size() - 1)];
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// The 1, 5 and 15 minute load averages, as the kernel gives them.
inline std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

// The line a run is read by at a glance: what was measured, the goal, the
// figure and whether the goal was met. bench/run-all collects these lines.
inline void PrintResult(const std::string& what, const std::string& goal, const std::string& figure, bool met) {
  std::printf("RESULT  %-34s goal %-26s figure %-36s %s\n", what.c_str(), goal.c_str(), figure.c_str(),
              met ? "met" : "MISSED");
  std::fflush(stdout);
}

// printf into a std::string, for the figures of PrintResult.
template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

}  // namespace orlisk::bench
