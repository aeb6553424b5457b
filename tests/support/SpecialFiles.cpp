#include "tests/support/SpecialFiles.h"

#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace orlisk::testing {

namespace {

std::string Why(const std::string& what) { return what + ": " + std::strerror(errno); }

std::string MakeSocket(const std::filesystem::path& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.string().size() >= sizeof address.sun_path) return "the path is too long for a socket";
  std::strcpy(address.sun_path, path.c_str());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return Why("socket");
  const int bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  const std::string reason = bound == 0 ? "" : Why("bind");
  ::close(fd);  // the socket file stays
  return reason;
}

}  // namespace

std::string MakeSpecialFile(SpecialKind kind, const std::filesystem::path& path) {
  switch (kind) {
    case SpecialKind::Folder: return ::mkdir(path.c_str(), 0700) == 0 ? "" : Why("mkdir");
    case SpecialKind::Pipe: return ::mkfifo(path.c_str(), 0600) == 0 ? "" : Why("mkfifo");
    case SpecialKind::Socket: return MakeSocket(path);
    case SpecialKind::FullDevice:
      return ::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 7)) == 0 ? "" : Why("mknod (a device node needs root)");
  }
  return "unknown kind";
}

bool IsSpecialFile(SpecialKind kind, const std::filesystem::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  switch (kind) {
    case SpecialKind::Folder: return S_ISDIR(info.st_mode);
    case SpecialKind::Pipe: return S_ISFIFO(info.st_mode);
    case SpecialKind::Socket: return S_ISSOCK(info.st_mode);
    case SpecialKind::FullDevice: return S_ISCHR(info.st_mode) && info.st_rdev == makedev(1, 7);
  }
  return false;
}

SmallDisk::SmallDisk(std::uint64_t bytes) {
  std::string pattern = (std::filesystem::temp_directory_path() / "orlisk-small-disk-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error(Why("mkdtemp " + pattern));
  path_ = pattern;
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
  if (::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0) {
    mounted_ = true;
  } else {
    skipReason_ = Why("mounting a small tmpfs (needs root)");
  }
}

SmallDisk::~SmallDisk() {
  if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::uint64_t SmallDisk::freeBytes() const {
  struct statvfs info {};
  if (::statvfs(path_.c_str(), &info) != 0) return 0;
  return std::uint64_t{info.f_bavail} * info.f_frsize;
}

}  // namespace orlisk::testing
