#pragma once
// The recovery journal a running editor keeps of its subtitle list, so that
// work survives a crash, a kill or a power cut of the session (not of the
// disk's cache: appends are written at once, bases are synced).
//
// The file lives in the user's data folder as "recovery-<pid>-<random>.journal"
// and is locked (flock) for as long as the editor runs, so a second editor
// (the single-instance check can be defeated, e.g. with another temporary
// folder) never mistakes a living editor's journal for one left by a crash.
// Its bytes are described in subtitles/JournalFormat.h.
//
// What is written when:
// - historyStarted: the whole list as a base, older records dropped.
// - documentChanged: one framed change record, appended with one write.
//   When the changes since the base outgrow it (and 4 MB), the journal is
//   rewritten as one base instead, so it stays small in a long session.
// - documentSaved: the whole list as a base marked saved, older records dropped.
// - closeCleanly: the file is removed.
// Rewrites go to "<name>.new", synced and locked, renamed over the journal in
// one step: at every moment the journal on disk holds the work.
//
// A failing write never stops the editor: the journal reports the first
// failure through `WriteFailed`, and tries a whole rewrite at the next change
// until one succeeds.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "subtitles/DocumentChange.h"
#include "subtitles/JournalFormat.h"

namespace orlisk {

// what(): "Unable to write to <file>: <reason>".
class JournalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Milliseconds since 1970 by the system clock.
std::int64_t WallClockMs();

class RecoveryJournal : public DocumentChangeObserver {
 public:
  struct Parts {
    std::filesystem::path Folder;                 // the user's data folder
    std::function<std::string()> VideoPath;       // the open video, for the bases
    // Whether the list as it is at historyStarted is what the files on disk
    // hold (a file just read); nothing then to restore until it changes.
    std::function<bool()> MatchesSavedFiles;
    std::function<void(const std::string& message)> WriteFailed;
    std::function<std::int64_t()> Clock = WallClockMs;
    // Bytes of change records after which the journal is rewritten as one
    // base (when they also exceed the base's own size).
    std::size_t CompactAfterBytes = 4u << 20;
  };

  // Makes the folder when missing, creates and locks the journal with its
  // header. Throws JournalError when that cannot be done.
  explicit RecoveryJournal(Parts parts);
  // Closes and unlocks the file but leaves it: an end without closeCleanly
  // is one the next start should offer to recover from.
  ~RecoveryJournal() override;
  RecoveryJournal(const RecoveryJournal&) = delete;
  RecoveryJournal& operator=(const RecoveryJournal&) = delete;

  void historyStarted(const DocumentSnapshot& start) override;
  void documentChanged(const DocumentSplice& change, const DocumentSnapshot& now) override;
  void documentSaved(const DocumentSnapshot& now) override;

  // The editor closes as the user wished: the journal goes.
  void closeCleanly();

  const std::filesystem::path& path() const { return path_; }
  // False after a failed write, until a rewrite succeeds.
  bool healthy() const { return healthy_; }

 private:
  void rewrite(const DocumentSnapshot& snapshot, JournalBaseKind kind);
  void append(const std::string& record);
  void failed(const std::string& reason);

  Parts parts_;
  std::filesystem::path path_;
  int fd_ = -1;
  bool healthy_ = true;
  bool hasBase_ = false;
  std::size_t baseBytes_ = 0;
  std::size_t changeBytes_ = 0;
};

}  // namespace orlisk
