#include "app/ui/WindowCaptions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

#include "app/language/Language.h"

namespace orlisk {
namespace {

// The window a control belongs to; a menu counts as part of the window that
// owns it, a dialog as a window of its own.
const QWidget* OwningWindow(const QObject* object) {
  for (const QObject* at = object->parent(); at; at = at->parent()) {
    const auto* widget = qobject_cast<const QWidget*>(at);
    if (!widget || qobject_cast<const QMenu*>(widget)) continue;
    if (widget->isWindow()) return widget;
  }
  return nullptr;
}

class CaptionLookup {
 public:
  CaptionLookup(const QWidget& window, const Language& language)
      : section_(window.objectName().toStdString()), language_(language) {}

  // The looked-up caption, or the one the control already has.
  QString operator()(const QString& key, const QString& current) const {
    if (key.isEmpty() || section_.empty()) return current;
    return QString::fromStdString(language_.text(section_, key.toStdString(), current.toStdString()));
  }

 private:
  std::string section_;
  const Language& language_;
};

}  // namespace

void ApplyWindowCaptions(QWidget& window, const Language& language) {
  const CaptionLookup caption(window, language);
  window.setWindowTitle(caption(QStringLiteral("Caption"), window.windowTitle()));

  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (OwningWindow(control) != &window) continue;
    const QString key = control->objectName();
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      button->setText(caption(key, button->text()));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
      if (!label->text().isEmpty()) label->setText(caption(key, label->text()));
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
      group->setTitle(caption(key, group->title()));
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
      for (int item = 0; item < list->count(); ++item)
        list->setItemText(item, caption(key + QStringLiteral("Item") + QString::number(item), list->itemText(item)));
    } else if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
      for (int page = 0; page < tabs->count(); ++page)
        tabs->setTabText(page, caption(tabs->widget(page)->objectName(), tabs->tabText(page)));
    }
  }
  for (QAction* action : window.findChildren<QAction*>()) {
    if (OwningWindow(action) != &window || action->isSeparator()) continue;
    action->setText(caption(action->objectName(), action->text()));
  }
}

DialogCaptionsOnShow::DialogCaptionsOnShow(QObject* parent, const Language& language)
    : QObject(parent), language_(language) {
  qApp->installEventFilter(this);
}

bool DialogCaptionsOnShow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog && !dialog->objectName().isEmpty()) ApplyWindowCaptions(*dialog, language_);
  }
  return false;
}

}  // namespace orlisk
