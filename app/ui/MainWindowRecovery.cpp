// The main window's part in recovery after a crash: the question at start,
// and this run's own journal from then until a clean close.
#include <QTimer>

#include "app/core/RecoveryCommands.h"
#include "app/ui/MainWindow.h"
#include "app/ui/WidgetSeams.h"
#include "files/RecoveryJournal.h"

namespace orlisk {

void Tfm_main::RecoverAndStartJournal() {
  Run([this] {
    std::optional<LeftJournal> restoredFrom = recovery_->RecoverFromJournal();
    RecoveryJournal::Parts parts;
    parts.Folder = parts_.Paths.DataFolder;
    parts.VideoPath = [this] { return state_.VideoPath; };
    parts.MatchesSavedFiles = [this] { return !state_.Document.hasUnsavedChanges(); };
    // Told after the command that hit the failure has ended, not inside it.
    parts.WriteFailed = [this](const std::string& reason) {
      QTimer::singleShot(0, this, [this, reason] { Run([this, reason] { recovery_->JournalWriteFailed(reason); }); });
    };
    try {
      journal_ = std::make_unique<RecoveryJournal>(std::move(parts));
    } catch (const JournalError& e) {
      // The editor works without a journal; the user knows a crash would lose work.
      recovery_->JournalWriteFailed(e.what());
      return;
    }
    StartJournalling();
    // Only now that this run's journal holds the restored list does the old one go.
    if (restoredFrom && journal_->healthy()) restoredFrom->remove();
  });
}

void Tfm_main::StartJournalling() {
  // The list as it is now is the journal's base; every change the history
  // records from here on is appended to it.
  journal_->historyStarted(DocumentSnapshot::Of(state_.Document));
  controller_->history().addObserver(*journal_);
}

void Tfm_main::CloseJournalCleanly() {
  if (journal_) journal_->closeCleanly();
}

}  // namespace orlisk
