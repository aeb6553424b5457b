#include "app/ui/Application.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QWindow>

#include "app/ui/CommandActions.h"
#include "app/ui/SubtitleFontDialog.h"

namespace orlisk {
namespace {

// The top-level widget a key press is on its way to. The press arrives first
// at the window's QWindow, then at the focused widget inside it.
QWidget* TargetWindow(QObject* receiver) {
  if (auto* widget = qobject_cast<QWidget*>(receiver)) return widget->window();
  if (auto* window = qobject_cast<QWindow*>(receiver)) {
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
      if (topLevel->windowHandle() == window) return topLevel;
    }
  }
  return nullptr;
}

// The file, font and colour dialogs stand in for the system's own, which run
// a loop of their own: the function keys do not reach the commands from them.
// A command started there (Play from inside Open Video's own dialog, say)
// would run in the middle of the command that opened the dialog.
bool IsSystemDialog(const QWidget* window) {
  return qobject_cast<const QFileDialog*>(window) || qobject_cast<const QFontDialog*>(window) ||
         qobject_cast<const QColorDialog*>(window) || qobject_cast<const SubtitleFontDialog*>(window);
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  lastNet_.run([&] {
    if (event->type() != QEvent::KeyPress || event == keyInDelivery_) {
      handled = QApplication::notify(receiver, event);
      return;
    }
    QEvent* outer = keyInDelivery_;
    keyInDelivery_ = event;
    struct Restore {
      QEvent*& slot;
      QEvent* previous;
      ~Restore() { slot = previous; }
    } restore{keyInDelivery_, outer};
    if (!IsSystemDialog(TargetWindow(receiver))) handleKeyPress(event);
    handled = QApplication::notify(receiver, event);
  });
  return handled;
}

void Application::handleKeyPress(QEvent* event) {
  if (!commands_) return;
  const auto* key = static_cast<QKeyEvent*>(event);
  commands_->triggerFunctionKey(key->key(), key->modifiers());
}

}  // namespace orlisk
