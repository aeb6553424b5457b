#pragma once
// Recovery after a crash: at start, the journals that runs which did not end
// cleanly left in the data folder (files/LeftJournals.h) are looked at, the
// user is asked whether to restore the subtitles of the newest one that holds
// unsaved work, and on Yes the list is put back exactly as the journal has it
// (times, texts, places, styles), with its video opened again.
#include <optional>
#include <string>

#include "CommandBasics.h"
#include "PlaybackCommands.h"
#include "Seams.h"
#include "files/LeftJournals.h"

namespace orlisk {

// "2026-12-08 01:55:07": a journal's wall-clock time in the local time zone.
std::string LocalTimeText(std::int64_t wallTimeMs);

class RecoveryCommands {
 public:
  struct Context {
    const CommandBasics& Basics;  // state, data folder, language, message boxes
    DocumentHistory& History;     // starts afresh from a restored list
    SubtitleListSelection& List;
    PlaybackCommands& Playback;   // opens the journal's video again
  };
  explicit RecoveryCommands(Context context) : c_(context) {}

  // Run at start, before this run starts a journal of its own:
  // - a journal that holds unsaved work: the question "RecoverJournal" with
  //   the video, the time of the last change and the number of subtitles;
  //   Yes restores it (the undo history starts from the restored list), No
//   removes it. Only one is restored per start; older
  //   ones wait for the next start.
  // - a journal of a newer or foreign format, or one damaged in its base (the
  //   list its changes build on): a message naming where it was kept
  //   ("<name>.unreadable"); it is never read further or removed.
  // - a journal with nothing to lose (saved, empty): removed silently.
  // Returns the journal that was restored, still on disk: remove it once
  // this run's own journal holds the restored list, so no moment goes by in
  // which no file holds it.
  std::optional<LeftJournal> RecoverFromJournal();

  // The journal could not be written (a full disk, a folder without rights):
  // tells the user, with the reason, that a crash would now lose work.
  void JournalWriteFailed(const std::string& reason) const;

 private:
  // The message for a journal that is kept aside unread; empty for one that can be read.
  std::string UnreadableReason(JournalReadStatus status) const;
  bool AskToRestore(const JournalContents& contents) const;
  void Restore(const JournalContents& contents);

  Context c_;
};

}  // namespace orlisk
