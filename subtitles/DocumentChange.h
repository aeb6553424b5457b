#pragma once
// Changes of the subtitle document as undo and the recovery journal see them.
//
// A change is one splice: the rows [First, First + RemovedCount) were replaced
// by `Rows` (with their `Entries`, one for each). Every edit the list knows
// (insert, remove, clear, a typed text, a new time, a drag, a style) is one
// splice, found by comparing the document before and after a command, so a
// command needs no bookkeeping of its own to be undone or journalled.
#include <optional>
#include <vector>

#include "SubtitleDocument.h"
#include "SubtitleEntry.h"

namespace orlisk {

// The user's work at one moment: the rows and the entries that belong to them.
struct DocumentSnapshot {
  std::vector<SubtitleRow> Rows;
  std::vector<SubtitleEntry> Entries;  // as many as Rows

  static DocumentSnapshot Of(const SubtitleDocument& document);
  bool operator==(const DocumentSnapshot&) const = default;
};

struct DocumentSplice {
  int First = 0;
  int RemovedCount = 0;
  std::vector<SubtitleRow> Rows;
  std::vector<SubtitleEntry> Entries;  // as many as Rows

  bool operator==(const DocumentSplice&) const = default;
};

// The smallest splice that turns `before` into `after`; nothing when they hold
// the same work (an entry's Tag is the editor's bookkeeping and not compared).
std::optional<DocumentSplice> SpliceBetween(const DocumentSnapshot& before, const DocumentSnapshot& after);

// The splice that undoes `change` when applied to the result of applying it to `before`.
DocumentSplice InverseOf(const DocumentSplice& change, const DocumentSnapshot& before);

// Throws std::out_of_range when `change` does not fit a list of `rowCount` rows.
void CheckSpliceFits(const DocumentSplice& change, std::size_t rowCount);

// Applies `change`; throws std::out_of_range when it does not fit (a damaged record).
void ApplySplice(DocumentSnapshot& snapshot, const DocumentSplice& change);
void ApplySplice(SubtitleDocument& document, const DocumentSplice& change);

// Who hears of every change the user makes to the list.
class DocumentChangeObserver {
 public:
  virtual ~DocumentChangeObserver() = default;
  // A fresh history starts from `start`: the editor started, a file was read,
  // a video was opened, or a journal was restored.
  virtual void historyStarted(const DocumentSnapshot& start) = 0;
  // One change, `now` being the work after it (undo and redo report theirs too).
  virtual void documentChanged(const DocumentSplice& change, const DocumentSnapshot& now) = 0;
  // The subtitles were saved as `now`.
  virtual void documentSaved(const DocumentSnapshot& now) = 0;
};

}  // namespace orlisk
