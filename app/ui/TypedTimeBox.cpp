#include "app/ui/TypedTimeBox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace orlisk {

TypedTimeBox::TypedTimeBox(QLineEdit& edit, std::function<bool()> apply)
    : edit_(edit), apply_(std::move(apply)), shown_(edit.text()) {
  edit_.installEventFilter(this);
  connect(&edit_, &QLineEdit::returnPressed, this, [this] { Enter(); });
}

std::string TypedTimeBox::text() const { return edit_.text().toStdString(); }

void TypedTimeBox::setText(const std::string& text) {
  shown_ = QString::fromStdString(text);
  edit_.setText(shown_);
}

void TypedTimeBox::Enter() {
  applying_ = true;
  const bool taken = apply_();
  applying_ = false;
  if (!taken) RestoreShownTime();
}

void TypedTimeBox::RestoreShownTime() {
  if (edit_.text() != shown_) edit_.setText(shown_);
}

bool TypedTimeBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &edit_ || applying_) return false;
  if (event->type() == QEvent::FocusOut) {
    // Another window coming to the front, or the box's own context menu, is
    // not leaving the box: the typing is still there on return. Leaving it
    // otherwise (Tab, a click elsewhere) takes a typed time as Enter does.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && edit_.text() != shown_) Enter();
  } else if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    RestoreShownTime();
    return true;
  }
  return false;
}

}  // namespace orlisk
