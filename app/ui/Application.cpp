#include "app/ui/Application.h"

#include <QKeyEvent>

#include "app/ui/FunctionKeys.h"

namespace orlisk {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    if (event->type() != QEvent::KeyPress || event == keyInDelivery_) {
      return QApplication::notify(receiver, event);
    }
    QEvent* outer = keyInDelivery_;
    keyInDelivery_ = event;
    struct Restore {
      QEvent*& slot;
      QEvent* previous;
      ~Restore() { slot = previous; }
    } restore{keyInDelivery_, outer};
    handleKeyPress(event);
    return QApplication::notify(receiver, event);
  } catch (...) {
    reportException();
    return false;
  }
}

void Application::handleKeyPress(QEvent* event) {
  if (!commands_) return;
  const auto* key = static_cast<QKeyEvent*>(event);
  HandleAppKeyDown(key->key(), key->modifiers(), *commands_);
}

void Application::reportException() {
  // A failing timer keeps failing while the question is open; one question at
  // a time keeps the screen from filling with boxes.
  if (handlingException_ || !exceptionHandler_) return;
  handlingException_ = true;
  try {
    exceptionHandler_();
  } catch (...) {
    // The save offered by the handler failed too; the loop carries on.
  }
  handlingException_ = false;
}

}  // namespace orlisk
