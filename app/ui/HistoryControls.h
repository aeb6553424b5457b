#pragma once
// The undo and redo items of the subtitle list's popup menu with their keys
// (Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y), and the window title with the subtitle
// file's name (or "Untitled") and its "*": both follow the list's history as
// one of its observers, so they are right after every command, undo, read and
// save.
#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "app/core/DocumentHistory.h"
#include "app/core/MainState.h"
#include "app/language/Language.h"

class QAction;
class QLineEdit;
class QMenu;
class QWidget;

namespace orlisk {

struct HistoryControlsParts {
  QWidget& Window;  // takes the title and the keys
  QMenu& ListMenu;  // the items go at its end
  QWidget& Memo;    // ed_text: its own undo keys give way to the list's
  // ed_Starttime and ed_Endtime: they keep the keys only while they have an
  // edit of their own to undo or redo.
  std::vector<QLineEdit*> TimeBoxes;
  const MainState& State;
  DocumentHistory& History;
  std::function<void()> Undo;  // run as commands of the window
  std::function<void()> Redo;
  std::string ApplicationTitle;
};

// Lives no longer than the history it observes.
class HistoryControls : public QObject, public DocumentChangeObserver {
  Q_OBJECT
 public:
  explicit HistoryControls(HistoryControlsParts parts);
  ~HistoryControls() override;

  // Captions from the language file: key "Caption" of sections "Undo" and
  // "Redo", and the title's name of a list without a file ("WindowTitle"/"Untitled").
  void ApplyCaptions(const Language& language);
  // Title and items as the history and the list are now.
  void Refresh();

  QAction& undoAction() { return *undo_; }
  QAction& redoAction() { return *redo_; }

  void historyStarted(const DocumentSnapshot&) override { Refresh(); }
  void documentChanged(const DocumentSplice&, const DocumentSnapshot&) override { Refresh(); }
  void documentSaved(const DocumentSnapshot&) override { Refresh(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The undo or redo action whose key `pressed` is, if any.
  QAction* ActionFor(QKeyCombination pressed) const;

  HistoryControlsParts parts_;
  QAction* undo_;
  QAction* redo_;
  std::string untitledName_ = "Untitled";
};

}  // namespace orlisk
