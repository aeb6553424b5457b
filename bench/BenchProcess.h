#pragma once
// Running a program as a whole process, without a shell, and timing it: wall
// time from the start to its end and the CPU time of all its threads.
#include <string>
#include <vector>

namespace orlisk::bench {

struct ProcessRun {
  bool succeeded = false;  // started, and ended by itself with status 0
  double wallSeconds = 0;
  double cpuSeconds = 0;   // user + system, all threads
  long peakMegabytes = 0;  // the largest resident size it reached
  std::string output;      // what it wrote on stdout and stderr, when asked for
};

// Runs `arguments` (the first is the program, looked up in PATH) with
// `environment` added to this process's own ("NAME=value" each). Its stdout
// and stderr are kept in `output` when `keepOutput`, else thrown away.
ProcessRun RunProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {},
                      bool keepOutput = false);

// The path of this benchmark's own executable, so it can run itself.
std::string OwnExecutable();

}  // namespace orlisk::bench
