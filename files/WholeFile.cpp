#include "files/WholeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>
#include <set>
#include <system_error>

namespace orlisk {
namespace fs = std::filesystem;

namespace {

std::string SystemReason(int error) { return std::generic_category().message(error); }

constexpr const char* kNotRegularReason = "it is a folder, pipe or device, not an ordinary file";

// A file descriptor that closes itself.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, so that a failing close (a full disk on some file systems) is seen.
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// Six letters or digits, different on every call.
std::string RandomSuffix() {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<int> pick(0, sizeof kAlphabet - 2);
  std::string suffix(6, '\0');
  for (char& c : suffix) c = kAlphabet[pick(random)];
  return suffix;
}

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

// Removes what a killed save of the target left in its folder.
void RemoveLeftovers(int folderFd, const std::string& prefix) {
  const int listFd = ::dup(folderFd);
  if (listFd < 0) return;
  DIR* listing = ::fdopendir(listFd);
  if (!listing) {
    ::close(listFd);
    return;
  }
  std::vector<std::string> leftovers;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name.starts_with(prefix) && name.size() == prefix.size() + 6) leftovers.emplace_back(name);
  }
  ::closedir(listing);
  for (const std::string& name : leftovers) {
    struct stat info {};
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)) {
      ::unlinkat(folderFd, name.c_str(), 0);
    }
  }
}

// One target on its way to being replaced.
class StagedFile {
 public:
  StagedFile(const fs::path& requested, FileSteps& steps) : steps_(steps) {
    target_ = FollowLinks(requested);
    name_ = target_.filename().string();
    prefix_ = TemporaryNamePrefix(target_);

    struct stat existing {};
    mode_t mode = 0666;
    if (::lstat(target_.c_str(), &existing) == 0) {
      if (!S_ISREG(existing.st_mode)) throw FileWriteError(target_, kNotRegularReason);
      // Replacing by rename needs only the folder's permission; the file's own
      // says whether the user may change it, as writing in place would.
      if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) fail(errno);
      existed_ = true;
      mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
      fail(errno);
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode &= ~mask;
    }

    const fs::path folder = target_.parent_path().empty() ? fs::path(".") : target_.parent_path();
    folder_ = std::make_unique<FileDescriptor>(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder_->get() < 0) fail(errno);
    RemoveLeftovers(folder_->get(), prefix_);

