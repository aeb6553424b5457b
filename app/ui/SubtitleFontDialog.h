#pragma once
// `FontDialog1`: the subtitle font with its text colour. Qt's font dialog has
// no colour, so it is embedded here beside a colour button.
#include <QColor>
#include <QDialog>
#include <QFont>

#include "app/core/Seams.h"
#include "burnin/QtSubtitleStyle.h"

class QFontDialog;
class QPushButton;

namespace orlisk {

// The font as the dialog shows it (ToQFont's font, sizes in points at 96
// dots per inch); the dialog's choice comes back through FromQFont.
QFont DialogFont(const SubtitleFont& font);

class SubtitleFontDialog : public QDialog, public FontChooser {
  Q_OBJECT
 public:
  explicit SubtitleFontDialog(QWidget* parent = nullptr);
  std::optional<SubtitleStyle> chooseFont(const SubtitleStyle& current) override;

 private:
  void setColour(const QColor& colour);
  void pickColour();

  QFontDialog* fonts_;
  QPushButton* colourButton_;
  QColor colour_;
};

}  // namespace orlisk
