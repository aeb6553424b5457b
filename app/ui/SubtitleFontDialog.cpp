#include "app/ui/SubtitleFontDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace orlisk {
namespace {

constexpr double kPointsPerPixel = 72.0 / 96.0;

}  // namespace

QFont DialogFont(const SubtitleFont& font) {
  QFont shown = ToQFont(font);
  // The face the user chose rather than its stand-in, in the point sizes the
  // font dialog lists: the same pixel height at 96 dots per inch.
  shown.setFamilies({QString::fromStdString(font.Face)});
  shown.setPointSizeF(shown.pixelSize() * kPointsPerPixel);
  return shown;
}

SubtitleFontDialog::SubtitleFontDialog(QWidget* parent)
    : QDialog(parent), fonts_(new QFontDialog(this)), colourButton_(new QPushButton(tr("Colour..."), this)) {
  setWindowTitle(QStringLiteral("Font"));
  setObjectName(QStringLiteral("FontDialog1"));
  colourButton_->setObjectName(QStringLiteral("btnColour"));
  // The font dialog becomes a plain child widget; this dialog supplies the buttons.
  fonts_->setWindowFlags(Qt::Widget);
  fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  // Inside this dialog it lines up with the colour row and the buttons.
  fonts_->setSizeGripEnabled(false);
  if (fonts_->layout()) fonts_->layout()->setContentsMargins(0, 0, 0, 0);

  auto* colourRow = new QHBoxLayout;
  auto* colourLabel = new QLabel(tr("Colour:"), this);
  colourLabel->setObjectName(QStringLiteral("lblColour"));
  colourRow->addWidget(colourLabel);
  colourRow->addWidget(colourButton_);
  colourRow->addStretch();
  connect(colourButton_, &QPushButton::clicked, this, &SubtitleFontDialog::pickColour);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fonts_);
  layout->addLayout(colourRow);
  layout->addWidget(buttons);
}

void SubtitleFontDialog::setColour(const QColor& colour) {
  colour_ = colour;
  QPixmap swatch(32, 14);
  swatch.fill(colour);
  colourButton_->setIcon(QIcon(swatch));
}

void SubtitleFontDialog::pickColour() {
  const QColor chosen = QColorDialog::getColor(colour_, this);
  if (chosen.isValid()) setColour(chosen);
}

std::optional<SubtitleStyle> SubtitleFontDialog::chooseFont(const SubtitleStyle& current) {
  // A face this machine lacks is listed as the face drawn in its place
  // ("Arial" as Liberation Sans, in bold if it is bold): the dialog would
  // otherwise fall back to its own first family and style, and "OK" for a
  // new size alone would change the face. Taken again, it keeps its name.
  QFont shown = DialogFont(current.Font);
  const QString face = QString::fromStdString(current.Font.Face);
  const QString drawnFace = QFontInfo(ToQFont(current.Font)).family();
  const bool faceMissing = !QFontDatabase::hasFamily(face);
  if (faceMissing) shown.setFamilies({drawnFace});
  fonts_->setCurrentFont(shown);
  setColour(ToQColor(current.TextColor));
  if (exec() != QDialog::Accepted) return std::nullopt;
  SubtitleStyle chosen = current;
  chosen.Font = FromQFont(fonts_->currentFont());
  if (faceMissing && QString::fromStdString(chosen.Font.Face) == drawnFace) chosen.Font.Face = current.Font.Face;
  chosen.TextColor = FromQColor(colour_);
  return chosen;
}

}  // namespace orlisk