    // An unnamed file vanishes by itself when the save is interrupted.
    int fd = ::openat(folder_->get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) fail(errno);
      do {
        temporaryName_ = prefix_ + RandomSuffix();
        fd = ::openat(folder_->get(), temporaryName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      } while (fd < 0 && errno == EEXIST);
      if (fd < 0) {
        temporaryName_.clear();
        fail(errno);
      }
    }
    file_ = std::make_unique<FileDescriptor>(fd);
    if (::fchmod(fd, mode) != 0) fail(errno);
  }

  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile() {
    file_.reset();
    // After a swap that could not be undone the temporary name holds the old
    // file: it stays for whoever wants it back (the next save removes it).
    if (!temporaryName_.empty() && state_ != State::Exchanged) ::unlinkat(folder_->get(), temporaryName_.c_str(), 0);
    if (!backupName_.empty() && state_ == State::Staged) ::unlinkat(folder_->get(), backupName_.c_str(), 0);
  }

  const fs::path& target() const { return target_; }
  int folderFd() const { return folder_->get(); }

  void writeAll(const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
      const ssize_t written = steps_.write(file_->get(), data, left);
      if (written < 0) {
        if (errno == EINTR) continue;
        fail(errno);
      }
      data += written;
      left -= static_cast<std::size_t>(written);
    }
    if (steps_.fsync(file_->get()) != 0) fail(errno);
  }

  // Puts the new file in the target's place. On failure nothing changed.
  void commit() {
    if (temporaryName_.empty()) {
      for (;;) {
        temporaryName_ = prefix_ + RandomSuffix();
        if (steps_.linkTemporary(file_->get(), folder_->get(), temporaryName_.c_str()) == 0) break;
        const int error = errno;
        temporaryName_.clear();
        if (error != EEXIST) fail(error);
      }
    }
    if (file_->close() != 0) fail(errno);

    if (existed_) {
      if (steps_.exchange(folder_->get(), temporaryName_.c_str(), name_.c_str()) == 0) {
        // The temporary name now holds the old file, kept until all are in
        // place. Held open, its name goes in an instant later: the blocks are
        // given back when it is closed, after the last name is gone.
        state_ = State::Exchanged;
        displaced_ = std::make_unique<FileDescriptor>(
            ::openat(folder_->get(), temporaryName_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        return;
      }
      if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP && errno != ENOENT) fail(errno);
      // A file system that cannot swap: a second name keeps the old file.
      backupName_ = prefix_ + RandomSuffix();
      if (::linkat(folder_->get(), name_.c_str(), folder_->get(), backupName_.c_str(), 0) != 0) backupName_.clear();
    }
    if (steps_.rename(folder_->get(), temporaryName_.c_str(), name_.c_str()) != 0) {
      const int error = errno;
      if (!backupName_.empty()) ::unlinkat(folder_->get(), backupName_.c_str(), 0);
      backupName_.clear();
      fail(error);
    }
    temporaryName_.clear();
    state_ = existed_ ? State::Replaced : State::Created;
  }

  // Undoes commit(); false when the old file could not be put back.
  bool rollBack() {
    switch (state_) {
      case State::Exchanged:
        if (steps_.exchange(folder_->get(), temporaryName_.c_str(), name_.c_str()) != 0) return false;
        break;  // the temporary name, now holding the new file, goes with this object
      case State::Created:
        if (::unlinkat(folder_->get(), name_.c_str(), 0) != 0) return false;
        break;
      case State::Replaced:
        // Without a second name (no hard links here) the old file is gone.
        if (backupName_.empty() || steps_.rename(folder_->get(), backupName_.c_str(), name_.c_str()) != 0) {
          return false;
        }
        backupName_.clear();
        break;
      case State::Staged:
        break;
    }
    state_ = State::Staged;
    return true;
  }

  // Lets go of the old file's name once every target is in place; close()
  // then lets go of its contents.
  void finish() {
    if (state_ == State::Exchanged) ::unlinkat(folder_->get(), temporaryName_.c_str(), 0);
    if (!backupName_.empty()) ::unlinkat(folder_->get(), backupName_.c_str(), 0);
    temporaryName_.clear();
    backupName_.clear();
  }

 private:
  enum class State { Staged, Exchanged, Replaced, Created };

  [[noreturn]] void fail(int error) const { throw FileWriteError(target_, SystemReason(error)); }

  FileSteps& steps_;
  fs::path target_;
  std::string name_;
  std::string prefix_;
  bool existed_ = false;
  std::unique_ptr<FileDescriptor> folder_;
  std::unique_ptr<FileDescriptor> file_;
  std::string temporaryName_;  // the name in the folder, when there is one
  std::string backupName_;     // a second name of the replaced file, where swapping is not possible
  std::unique_ptr<FileDescriptor> displaced_;  // the replaced file, open until its name is gone
  State state_ = State::Staged;
};

}  // namespace

FileWriteError::FileWriteError(const fs::path& file, const std::string& reason)
    : std::runtime_error("Unable to write to " + file.string() + ": " + reason), file_(file), reason_(reason) {}

std::string TemporaryNamePrefix(const fs::path& target) {
  // FNV-1a of the name: short, and the same for every save of the target.
  std::uint32_t hash = 2166136261u;
  for (const unsigned char c : target.filename().string()) hash = (hash ^ c) * 16777619u;
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", hash);
  return std::string(".orlisk-") + hex + "-";
}

std::string ReadWholeFile(const fs::path& file, std::uint64_t maxBytes) { return ReadRegularFile(file, maxBytes); }

void ReplaceFilesTogether(const std::vector<std::pair<fs::path, std::string>>& files, FileSteps& steps) {
  // Everything that can fail slowly or for want of space happens before the
  // first target is touched.
  std::vector<std::unique_ptr<StagedFile>> staged;
  for (const auto& [target, bytes] : files) {
    staged.push_back(std::make_unique<StagedFile>(target, steps));
    staged.back()->writeAll(bytes);
  }

  for (std::size_t i = 0; i < staged.size(); ++i) {
    try {
      staged[i]->commit();
    } catch (const FileWriteError& error) {
      std::string reason = error.reason();
      for (std::size_t j = i; j-- > 0;) {
        if (!staged[j]->rollBack()) {
          reason += "; " + staged[j]->target().string() + " was already replaced and could not be put back";
        }
      }
      throw FileWriteError(staged[i]->target(), reason);
    }
  }
  for (auto& file : staged) file->finish();

  // The renames last only once their folders are on the disk.
  std::set<std::pair<dev_t, ino_t>> synced;
  for (auto& file : staged) {
    struct stat folder {};
    if (::fstat(file->folderFd(), &folder) != 0 || !synced.insert({folder.st_dev, folder.st_ino}).second) continue;
    if (steps.fsync(file->folderFd()) != 0 && errno != EINVAL) {
      throw FileWriteError(file->target(), SystemReason(errno));
    }
  }
}

}  // namespace orlisk
