#include "PartialOutput.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "media/MediaError.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMarker = ".orlisk-partial-";
constexpr std::size_t kLetterCount = 6;
// Names another job may have taken meanwhile, one after the other.
constexpr int kMaxClashes = 1000;

[[noreturn]] void Fail(const std::string& what, int error) {
  throw MediaError(what + ": " + std::generic_category().message(error));
}

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a pipe (FIFO)";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "something other than a file";
}

std::string RandomLetters() {
  static constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::string letters;
  for (std::size_t i = 0; i < kLetterCount; ++i) letters += kAlphabet[random() % kAlphabet.size()];
  return letters;
}

// The file a link names, so that the link stays and its file is replaced.
std::string FollowLink(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::error_code error;
  const fs::path real = fs::canonical(path, error);
  return error ? path : real.string();
}

// Gives `from` the name `to` in one step unless `to` is taken (errno EEXIST).
// File systems without a no-replace rename get a second hard link instead,
// and those without hard links (FAT) a look before the rename.
int MoveWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return -1;
  if (::link(from.c_str(), to.c_str()) == 0) return ::unlink(from.c_str()), 0;
  if (errno != EPERM && errno != EOPNOTSUPP) return -1;
  struct stat info {};
  if (::lstat(to.c_str(), &info) == 0) {
    errno = EEXIST;
    return -1;
  }
  return ::rename(from.c_str(), to.c_str());
}

std::int64_t Nanoseconds(const timespec& t) { return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; }

// Whether process `pid` may be the one that wrote a partial last changed at
// `lastWritten` (seconds): it lives, and it started no later than that.
bool OwnerMayLive(pid_t pid, std::time_t lastWritten) {
  const std::string folder = "/proc/" + std::to_string(pid);
  std::error_code error;
  if (!fs::exists(folder, error)) return false;
  std::ifstream stat(folder + "/stat");
  std::string line;
  std::getline(stat, line);
  // After the command name in brackets: fields 3, 4, ...; the start is field 22.
  const std::size_t nameEnd = line.rfind(')');
  if (nameEnd == std::string::npos) return true;
  std::istringstream fields(line.substr(nameEnd + 1));
  std::string field;
  for (int number = 3; number <= 22 && fields >> field; ++number) {
  }
  unsigned long long startTicks = 0;
  if (std::from_chars(field.data(), field.data() + field.size(), startTicks).ec != std::errc()) return true;
  std::ifstream systemStat("/proc/stat");
  long long bootTime = -1;
  for (std::string key; systemStat >> key;) {
    if (key == "btime") {
      systemStat >> bootTime;
      break;
    }
  }
  if (bootTime < 0) return true;
  const long long started = bootTime + static_cast<long long>(startTicks / static_cast<unsigned long long>(sysconf(_SC_CLK_TCK)));
  // A second either way for the boot time's rounding: a process that started
  // clearly later took the number over from the partial's owner.
  return started <= lastWritten + 1;
}

}  // namespace

std::string RefusalOfTarget(const std::string& path) {
  struct stat info {};
  // Nothing there (or nothing to see): creating the file says what is wrong.
  if (::lstat(path.c_str(), &info) != 0) return "";
  const std::string rule = "; videos are written to regular files only";
  if (S_ISLNK(info.st_mode) && ::stat(path.c_str(), &info) != 0) return path + " is a link that leads nowhere" + rule;
  if (!S_ISREG(info.st_mode)) return path + " is " + KindOf(info.st_mode) + ", not a regular file" + rule;
  // A rename needs only the folder's permission; the file's own says whether
  // the user may change it.
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return path + " is read-only";
  return "";
}

