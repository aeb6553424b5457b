#include "app/ui/SubtitleFontDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace orlisk {
namespace {

constexpr double kPointsPerPixel = 72.0 / 96.0;

}  // namespace

QColor ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

Colour FromQColor(const QColor& colour) {
  return static_cast<Colour>(colour.red()) | (static_cast<Colour>(colour.green()) << 8) |
         (static_cast<Colour>(colour.blue()) << 16);
}

QFont DialogFont(const SubtitleFont& font) {
  QFont result(QString::fromStdString(font.Face));
  const int pixels = std::abs(font.Height);
  if (pixels > 0) {
    result.setPointSizeF(pixels * kPointsPerPixel);
  } else if (font.PointSize > 0) {
    result.setPointSize(font.PointSize);
  }
  result.setBold(font.Bold);
  result.setItalic(font.Italic);
  result.setUnderline(font.Underline);
  result.setStrikeOut(font.StrikeOut);
  return result;
}

SubtitleFont FromDialogFont(const QFont& font, Colour colour) {
  SubtitleFont result;
  result.Face = font.family().toStdString();
  const int pixels = font.pixelSize() > 0 ? font.pixelSize()
                                          : static_cast<int>(std::lround(font.pointSizeF() / kPointsPerPixel));
  result.Height = -pixels;
  result.PointSize = static_cast<std::int32_t>(std::lround(pixels * kPointsPerPixel));
  result.Bold = font.bold();
  result.Italic = font.italic();
  result.Underline = font.underline();
  result.StrikeOut = font.strikeOut();
  result.Color = colour;
  return result;
}

SubtitleFontDialog::SubtitleFontDialog(QWidget* parent)
    : QDialog(parent), fonts_(new QFontDialog(this)), colourButton_(new QPushButton(tr("Colour..."), this)) {
  setWindowTitle(QStringLiteral("Font"));
  // The font dialog becomes a plain child widget; this dialog supplies the buttons.
  fonts_->setWindowFlags(Qt::Widget);
  fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);

  auto* colourRow = new QHBoxLayout;
  colourRow->addWidget(new QLabel(tr("Colour:"), this));
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
  const QColor chosen = QColorDialog::getColor(colour_, this, tr("Colour"));
  if (chosen.isValid()) setColour(chosen);
}

std::optional<SubtitleFont> SubtitleFontDialog::chooseFont(const SubtitleFont& current) {
  fonts_->setCurrentFont(DialogFont(current));
  setColour(ToQColor(current.Color));
  if (exec() != QDialog::Accepted) return std::nullopt;
  return FromDialogFont(fonts_->currentFont(), FromQColor(colour_));
}

}  // namespace orlisk
