#include "app/ui/AviCodecDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orlisk {

AviCodecDialog::AviCodecDialog(QWidget* parent, const QString& codecName, const AviCodecSettings& settings)
    : QDialog(parent),
      rbQuality(new QRadioButton(QStringLiteral("Quality (1-100):"), this)),
      rbBitRate(new QRadioButton(QStringLiteral("Bit rate (kbit/s):"), this)),
      edQuality(new QSpinBox(this)),
      edBitRate(new QSpinBox(this)),
      edKeyFrames(new QSpinBox(this)),
      lossless_(settings.Lossless) {
  setWindowTitle(codecName);
  setObjectName(QStringLiteral("AviCodecDialog"));
  rbQuality->setObjectName(QStringLiteral("rbQuality"));
  rbBitRate->setObjectName(QStringLiteral("rbBitRate"));
  edQuality->setObjectName(QStringLiteral("edQuality"));
  edBitRate->setObjectName(QStringLiteral("edBitRate"));
  edKeyFrames->setObjectName(QStringLiteral("edKeyFrames"));

  edQuality->setRange(1, 100);
  edQuality->setValue(settings.Quality);
  edBitRate->setRange(16, 100000);
  edBitRate->setValue(settings.BitRateKbps);
  edKeyFrames->setRange(1, 1000);
  edKeyFrames->setValue(settings.KeyFrameInterval);
  rbQuality->setChecked(settings.Control == AviCodecSettings::RateControl::Quality);
  rbBitRate->setChecked(settings.Control == AviCodecSettings::RateControl::BitRate);

  auto* rate = new QGroupBox(QStringLiteral("Rate Control"), this);
  rate->setObjectName(QStringLiteral("grpRate"));
  auto* rateLayout = new QFormLayout(rate);
  rateLayout->addRow(rbQuality, edQuality);
  rateLayout->addRow(rbBitRate, edBitRate);
  if (lossless_) {
    rate->setEnabled(false);
    rate->setTitle(QStringLiteral("Rate Control (lossless codec: every pixel is kept)"));
    rate->setObjectName(QStringLiteral("grpRateLossless"));
  }
  connect(rbQuality, &QRadioButton::toggled, this, &AviCodecDialog::EnableRateFields);
  EnableRateFields();

  auto* keyFrames = new QFormLayout;
  auto* keyFramesLabel = new QLabel(QStringLiteral("Key frame every (frames):"), this);
  keyFramesLabel->setObjectName(QStringLiteral("lblKeyFrames"));
  keyFrames->addRow(keyFramesLabel, edKeyFrames);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(codecName, this));
  layout->addWidget(rate);
  layout->addLayout(keyFrames);
  layout->addWidget(buttons);
}

void AviCodecDialog::EnableRateFields() {
  edQuality->setEnabled(rbQuality->isChecked());
  edBitRate->setEnabled(rbBitRate->isChecked());
}

AviCodecSettings AviCodecDialog::Settings() const {
  AviCodecSettings result;
  result.Lossless = lossless_;
  result.Control =
      rbBitRate->isChecked() ? AviCodecSettings::RateControl::BitRate : AviCodecSettings::RateControl::Quality;
  result.Quality = edQuality->value();
  result.BitRateKbps = edBitRate->value();
  result.KeyFrameInterval = edKeyFrames->value();
  return result;
}

void ConfigureAviCodec(VideoWriter& writer, QWidget* parent) {
  const std::string name = writer.GetVideoFormatName();
  if (name.empty()) return;
  AviCodecDialog dialog(parent, QString::fromStdString(name), writer.GetAviCodecSettings());
  if (dialog.exec() == QDialog::Accepted) writer.SetAviCodecSettings(dialog.Settings());
}

}  // namespace orlisk
