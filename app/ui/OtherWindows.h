#pragma once
// The windows besides the main window. All are created at start, right after
// the main window, and live until the program ends; they are only shown and
// hidden. Their controls arrive with the features they belong to.
#include <QDialog>

namespace orlisk {

// Subtitle style: font, colours, outline.
class Tfm_setfont : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_setfont(QWidget* parent);
};

// Output settings for writing subtitles into a video.
class Tfm_set : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_set(QWidget* parent);
};

// The output folder.
class Tfm_dir : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_dir(QWidget* parent);
};

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
