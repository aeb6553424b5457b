#include "settings/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <stdexcept>
#include <system_error>

namespace orlisk {
namespace fs = std::filesystem;

namespace {

std::string SystemReason(int error) { return std::generic_category().message(error); }

// A file descriptor that closes itself.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, so that a failing close (a full disk on some file systems) is seen.
  int close() {
    int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// A temporary file beside `target`, removed again unless it was renamed.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) : target_(target) {
    std::string pattern = target.string() + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) Fail(errno);
    path_ = fs::path(name.data());
    fd_ = std::make_unique<FileDescriptor>(fd);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    fd_.reset();
    if (!renamed_ && !path_.empty()) {
      std::error_code ignored;
      fs::remove(path_, ignored);
    }
  }

  void writeAll(const std::string& bytes) {
    // The replacement keeps the permissions of the file it replaces; a new
    // file gets the usual ones (mkstemp makes it private to the user).
    struct stat existing {};
    mode_t mode = 0666;
    if (::stat(target_.c_str(), &existing) == 0) {
      mode = existing.st_mode & 07777;
    } else {
      mode_t mask = ::umask(0);
      ::umask(mask);
      mode &= ~mask;
    }
    if (::fchmod(fd_->get(), mode) != 0) Fail(errno);

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
      ssize_t written = ::write(fd_->get(), data, left);
      if (written < 0) {
        if (errno == EINTR) continue;
        Fail(errno);
      }
      data += written;
      left -= static_cast<std::size_t>(written);
    }
    if (::fsync(fd_->get()) != 0) Fail(errno);
    if (fd_->close() != 0) Fail(errno);
  }

  void renameOverTarget() {
    if (::rename(path_.c_str(), target_.c_str()) != 0) Fail(errno);
    renamed_ = true;
  }

 private:
  [[noreturn]] void Fail(int error) const {
    throw std::runtime_error("Unable to write " + target_.string() + ": " + SystemReason(error));
  }

  fs::path target_;
  fs::path path_;
  std::unique_ptr<FileDescriptor> fd_;
  bool renamed_ = false;
};

// The file a save has to replace: a link is followed to the file it names, so
// the shared copy is updated and the link stays, as writing in place would do.
fs::path FollowLinks(fs::path target) {
  constexpr int kMaxLinkHops = 40;  // the kernel's own limit for a chain of links
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(target, error))) return target;
    fs::path next = fs::read_symlink(target, error);
    if (error) return target;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

}  // namespace

std::string ReadWholeFile(const fs::path& file) {
  auto fail = [&file](int error) {
    return std::runtime_error("Unable to read " + file.string() + ": " + SystemReason(error));
  };
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw fail(errno);
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw fail(errno);  // a folder, an I/O error
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return bytes;
}

void ReplaceFilesTogether(const std::vector<std::pair<fs::path, std::string>>& files) {
  // A folder in a target's place would let the first files be replaced and
  // the rest fail at the rename: refuse before anything is written.
  for (const auto& [target, bytes] : files) {
    std::error_code error;
    if (fs::is_directory(target, error))
      throw std::runtime_error("Unable to write " + target.string() + ": " + SystemReason(EISDIR));
  }
  std::vector<std::unique_ptr<TemporaryFile>> staged;
  for (const auto& [target, bytes] : files) {
    staged.push_back(std::make_unique<TemporaryFile>(FollowLinks(target)));
    staged.back()->writeAll(bytes);
  }
  for (auto& file : staged) file->renameOverTarget();
}

}  // namespace orlisk
