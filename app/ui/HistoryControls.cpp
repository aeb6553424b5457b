#include "app/ui/HistoryControls.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QWidget>

#include "app/core/WindowTitle.h"

namespace orlisk {

HistoryControls::HistoryControls(HistoryControlsParts parts)
    : parts_(std::move(parts)) {
  parts_.ListMenu.addSeparator();
  undo_ = parts_.ListMenu.addAction(QStringLiteral("Undo"));
  redo_ = parts_.ListMenu.addAction(QStringLiteral("Redo"));
  undo_->setObjectName(QStringLiteral("Undo1"));
  redo_->setObjectName(QStringLiteral("Redo1"));
  undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  // The keys work wherever the focus is in the main window, the list's menu
  // closed or open.
  for (QAction* action : {undo_, redo_}) {
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    parts_.Window.addAction(action);
  }
  // Typing goes on at the end of the restored text, not before it.
  const auto thenCursorAtEnd = [this](const std::function<void()>& command) {
    command();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(&parts_.Memo)) memo->moveCursor(QTextCursor::End);
  };
  connect(undo_, &QAction::triggered, this, [this, thenCursorAtEnd] { thenCursorAtEnd(parts_.Undo); });
  connect(redo_, &QAction::triggered, this, [this, thenCursorAtEnd] { thenCursorAtEnd(parts_.Redo); });

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
  undo_->setText(QString::fromStdString(language.text("Undo", "Caption", "Undo")));
  redo_->setText(QString::fromStdString(language.text("Redo", "Caption", "Redo")));
  untitledName_ = language.text("WindowTitle", "Untitled", "Untitled");
  Refresh();
}

void HistoryControls::Refresh() {
  undo_->setEnabled(parts_.History.canUndo());
  redo_->setEnabled(parts_.History.canRedo());
  const QString title = QString::fromStdString(
      MainWindowTitle(parts_.ApplicationTitle, untitledName_, parts_.State.SubtitlePath, parts_.State.Document));
  if (parts_.Window.windowTitle() != title) parts_.Window.setWindowTitle(title);
}

QAction* HistoryControls::ActionFor(QKeyCombination pressed) const {
  for (QAction* action : {undo_, redo_}) {
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
    const bool ownEdit = action == undo_ ? box->isUndoAvailable() : box->isRedoAvailable();
    if (ownEdit) return QObject::eventFilter(watched, event);
  }
  // Not accepted: the window's shortcut gets the key, not the control.
  return true;
}

}  // namespace orlisk
