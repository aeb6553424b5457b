#pragma once
// The undo and redo keys (Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y) against the
// controls' own, and the window title with the subtitle file's name (or
// "Untitled") and its "*", which follows the list's history as one of its
// observers, so it is right after every command, undo, read and save.
#include <QObject>
#include <string>
#include <vector>

#include "app/core/DocumentHistory.h"
#include "app/core/MainState.h"
#include "app/language/Language.h"

class QAction;
class QLineEdit;
class QWidget;

namespace orlisk {

struct HistoryControlsParts {
  QWidget& Window;  // takes the title
  QAction& Undo;    // the command table's Undo1 and Redo1 with their keys
  QAction& Redo;
  QWidget& Memo;    // ed_text: its own undo keys give way to the list's
  // ed_Starttime and ed_Endtime: they keep the keys only while they have an
  // edit of their own to undo or redo.
  std::vector<QLineEdit*> TimeBoxes;
  const MainState& State;
  DocumentHistory& History;
  std::string ApplicationTitle;
};

// Lives no longer than the history it observes.
class HistoryControls : public QObject, public DocumentChangeObserver {
  Q_OBJECT
 public:
  explicit HistoryControls(HistoryControlsParts parts);
  ~HistoryControls() override;

  // The title's name of a list without a file ("WindowTitle"/"Untitled").
  void ApplyCaptions(const Language& language);
  // The title as the list is now.
  void Refresh();

  void historyStarted(const DocumentSnapshot&) override { Refresh(); }
  void documentChanged(const DocumentSplice&, const DocumentSnapshot&) override { Refresh(); }
  void documentSaved(const DocumentSnapshot&) override { Refresh(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The undo or redo action whose key `pressed` is, if any.
  QAction* ActionFor(QKeyCombination pressed) const;

  HistoryControlsParts parts_;
  std::string untitledName_ = "Untitled";
};

}  // namespace orlisk
