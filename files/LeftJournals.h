#pragma once
// Journals that runs of the editor left behind when they did not end cleanly
// (a crash, a kill, a power cut), found at start. A journal whose editor still
// runs stays locked by it and is passed over; one whose editor is gone is
// claimed (locked) by this editor while it decides what to do with it.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "subtitles/JournalFormat.h"

namespace orlisk {

// The most of a journal that is read; anything past it counts as damage.
inline constexpr std::uint64_t kMaxJournalBytes = 256ull << 20;

class LeftJournal {
 public:
  LeftJournal(std::filesystem::path path, int lockedFd, JournalContents contents);
  LeftJournal(LeftJournal&& other) noexcept;
  LeftJournal& operator=(LeftJournal&& other) noexcept;
  LeftJournal(const LeftJournal&) = delete;
  LeftJournal& operator=(const LeftJournal&) = delete;
  ~LeftJournal();  // lets go of the lock; the file stays unless removed

  const std::filesystem::path& path() const { return path_; }
  const JournalContents& contents() const { return contents_; }

  // Restored, declined or empty: the file goes.
  void remove();
  // A journal this editor cannot read is kept for whoever can, under
  // "<name>.unreadable", where no start looks for it again. Returns that name
  // (the old one when renaming failed).
  std::filesystem::path setAside();

 private:
  std::filesystem::path path_;
  int fd_ = -1;
  JournalContents contents_;
};

// Every left journal in `folder`, the one with the latest change first. Also
// clears away the half-made rewrites a killed editor left ("*.journal.new",
// a minute old or more). Never throws: an unreadable folder has none.
std::vector<LeftJournal> ClaimLeftJournals(const std::filesystem::path& folder);

}  // namespace orlisk
