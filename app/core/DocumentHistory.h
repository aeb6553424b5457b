#pragma once
// The one place that follows the subtitle list's changes: it keeps the list as
// it was after the last command, finds what each command changed by comparing
// (so commands need no bookkeeping), keeps the undo and redo steps, and tells
// its observers (the window's title, the recovery journal) of every change.
//
// The window runs every command through runCommand. Commands that run inside
// another one (a signal a command sets off, the buttons of a modal dialog, a
// handler under the write job's event processing) join the outermost one, so
// a command is one step however it reached the list.
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "subtitles/DocumentChange.h"
#include "subtitles/SubtitleDocument.h"

namespace orlisk {

// What started a command, which decides how its change joins the history.
enum class CommandKind {
  UserAction,     // a button, key, menu item, list click: one step, and it ends a run
  Typing,         // the memo's text changed: a run of typing into one subtitle is one step
  PlacementDrag,  // the picture's mouse moves: one drag of the subtitle's place is one step
  Background,     // Timer1, the sound feed, the update check: ends no run
};

class DocumentHistory {
 public:
  // Older steps are forgotten beyond either limit; the newest step is always
  // kept, so even a clear of a huge list stays one undo away.
  static constexpr std::size_t kDefaultStepLimit = 200;
  static constexpr std::size_t kDefaultByteLimit = 64u << 20;

  explicit DocumentHistory(SubtitleDocument& document, std::size_t stepLimit = kDefaultStepLimit,
                           std::size_t byteLimit = kDefaultByteLimit);
  DocumentHistory(const DocumentHistory&) = delete;
  DocumentHistory& operator=(const DocumentHistory&) = delete;

  // Observers hear of every change from their registration on; an observer
  // must be removed before it goes.
  void addObserver(DocumentChangeObserver& observer);
  void removeObserver(DocumentChangeObserver& observer);

  // Forgets every step and starts from the list as it is now (the editor
  // started, a file was read, a video was opened, a journal was restored).
  void startFresh();
  // The list as it is now was saved.
  void saved();

  // Runs `command`; once the outermost command ends, what it changed is
  // recorded as a step (or joins the open run, see CommandKind).
  void runCommand(CommandKind kind, const std::function<void()>& command);
  // Records what changed since the last record, as runCommand does at the
  // end of an outermost command.
  void recordChanges(CommandKind kind);

  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  std::size_t undoCount() const { return undo_.size(); }
  std::size_t redoCount() const { return redo_.size(); }
  // What the steps hold, near enough (see ApproximateBytes).
  std::size_t heldBytes() const { return bytes_; }

  // Puts the list back as it was before the newest step (or as it was after
  // the step undone last) and returns the splice applied to it; nothing when
  // there is no step. Unrecorded changes are recorded first.
  std::optional<DocumentSplice> undo();
  std::optional<DocumentSplice> redo();

 private:
  struct Step {
    DocumentSplice Forward;
    DocumentSplice Backward;
    CommandKind Kind = CommandKind::UserAction;
    std::size_t Bytes = 0;
  };

  bool Joins(const Step& top, CommandKind kind, const DocumentSplice& change) const;
  void Push(Step step);
  void Forget(std::deque<Step>& steps);
  std::optional<DocumentSplice> Move(std::deque<Step>& from, std::deque<Step>& to, bool forward);
  void TellChanged(const DocumentSplice& change);

  SubtitleDocument& document_;
  const std::size_t stepLimit_;
  const std::size_t byteLimit_;
  DocumentSnapshot last_;        // the list after the last record
  std::deque<Step> undo_;        // newest at the back
  std::deque<Step> redo_;        // the step to redo next at the back
  std::size_t bytes_ = 0;        // what undo_ and redo_ hold
  bool runOpen_ = false;         // the newest step may still take a typing or drag change
  int depth_ = 0;                // commands running inside each other
  std::vector<DocumentChangeObserver*> observers_;
};

// How much memory a change holds, near enough for a limit.
std::size_t ApproximateBytes(const DocumentSplice& change);

}  // namespace orlisk
