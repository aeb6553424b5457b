#include "app/ui/DesktopShortcuts.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace orlisk {

void GiveDesktopShortcuts(QWidget& window, const FileMenuItems& items) {
  // Fixed keys rather than the platform's standard ones, which some desktops
  // leave empty (Quit) or bind twice.
  items.OpenVideo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  items.OpenSubtitle->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
  items.Save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  items.SaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  items.Exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  // A menu's items answer their keys only while the menu is open; added to
  // the window too, they answer wherever its focus is. A modal dialog or box
  // in front keeps them away, as it keeps the mouse.
  for (QAction* action : {items.OpenVideo, items.OpenSubtitle, items.Save, items.SaveAs, items.Exit}) {
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
  }
}

}  // namespace orlisk
