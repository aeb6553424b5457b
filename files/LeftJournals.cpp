#include "files/LeftJournals.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <system_error>
#include <utility>

namespace orlisk {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "recovery-";
constexpr std::string_view kSuffix = ".journal";
constexpr std::string_view kRewriteSuffix = ".journal.new";

bool Named(const std::string& name, std::string_view suffix) {
  return name.starts_with(kPrefix) && name.size() > kPrefix.size() + suffix.size() && name.ends_with(suffix);
}

// Up to kMaxJournalBytes of the file; an error while reading ends it there,
// which reads as damage at that point.
std::string ReadUpToCap(int fd) {
  std::string bytes;
  char buffer[1 << 16];
  while (bytes.size() < kMaxJournalBytes) {
    const std::size_t want = std::min<std::size_t>(sizeof buffer, kMaxJournalBytes - bytes.size());
    const ssize_t got = ::pread(fd, buffer, want, static_cast<off_t>(bytes.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  return bytes;
}

// Opens and locks `path` when no living editor holds it; -1 otherwise.
int ClaimUnheld(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat opened {}, named {};
  // Locked by its editor (or a lock that cannot be had at all: then a living
  // editor cannot be told from a dead one, and its journal is left alone).
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
      // A living editor may have renamed a rewrite over this name since it was opened.
      ::stat(path.c_str(), &named) != 0 || named.st_ino != opened.st_ino || named.st_dev != opened.st_dev) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void RemoveStaleRewrite(const fs::path& path) {
  std::error_code error;
  const auto age = fs::file_time_type::clock::now() - fs::last_write_time(path, error);
  if (error || age < std::chrono::minutes(1)) return;
  const int fd = ClaimUnheld(path);
  if (fd < 0) return;
  ::unlink(path.c_str());
  ::close(fd);
}

}  // namespace

LeftJournal::LeftJournal(fs::path path, int lockedFd, JournalContents contents)
    : path_(std::move(path)), fd_(lockedFd), contents_(std::move(contents)) {}

LeftJournal::LeftJournal(LeftJournal&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), contents_(std::move(other.contents_)) {}

LeftJournal& LeftJournal::operator=(LeftJournal&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
    contents_ = std::move(other.contents_);
  }
  return *this;
}

LeftJournal::~LeftJournal() {
  if (fd_ >= 0) ::close(fd_);
}

void LeftJournal::remove() {
  ::unlink(path_.c_str());
  ::unlink((path_.string() + ".new").c_str());  // a rewrite its editor did not finish
}

fs::path LeftJournal::setAside() {
  fs::path kept = path_.string() + ".unreadable";
  if (::rename(path_.c_str(), kept.c_str()) != 0) return path_;
  return kept;
}

std::vector<LeftJournal> ClaimLeftJournals(const fs::path& folder) {
  std::vector<LeftJournal> found;
  std::error_code error;
  fs::directory_iterator listing(folder, error);
  if (error) return found;
  for (const fs::directory_entry& item : listing) {
    const std::string name = item.path().filename().string();
    if (Named(name, kRewriteSuffix)) {
      RemoveStaleRewrite(item.path());
      continue;
    }
    if (!Named(name, kSuffix)) continue;
    const int fd = ClaimUnheld(item.path());
    if (fd < 0) continue;
    JournalContents contents = ReadJournal(ReadUpToCap(fd));
    found.emplace_back(item.path(), fd, std::move(contents));
  }
  std::stable_sort(found.begin(), found.end(), [](const LeftJournal& a, const LeftJournal& b) {
    return a.contents().LastChangeMs > b.contents().LastChangeMs;
  });
  return found;
}

}  // namespace orlisk
