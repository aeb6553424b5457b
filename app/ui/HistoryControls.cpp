#include "app/ui/HistoryControls.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include "app/core/WindowTitle.h"

namespace orlisk {

HistoryControls::HistoryControls(HistoryControlsParts parts)
    : parts_(std::move(parts)) {
  // The memo would take the keys for an undo of its own, which knows nothing
  // of the list; a run of typing is undone as a step of the list instead.
  if (auto* memo = qobject_cast<QPlainTextEdit*>(&parts_.Memo)) memo->setUndoRedoEnabled(false);
  parts_.Memo.installEventFilter(this);
  for (QLineEdit* box : parts_.TimeBoxes) box->installEventFilter(this);

  parts_.History.addObserver(*this);
  Refresh();
}

HistoryControls::~HistoryControls() { parts_.History.removeObserver(*this); }

void HistoryControls::ApplyCaptions(const Language& language) {
  untitledName_ = language.text("WindowTitle", "Untitled", "Untitled");
  Refresh();
}

void HistoryControls::Refresh() {
  const QString title = QString::fromStdString(
      MainWindowTitle(parts_.ApplicationTitle, untitledName_, parts_.State.SubtitlePath, parts_.State.Document));
  if (parts_.Window.windowTitle() != title) parts_.Window.setWindowTitle(title);
}

QAction* HistoryControls::ActionFor(QKeyCombination pressed) const {
  for (QAction* action : {&parts_.Undo, &parts_.Redo}) {
    for (const QKeySequence& shortcut : action->shortcuts()) {
      if (shortcut.count() == 1 && shortcut[0] == pressed) return action;
    }
  }
  return nullptr;
}

bool HistoryControls::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return QObject::eventFilter(watched, event);
  QAction* action = ActionFor(static_cast<QKeyEvent*>(event)->keyCombination());
  if (!action) return QObject::eventFilter(watched, event);
  if (auto* box = qobject_cast<QLineEdit*>(watched)) {
    const bool ownEdit = action == &parts_.Undo ? box->isUndoAvailable() : box->isRedoAvailable();
    if (ownEdit) return QObject::eventFilter(watched, event);
  }
  // Not accepted: the window's shortcut gets the key, not the control.
  return true;
}

}  // namespace orlisk
