#pragma once
// Tools > "Reaction Delay...": how many milliseconds F3 and F4 take off the
// play time they stamp, to make up for the moment between hearing a line and
// pressing the key. A sentence under the number says, while it changes, what
// a key press will stamp. OK stores the value in the settings file at once.
#include <QDialog>

#include "app/language/Language.h"
#include "settings/ProfileFile.h"

class QLabel;
class QSpinBox;
class QDialogButtonBox;

namespace orlisk {

// What F3 and F4 do with a delay of `delayMs`, in the language file's words
// (section "ReactionDelay").
QString ReactionDelayExplanation(const Language& language, int delayMs);

class ReactionDelayDialog : public QDialog {
  Q_OBJECT
 public:
  // Both live as long as the dialog; the language is read each time it opens.
  ReactionDelayDialog(QWidget* parent, ProfileFile& settings, const Language& language);

  // Shows the stored delay; OK writes the one chosen. Throws ProfileWriteError
  // when the settings file cannot be written.
  void ShowModal();

  QSpinBox* delayBox() const { return delay_; }
  QLabel* explanation() const { return explanation_; }

 private:
  void ApplyCaptions();

  ProfileFile& settings_;
  const Language& language_;
  QLabel* label_;
  QSpinBox* delay_;
  QLabel* explanation_;
  QDialogButtonBox* buttons_;
};

}  // namespace orlisk
