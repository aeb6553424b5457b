#pragma once
// ed_Starttime and ed_Endtime as the commands see them. The time the program
// puts in a box is its shown time. Enter, or leaving the box with a changed
// text, hands what the user typed to a command, which either takes it (and
// shows it in full) or refuses it; a refused text and Escape bring the shown
// time back, so a box never shows a time that is not the subtitle's.
#include <QObject>
#include <QString>
#include <functional>

#include "app/core/Seams.h"

class QLineEdit;

namespace orlisk {

class TypedTimeBox : public QObject, public TimeEdit {
 public:
  // `apply` runs the command for the box and answers whether it took the
  // typed time. The box watches `edit`, which must outlive it.
  TypedTimeBox(QLineEdit& edit, std::function<bool()> apply);

  std::string text() const override;
  void setText(const std::string& text) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Enter();
  void RestoreShownTime();

  QLineEdit& edit_;
  std::function<bool()> apply_;
  QString shown_;
  // While the command runs, its message boxes take the focus: that is not
  // the user leaving the box.
  bool applying_ = false;
};

}  // namespace orlisk
