#include "RecoveryCommands.h"

#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

namespace orlisk {

namespace fs = std::filesystem;

std::string LocalTimeText(std::int64_t wallTimeMs) {
  const std::time_t seconds = static_cast<std::time_t>(wallTimeMs / 1000);
  std::tm local{};
  if (::localtime_r(&seconds, &local) == nullptr) return std::to_string(wallTimeMs);
  char text[32];
  if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local) == 0) return std::to_string(wallTimeMs);
  return text;
}

std::optional<LeftJournal> RecoveryCommands::RecoverFromJournal() {
  std::optional<LeftJournal> restored;
  for (LeftJournal& journal : ClaimLeftJournals(c_.Basics.Paths.DataFolder)) {
    const JournalContents& contents = journal.contents();
    if (const std::string why = UnreadableReason(contents.Status); !why.empty()) {
      const fs::path kept = journal.setAside();
      c_.Basics.Messages.information(why + "\n" + kept.string());
      continue;
    }
    if (!contents.HoldsUnsavedWork) {
      journal.remove();
      continue;
    }
    if (restored) continue;  // one restore per start; this one waits for the next
    if (!AskToRestore(contents)) {
      journal.remove();
      continue;
    }
    Restore(contents);
    restored = std::move(journal);
  }
  return restored;
}

std::string RecoveryCommands::UnreadableReason(JournalReadStatus status) const {
  const Language& lang = c_.Basics.Lang;
  switch (status) {
    case JournalReadStatus::Newer:
      return lang.MessageText("RecoverJournalNewer",
                              "A recovery journal was written by a newer version of the editor and cannot be read "
                              "by this one. It was kept as:");
    case JournalReadStatus::Foreign:
      return lang.MessageText("RecoverJournalForeign",
                              "A file among the recovery journals is not a journal this editor can read. It was "
                              "kept as:");
    case JournalReadStatus::DamagedBase:
      return lang.MessageText("RecoverJournalDamagedBase",
                              "A recovery journal is damaged at its start, so nothing could be restored from it. "
                              "It was kept as:");
    default:
      return {};
  }
}

bool RecoveryCommands::AskToRestore(const JournalContents& contents) const {
  const Language& lang = c_.Basics.Lang;
  std::string text = lang.MessageText("RecoverJournal",
                                      "The editor did not close properly last time. Restore the subtitles you "
                                      "were working on?");
  text += "\n\n" + lang.MessageText("RecoverJournalVideo", "Video:") + " " +
          (contents.VideoPath.empty() ? lang.MessageText("RecoverJournalNoVideo", "(no video)")
                                      : contents.VideoPath);
  text += "\n" + lang.MessageText("RecoverJournalTime", "Last change:") + " " + LocalTimeText(contents.LastChangeMs);
  text += "\n" + lang.MessageText("RecoverJournalCount", "Subtitles:") + " " +
          std::to_string(contents.Subtitles.Rows.size());
  if (contents.Status == JournalReadStatus::Damaged) {
    text += "\n\n" + lang.MessageText("RecoverJournalDamaged",
                                      "The end of the journal is damaged; the subtitles are restored as they were "
                                      "before the damage.");
  }
  return c_.Basics.Messages.informationQuestion(text);
}

void RecoveryCommands::Restore(const JournalContents& contents) {
  MainState& s = c_.Basics.State;
  // The video first: opening one empties the list, so the subtitles go in
  // after it. A video that is gone or cannot be opened any more does not
  // keep the subtitles from coming back; they can be saved without it.
  std::error_code error;
  if (!contents.VideoPath.empty() && fs::is_regular_file(contents.VideoPath, error)) {
    c_.Playback.OpenVideoFile(contents.VideoPath);
  }
  c_.List.selectRow(-1);
  DocumentSnapshot subtitles = contents.Subtitles;
  s.Document.replaceAll(std::move(subtitles.Rows), std::move(subtitles.Entries));
  // Not marked saved: the restored work is in no file yet, and closing
  // offers to save it.
  s.SubtitleCursor = s.Document.rowCount();
  s.AtHand.Release();
  c_.History.startFresh();
}

void RecoveryCommands::JournalWriteFailed(const std::string& reason) const {
  c_.Basics.Messages.information(
      c_.Basics.Lang.MessageText("RecoverJournalWriteFailed",
                                 "The recovery journal cannot be written, so a crash now would lose your latest "
                                 "changes. Please save the subtitles.") +
      "\n\n" + reason);
}

}  // namespace orlisk
