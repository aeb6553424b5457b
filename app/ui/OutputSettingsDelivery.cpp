// The output settings dialog's size presets (on the general page) and its
// MP4/MKV page: quality, encoder speed and the Matroska codecs. Their values
// are stored with the others on "OK" and shown again at every showing.
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/ui/OutputSettingsDialog.h"
#include "burnin/writer/DeliveryConfiguration.h"

namespace orlisk {
namespace {

QComboBox* NamedList(QWidget* parent, const char* name) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  return list;
}

QLabel* Label(const char* name, const char* caption, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

void ShowIndex(QComboBox& list, int index) { list.setCurrentIndex(index >= 0 && index < list.count() ? index : -1); }

}  // namespace

QComboBox* Tfm_set::BuildSizePresetList(QWidget* page) {
  cmbSizePreset = NamedList(page, "cmbSizePreset");
  // In the order of kSizePresets; the language file names each row
  // (cmbSizePresetItem0, ...).
  cmbSizePreset->addItems({QStringLiteral("Source size"), QStringLiteral("1080p (1920x1080)"),
                           QStringLiteral("720p (1280x720)"), QStringLiteral("480p (854x480)"),
                           QStringLiteral("Vertical (1080x1920)"), QStringLiteral("Square (1080x1080)"),
                           QStringLiteral("Typed size:")});
  connect(cmbSizePreset, &QComboBox::currentIndexChanged, this, [this] { EnableSizeControls(); });
  return cmbSizePreset;
}

QWidget* Tfm_set::BuildDeliveryPage() {
  auto* page = new QWidget;
  cmbQualityMP4 = NamedList(page, "cmbQualityMP4");
  for (const QualityStep& step : kQualitySteps)
    cmbQualityMP4->addItem(QStringLiteral("%1 (CRF %2)").arg(QString::fromLatin1(step.Name)).arg(step.Crf));
  cmbQualityMP4->addItem(QStringLiteral("Bit rate (kbit/s):"));
  edBitrateMP4 = new QLineEdit(page);
  edBitrateMP4->setObjectName(QStringLiteral("edBitrateMP4"));
  edBitrateMP4->setValidator(new QIntValidator(100, 100000, edBitrateMP4));
  edBitrateMP4->setMaximumWidth(70);
  connect(cmbQualityMP4, &QComboBox::currentIndexChanged, this,
          [this](int index) { edBitrateMP4->setEnabled(index == kQualityTargetBitRate); });
  cmbSpeedMP4 = NamedList(page, "cmbSpeedMP4");
  for (const EncoderSpeed& speed : kEncoderSpeeds) cmbSpeedMP4->addItem(QString::fromLatin1(speed.Name));

  auto* mkvGroup = new QGroupBox(QStringLiteral("MKV"), page);
  mkvGroup->setObjectName(QStringLiteral("grpMKV"));
  cmbVideoMKV = NamedList(mkvGroup, "cmbVideoMKV");
  cmbVideoMKV->addItem(QStringLiteral("H.264"));
  // Offered only where the linked FFmpeg can encode it.
  if (H265EncoderInstalled()) cmbVideoMKV->addItem(QStringLiteral("H.265"));
  cmbAudioMKV = NamedList(mkvGroup, "cmbAudioMKV");
  cmbAudioMKV->addItems({QStringLiteral("AAC"), QStringLiteral("Opus")});
  auto* mkvGrid = new QGridLayout(mkvGroup);
  mkvGrid->addWidget(Label("lblVideoMKV", "Video:", mkvGroup), 0, 0);
  mkvGrid->addWidget(cmbVideoMKV, 0, 1);
  mkvGrid->addWidget(Label("lblAudioMKV", "Sound:", mkvGroup), 0, 2);
  mkvGrid->addWidget(cmbAudioMKV, 0, 3);
  mkvGrid->setColumnStretch(1, 1);
  mkvGrid->setColumnStretch(3, 1);

  auto* grid = new QGridLayout;
  grid->addWidget(Label("lblQualityMP4", "Quality:", page), 0, 0);
  grid->addWidget(cmbQualityMP4, 0, 1);
  grid->addWidget(edBitrateMP4, 0, 2);
  grid->addWidget(Label("lblSpeedMP4", "Encoder speed:", page), 1, 0);
  grid->addWidget(cmbSpeedMP4, 1, 1);
  grid->setColumnStretch(1, 1);
  auto* note = Label("lblSoundMP4",
                     "The source's sound is copied as it is when the container takes it, else encoded.", page);
  note->setWordWrap(true);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(grid);
  layout->addWidget(mkvGroup);
  layout->addWidget(note);
  layout->addStretch();
  return page;
}

void Tfm_set::EnableSizeControls() {
  const bool custom = parts_.State.OutputMode != 0;
  cmbSizePreset->setEnabled(custom);
  const bool typed = cmbSizePreset->currentIndex() == kSizePresetTyped;
  EdCustomWidth->setEnabled(custom && typed);
  EdCustomHeight->setEnabled(custom && typed);
}

void Tfm_set::ShowDeliverySettings(const OutputSettings& shown) {
  ShowIndex(*cmbSizePreset, shown.SizePreset);
  ShowIndex(*cmbQualityMP4, shown.DeliveryQuality);
  edBitrateMP4->setText(QString::number(shown.DeliveryBitRate));
  edBitrateMP4->setEnabled(cmbQualityMP4->currentIndex() == kQualityTargetBitRate);
  ShowIndex(*cmbSpeedMP4, shown.DeliverySpeed);
  ShowIndex(*cmbVideoMKV, shown.MkvVideo);
  ShowIndex(*cmbAudioMKV, shown.MkvAudio);
  EnableSizeControls();
}

bool Tfm_set::TakeDeliverySettings(OutputSettings& values) {
  bool number = false;
  const int bitRate = edBitrateMP4->text().trimmed().toInt(&number);
  if (!number || bitRate <= 0) {
    // Kept as it was when the bit rate is not in use.
    if (cmbQualityMP4->currentIndex() == kQualityTargetBitRate) {
      parts_.Messages.information("'" + edBitrateMP4->text().toStdString() + "' is not a valid integer value");
      tabTypeOutFile->setCurrentWidget(edBitrateMP4->parentWidget());
      edBitrateMP4->setFocus();
      return false;
    }
    values.DeliveryBitRate = ReadShownOutputSettings(parts_.Settings).DeliveryBitRate;
  } else {
    values.DeliveryBitRate = bitRate;
  }
  values.SizePreset = cmbSizePreset->currentIndex();
  values.DeliveryQuality = cmbQualityMP4->currentIndex();
  values.DeliverySpeed = cmbSpeedMP4->currentIndex();
  values.MkvVideo = cmbVideoMKV->currentIndex();
  values.MkvAudio = cmbAudioMKV->currentIndex();
  return true;
}

}  // namespace orlisk
