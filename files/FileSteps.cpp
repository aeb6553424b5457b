#include "files/FileSteps.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <string>

namespace orlisk {

ssize_t FileSteps::write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }

int FileSteps::fsync(int fd) { return ::fsync(fd); }

int FileSteps::linkTemporary(int fd, int folderFd, const char* name) {
  // Linking by AT_EMPTY_PATH needs a capability; the /proc path does not.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, self.c_str(), folderFd, name, AT_SYMLINK_FOLLOW);
}

int FileSteps::rename(int folderFd, const char* from, const char* to) {
  return ::renameat(folderFd, from, folderFd, to);
}

int FileSteps::exchange(int folderFd, const char* first, const char* second) {
  return ::renameat2(folderFd, first, folderFd, second, RENAME_EXCHANGE);
}

FileSteps& SystemFileSteps() {
  static FileSteps steps;
  return steps;
}

}  // namespace orlisk
