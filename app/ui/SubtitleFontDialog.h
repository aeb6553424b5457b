#pragma once
// `FontDialog1`: the subtitle font with its colour. Qt's font dialog has no
// colour, so it is embedded here beside a colour button.
#include <QColor>
#include <QDialog>
#include <QFont>

#include "app/core/Seams.h"

class QFontDialog;
class QPushButton;

namespace orlisk {

// 0x00BBGGRR <-> QColor.
QColor ToQColor(Colour colour);
Colour FromQColor(const QColor& colour);

// The font as the dialog shows it: sizes in points at 96 dots per inch.
QFont DialogFont(const SubtitleFont& font);
// The dialog's choice: the pixel height becomes the negative Height, and
// PointSize is |Height| * 72 / 96, rounded.
SubtitleFont FromDialogFont(const QFont& font, Colour colour);

class SubtitleFontDialog : public QDialog, public FontChooser {
  Q_OBJECT
 public:
  explicit SubtitleFontDialog(QWidget* parent = nullptr);
  std::optional<SubtitleFont> chooseFont(const SubtitleFont& current) override;

 private:
  void setColour(const QColor& colour);
  void pickColour();

  QFontDialog* fonts_;
  QPushButton* colourButton_;
  QColor colour_;
};

}  // namespace orlisk
