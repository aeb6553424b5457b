#pragma once
// One QAction per row of the command table, and every road to it: the menus'
// items, the shortcuts (anywhere in the main window), the skin's clicks and
// the function keys (which the application object hands over from every
// window). Whether a command is enabled is decided here alone, from the
// table's rule, at the moment it is asked: a disabled command does nothing
// from any road and shows greyed in its menu.
#include <QObject>
#include <QString>
#include <functional>
#include <span>
#include <vector>

#include "app/ui/CommandTable.h"

class QAction;
class QMenu;
class QWidget;

namespace orlisk {

class Language;

struct CommandMenus {
  QMenu& File;  // PopupMenu_File
  QMenu& List;  // PopupMenu_tools
  QMenu& Help;  // PopupMenu_help
  QMenu* Timing = nullptr;  // PopupMenu_timing, under the list's menu; none: its rows have keys only
};

class CommandActions : public QObject {
  Q_OBJECT
 public:
  // Runs a row's command; the window runs it through its command runner.
  using Runner = std::function<void(const CommandRow&)>;
  using Conditions = std::function<CommandConditions()>;

  // The actions become the window's (its shortcuts act wherever its focus is)
  // and the menus' items, in the table's order.
  CommandActions(QWidget& window, const CommandMenus& menus, Conditions conditions, Runner runner,
                 std::span<const CommandRow> rows = MainWindowCommands());

  // The action of the row named `name`, or null.
  QAction* action(const char* name) const;

  // A click on the skin object `name`: true when it is a command's (run when
  // enabled). The playbar, panels, labels and texts are not.
  bool triggerSkinObject(const QString& name);
  // A press of `key`: F1..F8 run their commands; Shift and Ctrl are not
  // looked at, and every auto-repeated press counts. A press with Alt held is
  // left alone (Alt+F4 is the window manager's). True when a command's key.
  bool triggerFunctionKey(int key, Qt::KeyboardModifiers modifiers);

  // Every action's enabled state as the conditions are now. The window calls
  // it after every command; menus call it as they open.
  void refresh();
  // Captions of the rows with a section of their own; the others are the
  // window's (ApplyWindowCaptions, by the action's name).
  void applyCaptions(const Language& language);

 private:
  bool trigger(std::size_t row);
  bool enabled(const CommandRow& row, const CommandConditions& now) const;

  std::span<const CommandRow> rows_;
  std::vector<QAction*> actions_;  // one per row, same order
  Conditions conditions_;
  Runner runner_;
};

}  // namespace orlisk
