#pragma once
// `Tfm_setfont`, "Subtitle Settings": the subtitle font and text colour (in
// effect at once), the outline colour, the outline switch and what stands
// behind the text (stored on "OK"), with a sample drawn by the subtitle
// renderer, and whether "OK" restyles the subtitle at hand or every subtitle.
#include <QDialog>
#include <functional>

#include "app/core/EditingCommands.h"
#include "app/core/MainState.h"
#include "burnin/TextTransform.h"
#include "settings/ProfileFile.h"

class QCheckBox;
class QColorDialog;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace orlisk {

struct SubtitleStyleParts {
  ProfileFile& Settings;
  const MainState& State;  // the style in use
  // The picture's transform, which draws the sample.
  TextTransform& Transform;
  // The font dialog of the preview: on confirmation the subtitle font and
  // text colour change and the still picture is redrawn.
  std::function<void()> ChooseSubtitleFont;
  // "OK": stores the choice (MainController::ApplyStyle); false when it was
  // refused, and the dialog stays open.
  std::function<bool(const StyleChoice&)> ApplyStyle;
  // Runs a handler; an error it throws goes to the application's handler.
  std::function<void(const std::function<void()>&)> Run;
};

class Tfm_setfont : public QDialog {
  Q_OBJECT
 public:
  Tfm_setfont(QWidget* parent, SubtitleStyleParts parts);

  // Reloads the check box from the settings file and shows the dialog modally.
  void ShowModal();
  void FormShow();
  // The style the sample shows: the one in use with the outline and backdrop
  // as the dialog's controls have them now.
  SubtitleStyle ShownStyle() const;

  QPushButton* Button1;  // "Set Font"
  QPushButton* Button2;  // "Border Color"
  QCheckBox* cb_Bborder;
  QPushButton* Button3;  // "OK"
  QPushButton* Button4;  // "Cancel"
  QColorDialog* ColorDialog1;
  QLabel* lblFontName;   // the font in use, one for all subtitles
  QComboBox* cmbBackdrop;  // nothing, shadow, box
  QSpinBox* spnOpacity;
  QLabel* lblSample;
  QRadioButton* rbApplyAtHand;
  QRadioButton* rbApplyAll;

 private:
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void ShowStyle();

  SubtitleStyleParts parts_;
  // The colour last confirmed in ColorDialog1 (black at first), and whether
  // it was confirmed since this showing began.
  Colour confirmedColour_ = 0;
  bool BorderColorChosen = false;
};

}  // namespace orlisk
