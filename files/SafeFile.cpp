#include "files/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace orlisk {
namespace fs = std::filesystem;

namespace {

constexpr const char* kNotRegularReason = "it is a folder, pipe or device, not an ordinary file";

FileProblem ProblemOf(int error) {
  return error == ENOENT || error == ENOTDIR ? FileProblem::Missing : FileProblem::Unreadable;
}

[[noreturn]] void Fail(const fs::path& file, int error) {
  throw FileReadError(file, ProblemOf(error), std::generic_category().message(error));
}

[[noreturn]] void FailTooLarge(const fs::path& file, std::uint64_t maxBytes) {
  throw FileReadError(file, FileProblem::TooLarge, "it is larger than " + DescribeSize(maxBytes));
}

}  // namespace

FileReadError::FileReadError(const fs::path& file, FileProblem problem, const std::string& reason)
    : std::runtime_error("Unable to read " + file.string() + ": " + reason), problem_(problem), reason_(reason) {}

std::string DescribeSize(std::uint64_t bytes) {
  constexpr std::uint64_t kMegabyte = 1ull << 20;
  if (bytes >= kMegabyte && bytes % kMegabyte == 0) return std::to_string(bytes / kMegabyte) + " MB";
  return std::to_string(bytes) + " bytes";
}

ReadableFile::ReadableFile(const fs::path& file, std::uint64_t maxBytes) : path_(file), maxBytes_(maxBytes) {
  // Looking first means a device or FIFO is never even opened: opening some
  // devices has effects of its own, and opening a FIFO waits for a writer.
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) Fail(file, errno);
  if (!S_ISREG(info.st_mode)) throw FileReadError(file, FileProblem::NotRegular, kNotRegularReason);

  // The name may be swapped for something else in between: open without
  // waiting and look again at what was actually opened.
  fd_ = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) Fail(file, errno);
  if (::fstat(fd_, &info) != 0) {
    const int error = errno;
    ::close(fd_);
    fd_ = -1;
    Fail(file, error);
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    throw FileReadError(file, FileProblem::NotRegular, kNotRegularReason);
  }
  size_ = static_cast<std::uint64_t>(info.st_size);
  if (size_ > maxBytes_) {
    ::close(fd_);
    fd_ = -1;
    FailTooLarge(file, maxBytes_);
  }
}

ReadableFile::ReadableFile(ReadableFile&& other) noexcept
    : path_(std::move(other.path_)),
      maxBytes_(other.maxBytes_),
      size_(other.size_),
      fd_(std::exchange(other.fd_, -1)) {}

ReadableFile& ReadableFile::operator=(ReadableFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    maxBytes_ = other.maxBytes_;
    size_ = other.size_;
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

ReadableFile::~ReadableFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::string ReadableFile::readAt(std::uint64_t offset, std::size_t count) const {
  std::string bytes(count, '\0');
  std::size_t got = 0;
  while (got < count) {
    const ssize_t n = ::pread(fd_, bytes.data() + got, count - got, static_cast<off_t>(offset + got));
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(path_, errno);
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

std::string ReadableFile::readAll() const {
  // Read to the end rather than to the size seen at opening: files in /proc
  // and files still being written say less than they hold. One byte past the
  // cap is enough to know it is too large.
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size_));
  char buffer[64 * 1024];
  std::uint64_t offset = 0;
  for (;;) {
    const ssize_t n = ::pread(fd_, buffer, sizeof buffer, static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(path_, errno);
    }
    if (n == 0) break;
    offset += static_cast<std::uint64_t>(n);
    if (offset > maxBytes_) FailTooLarge(path_, maxBytes_);
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

std::string ReadRegularFile(const fs::path& file, std::uint64_t maxBytes) {
  return ReadableFile(file, maxBytes).readAll();
}

}  // namespace orlisk
