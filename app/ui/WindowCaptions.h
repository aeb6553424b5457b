#pragma once
// The captions of the windows other than the main window's fixed set, taken
// from the language file: the section is the window's object name, each key
// a control's object name, and "Caption" the window's title. A missing key
// keeps the English caption the window was built with.
//
//   [Tfm_setfont]
//   Caption=字幕设置
//   Button1=设置字体
//   cmbCnannelsMPEGItem0=单声道     (the items of a list, counted from 0)
#include <QObject>

class QWidget;

namespace orlisk {

class Language;

// Applies the captions of one window: its title, and the texts of its named
// buttons, labels, group boxes, tab pages and menu items (not those of the
// windows it owns, which have sections of their own).
void ApplyWindowCaptions(QWidget& window, const Language& language);

// Applies the captions of every dialog again as it is shown: dialogs made on
// demand get theirs, and a dialog whose caption a command resets to English
// gets it back.
class DialogCaptionsOnShow : public QObject {
 public:
  // Watches the whole application until destroyed; language must outlive it.
  DialogCaptionsOnShow(QObject* parent, const Language& language);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const Language& language_;
};

}  // namespace orlisk
