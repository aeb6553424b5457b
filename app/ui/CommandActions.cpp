#include "app/ui/CommandActions.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <cstring>

#include "app/language/Language.h"

namespace orlisk {
namespace {

QMenu* MenuAt(const CommandMenus& menus, MenuPlace place) {
  switch (place) {
    case MenuPlace::File: return &menus.File;
    case MenuPlace::List: return &menus.List;
    case MenuPlace::Help: return &menus.Help;
    case MenuPlace::Timing: return menus.Timing;
    case MenuPlace::None: break;
  }
  return nullptr;
}

QList<QKeySequence> ShortcutsOf(const CommandRow& row) {
  QList<QKeySequence> shortcuts;
  for (QKeyCombination keys : row.Shortcuts) {
    if (keys.key() != Qt::Key_unknown) shortcuts.append(QKeySequence(keys));
  }
  return shortcuts;
}

}  // namespace

CommandActions::CommandActions(QWidget& window, const CommandMenus& menus, Conditions conditions, Runner runner,
                               std::span<const CommandRow> rows)
    : QObject(&window), rows_(rows), conditions_(std::move(conditions)), runner_(std::move(runner)) {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const CommandRow& row = rows_[i];
    auto* action = new QAction(QString::fromUtf8(row.EnglishCaption), this);
    action->setObjectName(QString::fromLatin1(row.Name));
    connect(action, &QAction::triggered, this, [this, &row] { runner_(row); });
    if (QMenu* menu = MenuAt(menus, row.Menu)) {
      if (row.SeparatorBefore) menu->addSeparator();
      menu->addAction(action);
    }
    const QList<QKeySequence> shortcuts = ShortcutsOf(row);
    if (!shortcuts.isEmpty()) {
      // Fixed keys rather than the platform's standard ones, which some
      // desktops leave empty (Quit) or bind twice. A menu's items answer their
      // keys only while the menu is open; held by the window too, they answer
      // wherever its focus is. A modal dialog in front keeps them away.
      action->setShortcuts(shortcuts);
      action->setShortcutContext(Qt::WindowShortcut);
      action->setShortcutVisibleInContextMenu(true);
      window.addAction(action);
    }
    actions_.push_back(action);
  }
  for (QMenu* menu : {&menus.File, &menus.List, &menus.Help, menus.Timing})
    if (menu) connect(menu, &QMenu::aboutToShow, this, &CommandActions::refresh);
  refresh();
}

QAction* CommandActions::action(const char* name) const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (std::strcmp(rows_[i].Name, name) == 0) return actions_[i];
  }
  return nullptr;
}

bool CommandActions::triggerSkinObject(const QString& name) {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    for (const char* object : rows_[i].SkinObjects) {
      if (object && name == QLatin1StringView(object)) return trigger(i);
    }
  }
  return false;
}

bool CommandActions::triggerFunctionKey(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::AltModifier) return false;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].FunctionKey != 0 && rows_[i].FunctionKey == key) return trigger(i);
  }
  return false;
}

bool CommandActions::trigger(std::size_t row) {
  // Asked now, not when the last command ended: a write job started by that
  // command may still be running (F8 and "stop" act during it).
  const bool on = enabled(rows_[row], conditions_());
  actions_[row]->setEnabled(on);
  if (on) actions_[row]->trigger();
  return true;
}

bool CommandActions::enabled(const CommandRow& row, const CommandConditions& now) const {
  return row.Enabled == nullptr || row.Enabled(now);
}

void CommandActions::refresh() {
  const CommandConditions now = conditions_();
  for (std::size_t i = 0; i < rows_.size(); ++i) actions_[i]->setEnabled(enabled(rows_[i], now));
}

void CommandActions::applyCaptions(const Language& language) {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const CommandRow& row = rows_[i];
    if (row.CaptionSection)
      actions_[i]->setText(QString::fromStdString(language.text(row.CaptionSection, "Caption", row.EnglishCaption)));
  }
}

}  // namespace orlisk
