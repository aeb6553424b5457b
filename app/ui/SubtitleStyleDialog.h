#pragma once
// `Tfm_setfont`, "Subtitle Settings": the subtitle font and text colour (in
// effect at once), the outline colour and the outline switch (stored on "OK").
#include <QDialog>
#include <functional>

#include "app/core/MainState.h"
#include "settings/ProfileFile.h"

class QCheckBox;
class QColorDialog;
class QPushButton;

namespace orlisk {

struct SubtitleStyleParts {
  ProfileFile& Settings;
  MainState& State;  // BorderColor, BorderEnabled
  // The font dialog of the preview: on confirmation the subtitle font and
  // text colour change and the still picture is redrawn.
  std::function<void()> ChooseSubtitleFont;
  // Runs a handler; an error it throws goes to the application's handler.
  std::function<void(const std::function<void()>&)> Run;
};

// The outline as the style dialog's "OK" leaves it: in the window's state and
// in the settings file.
void StoreOutline(MainState& state, ProfileFile& settings, Colour borderColor, bool borderEnabled);

class Tfm_setfont : public QDialog {
  Q_OBJECT
 public:
  Tfm_setfont(QWidget* parent, SubtitleStyleParts parts);

  // Reloads the check box from the settings file and shows the dialog modally.
  void ShowModal();
  void FormShow();

  QPushButton* Button1;  // "Set Font"
  QPushButton* Button2;  // "Border Color"
  QCheckBox* cb_Bborder;
  QPushButton* Button3;  // "OK"
  QPushButton* Button4;  // "Cancel"
  QColorDialog* ColorDialog1;

 private:
  void Button2Click();
  void Button3Click();

  SubtitleStyleParts parts_;
  // The colour last confirmed in ColorDialog1 (black at first), and whether
  // it was confirmed since this showing began.
  Colour confirmedColour_ = 0;
  bool BorderColorChosen = false;
};

}  // namespace orlisk
