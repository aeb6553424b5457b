#pragma once
// The file-system steps a whole-file save is made of, as a seam. The program
// uses the system's own; tests and the fault harness derive from it to make a
// single step fail (a full disk on the third write, a refused second rename)
// and see that a save never leaves a half-written or mismatched pair behind.
#include <sys/types.h>

#include <cstddef>

namespace orlisk {

class FileSteps {
 public:
  virtual ~FileSteps() = default;

  // Each returns what the system call returns: -1 with errno set on failure.
  virtual ssize_t write(int fd, const void* data, std::size_t size);
  virtual int fsync(int fd);
  // Gives an unnamed temporary file (O_TMPFILE) the name `name` in a folder.
  virtual int linkTemporary(int fd, int folderFd, const char* name);
  virtual int rename(int folderFd, const char* from, const char* to);
  // Swaps two names in a folder in one step (RENAME_EXCHANGE).
  virtual int exchange(int folderFd, const char* first, const char* second);
};

// The system's own steps.
FileSteps& SystemFileSteps();

}  // namespace orlisk