std::string PartialName(const std::string& targetName, pid_t pid, const std::string& letters) {
  const std::string tail = std::string(kMarker) + std::to_string(pid) + "-" + letters;
  std::string name = targetName;
  const std::size_t room = NAME_MAX - 1 - tail.size();
  if (name.size() > room) {
    // Cut before the character that would not fit whole.
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return "." + name + tail;
}

std::optional<pid_t> PartialOwner(const std::string& name) {
  const std::size_t at = name.rfind(kMarker);
  if (name.empty() || name[0] != '.' || at == std::string::npos || at == 0) return std::nullopt;
  const std::string_view rest = std::string_view(name).substr(at + kMarker.size());
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos || rest.size() - dash - 1 != kLetterCount) return std::nullopt;
  for (const char c : rest.substr(dash + 1)) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return std::nullopt;
  }
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + dash, pid);
  if (error != std::errc() || end != rest.data() + dash || pid <= 0) return std::nullopt;
  return pid;
}

int RemoveDeadPartials(const std::string& folder, std::chrono::system_clock::time_point olderThan) {
  if (folder.empty()) return 0;  // no folder set: not the current one either
  const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
  if (!listing) return 0;
  std::vector<std::pair<std::string, pid_t>> partials;
  while (const dirent* entry = ::readdir(listing.get())) {
    if (const std::optional<pid_t> owner = PartialOwner(entry->d_name)) partials.emplace_back(entry->d_name, *owner);
  }
  const int folderFd = ::dirfd(listing.get());
  const std::int64_t cutoff =
      std::chrono::duration_cast<std::chrono::nanoseconds>(olderThan.time_since_epoch()).count();
  int removed = 0;
  for (const auto& [name, owner] : partials) {
    struct stat info {};
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) continue;
    if (Nanoseconds(info.st_mtim) >= cutoff || OwnerMayLive(owner, info.st_mtim.tv_sec)) continue;
    // The owner's lock is the last word: held, the partial is still being
    // written (by a process elsewhere on a shared folder, say).
    const int fd = ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlinkat(folderFd, name.c_str(), 0) == 0) ++removed;
    ::close(fd);
  }
  return removed;
}

PartialOutput::PartialOutput(OutputTarget target) : target_(std::move(target)) {
  std::string where = target_.Path;
  if (target_.ReplaceFile) {
    if (const std::string refusal = RefusalOfTarget(where); !refusal.empty()) throw MediaError(refusal);
    where = FollowLink(where);
  }
  const fs::path resolved(where);
  folder_ = resolved.parent_path().empty() ? std::string(".") : resolved.parent_path().string();
  RemoveDeadPartials(folder_, std::chrono::system_clock::now());
  for (int attempt = 0; fd_ < 0; ++attempt) {
    path_ = (fs::path(folder_) / PartialName(resolved.filename().string(), ::getpid(), RandomLetters())).string();
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && (errno != EEXIST || attempt >= kMaxClashes)) Fail("Cannot create " + target_.Path, errno);
  }
  // File systems without locks still get their partial; only the next job's
  // clean-up loses one of its checks.
  ::flock(fd_, LOCK_EX | LOCK_NB);
}

PartialOutput::~PartialOutput() {
  if (!committed_) ::unlink(path_.c_str());
  ::close(fd_);
}

std::string PartialOutput::Commit() {
  // A full disk shows here at the latest, before anything has its name.
  if (::fsync(fd_) != 0) Fail("Cannot finish " + target_.Path, errno);
  std::string target = target_.Path;
  for (int clashes = 0;; ++clashes) {
    if (Place(target) == 0) break;
    const int error = errno;
    if (error != EEXIST || !target_.NextFreeName || clashes >= kMaxClashes)
      Fail("Cannot give the new video the name " + target, error);
    target = target_.NextFreeName();
  }
  committed_ = true;
  const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);  // the new name survives a power loss too
    ::close(folder);
  }
  return target;
}

int PartialOutput::Place(const std::string& target) {
  if (!target_.ReplaceFile) return MoveWithoutReplacing(path_, target);
  // Whatever has come to stand there meanwhile is looked at again.
  if (const std::string refusal = RefusalOfTarget(target); !refusal.empty()) throw MediaError(refusal);
  const std::string file = FollowLink(target);
  struct stat replaced {};
  if (::stat(file.c_str(), &replaced) == 0) ::fchmod(fd_, replaced.st_mode & 07777);
  return ::rename(path_.c_str(), file.c_str());
}

}  // namespace orlisk
