#pragma once
// The windows besides the main window. All are created at start, right after
// the main window, and live until the program ends; they are only shown and
// hidden. The three settings dialogs have files of their own:
// SubtitleStyleDialog.h, OutputSettingsDialog.h, OutputFolderDialog.h.
#include <QDialog>
#include <QLabel>
#include <functional>

class QCheckBox;
class QFrame;
class QPlainTextEdit;
class QPushButton;

namespace orlisk {

class OnlineCommands;

// A label that reads as a web link: blue, red while the mouse is over it,
// with the hand cursor; a left click on it emits clicked().
class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  LinkLabel(const QString& text, QWidget* parent);

 signals:
  void clicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void setColour(const QColor& colour);
};

// About: fixed size, 293 x 208, close box only: the icon, the product's name
// and version, the maker's notice, the link to the web site, "Contact us " and "Close".
// Shown modally 160 pixels right of and 100 below the main window's top-left
// corner, wherever that window is. The link and the contact button only ask:
// the main window opens the pages.
class Tfm_about : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_about(QWidget* parent);
  void showBeside(const QWidget& mainWindow);

 signals:
  void webSiteRequested();  // lbl_web
  void contactRequested();  // btn_contact

 private:
  QLabel* Image1;
  QLabel* Label1;
  QLabel* lblVersion;  // the version alone: it reads the same in every language
  QLabel* Label4;
  LinkLabel* lbl_web;
  QFrame* Panel1;
  QPushButton* btn_contact;
  QPushButton* btn_close;
};

// The notice that a newer version exists: fixed at the designed outer size
// 470 x 410, shown modally at its designed place (left 499, top 162). Memo1
// holds the published text; "Do not remind me" switches the check at start
// off; "Download Update" opens the published link and closes the window.
class Tfm_update : public QDialog {
  Q_OBJECT
 public:
  using Runner = std::function<void(const std::function<void()>&)>;
  // `run` is the main window's command runner.
  Tfm_update(QWidget* parent, OnlineCommands& commands, Runner run);
  void ShowModal();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;  // every way of closing passes here

 private:
  OnlineCommands& commands_;
  Runner run_;
  QPlainTextEdit* Memo1;
  QLabel* lblVersions;  // installed, and published where the description names it
  QPushButton* Button1;
  QPushButton* Button2;
  QCheckBox* ck_update;
};

}  // namespace orlisk
