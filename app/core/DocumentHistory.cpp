#include "DocumentHistory.h"

#include <algorithm>
#include <utility>

namespace orlisk {
namespace {

bool SameWork(const SubtitleEntry& a, const SubtitleEntry& b) {
  if (a.Tag == b.Tag) return a == b;  // the usual case, without copying the text
  SubtitleEntry untagged = a;
  untagged.Tag = b.Tag;
  return untagged == b;
}

// Whether the document still holds `snapshot`'s work; it runs after every
// command, Timer1's ticks included, so it compares in place instead of
// copying the list.
bool Holds(const SubtitleDocument& document, const DocumentSnapshot& snapshot) {
  if (document.rows() != snapshot.Rows) return false;
  const std::vector<SubtitleEntry>& entries = document.entries();
  for (std::size_t i = 0; i < snapshot.Entries.size(); ++i) {
    const SubtitleEntry blank;
    if (!SameWork(i < entries.size() ? entries[i] : blank, snapshot.Entries[i])) return false;
  }
  return true;
}

bool IsOneSubtitleEdit(const DocumentSplice& change) { return change.RemovedCount == 1 && change.Rows.size() == 1; }

}  // namespace

std::size_t ApproximateBytes(const DocumentSplice& change) {
  std::size_t bytes = sizeof(DocumentSplice);
  for (const SubtitleRow& row : change.Rows) bytes += sizeof(SubtitleRow) + row.Time.size() + row.Subtitle.size();
  for (const SubtitleEntry& entry : change.Entries) bytes += sizeof(SubtitleEntry) + entry.Text.size();
  return bytes;
}

DocumentHistory::DocumentHistory(SubtitleDocument& document, std::size_t stepLimit, std::size_t byteLimit)
    : document_(document),
      stepLimit_(std::max<std::size_t>(stepLimit, 1)),
      byteLimit_(byteLimit),
      last_(DocumentSnapshot::Of(document)) {}

void DocumentHistory::addObserver(DocumentChangeObserver& observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end()) observers_.push_back(&observer);
}

void DocumentHistory::removeObserver(DocumentChangeObserver& observer) { std::erase(observers_, &observer); }

void DocumentHistory::startFresh() {
  Forget(undo_);
  Forget(redo_);
  runOpen_ = false;
  last_ = DocumentSnapshot::Of(document_);
  const std::vector<DocumentChangeObserver*> observers = observers_;
  for (DocumentChangeObserver* observer : observers) observer->historyStarted(last_);
}

void DocumentHistory::saved() {
  recordChanges(CommandKind::UserAction);
  const std::vector<DocumentChangeObserver*> observers = observers_;
  for (DocumentChangeObserver* observer : observers) observer->documentSaved(last_);
}

void DocumentHistory::runCommand(CommandKind kind, const std::function<void()>& command) {
  ++depth_;
  try {
    command();
  } catch (...) {
    // What the command changed before it failed is still the user's work.
    if (--depth_ == 0) recordChanges(kind);
    throw;
  }
  if (--depth_ == 0) recordChanges(kind);
}

void DocumentHistory::recordChanges(CommandKind kind) {
  if (kind == CommandKind::UserAction) runOpen_ = false;
  if (Holds(document_, last_)) return;
  DocumentSnapshot now = DocumentSnapshot::Of(document_);
  std::optional<DocumentSplice> change = SpliceBetween(last_, now);
  if (!change) {
    last_ = std::move(now);  // only bookkeeping moved
    return;
  }
  if (!undo_.empty() && Joins(undo_.back(), kind, *change)) {
    Step& top = undo_.back();
    bytes_ -= top.Bytes;
    top.Forward = *change;  // the same subtitle again: its first state stays in Backward
    top.Bytes = ApproximateBytes(top.Forward) + ApproximateBytes(top.Backward);
    bytes_ += top.Bytes;
    Forget(redo_);
  } else {
    Step step{.Forward = *change, .Backward = InverseOf(*change, last_), .Kind = kind};
    step.Bytes = ApproximateBytes(step.Forward) + ApproximateBytes(step.Backward);
    Forget(redo_);
    Push(std::move(step));
  }
  runOpen_ = kind == CommandKind::Typing || kind == CommandKind::PlacementDrag;
  last_ = std::move(now);
  TellChanged(*change);
}

std::optional<DocumentSplice> DocumentHistory::undo() { return Move(undo_, redo_, false); }

std::optional<DocumentSplice> DocumentHistory::redo() { return Move(redo_, undo_, true); }

std::optional<DocumentSplice> DocumentHistory::Move(std::deque<Step>& from, std::deque<Step>& to, bool forward) {
  recordChanges(CommandKind::UserAction);
  runOpen_ = false;
  if (from.empty()) return std::nullopt;
  Step step = std::move(from.back());
  from.pop_back();
  const DocumentSplice applied = forward ? step.Forward : step.Backward;
  ApplySplice(document_, applied);
  ApplySplice(last_, applied);
  to.push_back(std::move(step));
  TellChanged(applied);
  return applied;
}

bool DocumentHistory::Joins(const Step& top, CommandKind kind, const DocumentSplice& change) const {
  return runOpen_ && top.Kind == kind && (kind == CommandKind::Typing || kind == CommandKind::PlacementDrag) &&
         IsOneSubtitleEdit(top.Forward) && IsOneSubtitleEdit(change) && top.Forward.First == change.First;
}

void DocumentHistory::Push(Step step) {
  bytes_ += step.Bytes;
  undo_.push_back(std::move(step));
  while (undo_.size() > 1 && (undo_.size() > stepLimit_ || bytes_ > byteLimit_)) {
    bytes_ -= undo_.front().Bytes;
    undo_.pop_front();
  }
}

void DocumentHistory::Forget(std::deque<Step>& steps) {
  for (const Step& step : steps) bytes_ -= step.Bytes;
  steps.clear();
}

void DocumentHistory::TellChanged(const DocumentSplice& change) {
  const std::vector<DocumentChangeObserver*> observers = observers_;
  for (DocumentChangeObserver* observer : observers) observer->documentChanged(change, last_);
}

}  // namespace orlisk
