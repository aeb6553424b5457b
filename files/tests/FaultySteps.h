#pragma once
// File-system steps that fail on purpose: each fault makes calls `first` to
// `first + count - 1` of one kind of step fail with its error; every other
// call is the system's own.
#include <cerrno>
#include <map>
#include <vector>

#include "files/FileSteps.h"

namespace orlisk::testing {

class FaultySteps : public FileSteps {
 public:
  enum class Step { Write, Fsync, Link, Rename, Exchange };
  struct Fault {
    Step step;
    int first;
    int error;
    int count = 1;
  };

  FaultySteps() = default;
  explicit FaultySteps(std::vector<Fault> faults) : faults_(std::move(faults)) {}

  ssize_t write(int fd, const void* data, std::size_t size) override {
    return fails(Step::Write) ? -1 : FileSteps::write(fd, data, size);
  }
  int fsync(int fd) override { return fails(Step::Fsync) ? -1 : FileSteps::fsync(fd); }
  int linkTemporary(int fd, int folderFd, const char* name) override {
    return fails(Step::Link) ? -1 : FileSteps::linkTemporary(fd, folderFd, name);
  }
  int rename(int folderFd, const char* from, const char* to) override {
    return fails(Step::Rename) ? -1 : FileSteps::rename(folderFd, from, to);
  }
  int exchange(int folderFd, const char* first, const char* second) override {
    return fails(Step::Exchange) ? -1 : FileSteps::exchange(folderFd, first, second);
  }

  int calls(Step step) const {
    const auto found = calls_.find(step);
    return found == calls_.end() ? 0 : found->second;
  }

 private:
  bool fails(Step step) {
    const int call = ++calls_[step];
    for (const Fault& fault : faults_) {
      if (fault.step == step && call >= fault.first && call < fault.first + fault.count) {
        errno = fault.error;
        return true;
      }
    }
    return false;
  }

  std::vector<Fault> faults_;
  std::map<Step, int> calls_;
};

}  // namespace orlisk::testing
