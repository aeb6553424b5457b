#pragma once
// The windows besides the main window. All are created at start, right after
// the main window, and live until the program ends; they are only shown and
// hidden. The three settings dialogs have files of their own:
// SubtitleStyleDialog.h, OutputSettingsDialog.h, OutputFolderDialog.h.
#include <QDialog>

namespace orlisk {

// About: fixed size, 293 x 208, close box only. Shown modally 160 pixels right
// of and 100 below the main window's top-left corner, wherever that window is.
class Tfm_about : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_about(QWidget* parent);
  void showBeside(const QWidget& mainWindow);
};

// The notice that a newer version exists.
class Tfm_update : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_update(QWidget* parent);
};

}  // namespace orlisk
