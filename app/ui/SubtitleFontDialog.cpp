#include "app/ui/SubtitleFontDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
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
  fonts_->setCurrentFont(DialogFont(current.Font));
  setColour(ToQColor(current.TextColor));
  if (exec() != QDialog::Accepted) return std::nullopt;
  SubtitleStyle chosen = current;
  chosen.Font = FromQFont(fonts_->currentFont());
  chosen.TextColor = FromQColor(colour_);
  return chosen;
}

}  // namespace orlisk
