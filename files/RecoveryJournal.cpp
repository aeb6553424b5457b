#include "files/RecoveryJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <system_error>

namespace orlisk {
namespace fs = std::filesystem;

namespace {

std::string SystemReason(int error) { return std::generic_category().message(error); }

// Writes all of `bytes` at the file's end; false with errno set otherwise.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string UniqueName() {
  std::mt19937_64 random{std::random_device{}()};
  char suffix[17];
  std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
  return "recovery-" + std::to_string(::getpid()) + "-" + suffix + ".journal";
}

// A new, locked file at `temporary` holding `bytes`, synced and then renamed
// to `target`: the one step in which the journal's name changes files.
// Returns the open descriptor; throws JournalError.
int WriteLockedAndRename(const fs::path& temporary, const fs::path& target, std::string_view bytes) {
  ::unlink(temporary.c_str());  // what an earlier, failed rewrite of this journal left
  const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) throw JournalError("Unable to write to " + temporary.string() + ": " + SystemReason(errno));
  auto fail = [&](int error) -> int {
    ::close(fd);
    ::unlink(temporary.c_str());
    throw JournalError("Unable to write to " + target.string() + ": " + SystemReason(error));
  };
  // Locked before the name is the journal's, so no other editor ever sees it unlocked.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno != ENOLCK) return fail(errno);
  if (!WriteAll(fd, bytes) || ::fdatasync(fd) != 0) return fail(errno);
  if (::rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);
  SyncFolder(target.parent_path());
  return fd;
}

}  // namespace

std::int64_t WallClockMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

RecoveryJournal::RecoveryJournal(Parts parts) : parts_(std::move(parts)) {
  std::error_code error;
  fs::create_directories(parts_.Folder, error);
  if (error) throw JournalError("Unable to write to " + parts_.Folder.string() + ": " + error.message());
  path_ = parts_.Folder / UniqueName();
  fd_ = WriteLockedAndRename(fs::path(path_.string() + ".new"), path_, JournalHeader());
}

RecoveryJournal::~RecoveryJournal() {
  if (fd_ >= 0) ::close(fd_);
}

void RecoveryJournal::historyStarted(const DocumentSnapshot& start) {
  const bool saved = parts_.MatchesSavedFiles && parts_.MatchesSavedFiles();
  rewrite(start, saved ? JournalBaseKind::Saved : JournalBaseKind::Unsaved);
}

void RecoveryJournal::documentChanged(const DocumentSplice& change, const DocumentSnapshot& now) {
  if (fd_ < 0) return;
  // Without a good base (none yet, or a write failed and left a torn
  // record) a change record would be read as damage: write the whole list.
  if (!healthy_ || !hasBase_) {
    rewrite(now, JournalBaseKind::Unsaved);
    return;
  }
  const std::string record = EncodeJournalChange(change, parts_.Clock());
  if (changeBytes_ + record.size() > parts_.CompactAfterBytes && changeBytes_ + record.size() > baseBytes_) {
    rewrite(now, JournalBaseKind::Unsaved);
    return;
  }
  append(record);
}

void RecoveryJournal::documentSaved(const DocumentSnapshot& now) { rewrite(now, JournalBaseKind::Saved); }

void RecoveryJournal::closeCleanly() {
  if (fd_ < 0) return;
  ::unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
}

void RecoveryJournal::rewrite(const DocumentSnapshot& snapshot, JournalBaseKind kind) {
  if (fd_ < 0) return;
  const std::string video = parts_.VideoPath ? parts_.VideoPath() : std::string();
  const std::string base = EncodeJournalBase(snapshot, video, kind, parts_.Clock());
  try {
    const int fresh = WriteLockedAndRename(fs::path(path_.string() + ".new"), path_, JournalHeader() + base);
    ::close(fd_);  // the old file's name is gone; letting go of it unlocks it
    fd_ = fresh;
  } catch (const JournalError& e) {
    failed(e.what());
    return;
  }
  healthy_ = true;
  hasBase_ = true;
  baseBytes_ = base.size();
  changeBytes_ = 0;
}

void RecoveryJournal::append(const std::string& record) {
  // One write: a kill between two writes cannot leave half a record that
  // looks whole, and the checksum catches a write the disk cut short.
  if (!WriteAll(fd_, record)) {
    failed("Unable to write to " + path_.string() + ": " + SystemReason(errno));
    return;
  }
  changeBytes_ += record.size();
}

void RecoveryJournal::failed(const std::string& reason) {
  const bool wasHealthy = healthy_;
  healthy_ = false;
  if (wasHealthy && parts_.WriteFailed) parts_.WriteFailed(reason);
}

}  // namespace orlisk
