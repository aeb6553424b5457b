#pragma once
// The application object. Every event of the user-interface thread passes
// through notify(), which is where the two application-wide hooks live:
// - the function keys F1..F8 act in every window of the program, modal message
//   boxes included, before the key reaches the focused control (which still
//   gets it); the file, font and colour dialogs are the exception, as the
//   system's own dialogs they stand in for;
// - an exception that escapes any event handler, slot or timer ends there and
//   goes to the error handler, so nothing unwinds into Qt's event loop.
#include <QApplication>
#include <functional>

#include "app/ui/CommandRunner.h"

namespace orlisk {

class CommandActions;

class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);

  // The commands the function keys run; nullptr switches the keys off.
  void setCommands(CommandActions* commands) { commands_ = commands; }
  // Called after an event handler threw, one question at a time. Whatever it
  // throws in turn is dropped.
  void setExceptionHandler(std::function<void()> handler) { lastNet_ = CommandRunner(std::move(handler)); }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void handleKeyPress(QEvent* event);

  CommandActions* commands_ = nullptr;
  // The same runner the commands start through, as the net for any other handler.
  CommandRunner lastNet_{nullptr};
  // The key press being delivered right now. A key event travels from the
  // window to the focused widget and on to its parents as one object, so its
  // address marks a press the hook has already seen.
  QEvent* keyInDelivery_ = nullptr;
};

}  // namespace orlisk
