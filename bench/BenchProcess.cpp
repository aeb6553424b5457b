#include "BenchProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "BenchClock.h"

extern char** environ;

namespace orlisk::bench {
namespace {

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

}  // namespace

ProcessRun RunProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                      bool keepOutput) {
  std::vector<std::string> words = arguments;
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  // This process's environment with the additions; a later entry wins.
  std::vector<std::string> variables = environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string name = std::string(*entry).substr(0, std::string(*entry).find('='));
    bool overridden = false;
    for (const std::string& added : environment) overridden |= added.rfind(name + "=", 0) == 0;
    if (!overridden) variables.emplace_back(*entry);
  }
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);

  char outputPattern[] = "/tmp/orlisk-bench-output-XXXXXX";
  const int outputFile = keepOutput ? mkstemp(outputPattern) : -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (outputFile >= 0) {
    posix_spawn_file_actions_adddup2(&actions, outputFile, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputFile, STDERR_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }

  ProcessRun run;
  Stopwatch watch;
  pid_t pid = 0;
  const int spawnError = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawnError == 0) {
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.wallSeconds = watch.Seconds();
    run.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    run.peakMegabytes = usage.ru_maxrss / 1024;
    run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  if (outputFile >= 0) {
    close(outputFile);
    std::ifstream in(outputPattern, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    run.output = text.str();
    std::remove(outputPattern);
  }
  return run;
}

std::string OwnExecutable() { return std::filesystem::read_symlink("/proc/self/exe").string(); }

}  // namespace orlisk::bench
