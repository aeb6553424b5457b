// The output settings dialog's pages: the controls of the general, AVI, MPEG
// and WMV tabs, named as the language file and the tests find them, and laid
// out. What they do lives in OutputSettingsDialog.cpp.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/OutputSettingsDialog.h"

namespace orlisk {
namespace {

// What an empty size field stands for.
constexpr int kDefaultWidth = OutputSettings{}.CustomWidth;
constexpr int kDefaultHeight = OutputSettings{}.CustomHeight;

QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& items) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->addItems(items);
  return list;
}

// A label the language file can find by name.
QLabel* NamedLabel(const char* name, const char* caption, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

QPushButton* Tfm_set::MakeButton(const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption), this);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

QWidget* Tfm_set::BuildGeneralPage() {
  auto* page = new QWidget;
  rbSizeOriginal = new QRadioButton(QStringLiteral("Original"), page);
  rbSizeCustom = new QRadioButton(QStringLiteral("Custom:"), page);
  rbSizeOriginal->setObjectName(QStringLiteral("rbSizeOriginal"));
  rbSizeCustom->setObjectName(QStringLiteral("rbSizeCustom"));
  rbSizeOriginal->setChecked(true);
  // Selection only: a typed name would leave the write job without a format.
  cb_format = MakeList(page, "cb_format", {"AVI", "MPEG", "WMV", "RM", "MP4", "MKV"});
  cb_format->setCurrentIndex(0);
  EdCustomWidth = new QLineEdit(QString::number(kDefaultWidth), page);
  EdCustomHeight = new QLineEdit(QString::number(kDefaultHeight), page);
  EdCustomWidth->setObjectName(QStringLiteral("EdCustomWidth"));
  EdCustomHeight->setObjectName(QStringLiteral("EdCustomHeight"));
  for (QLineEdit* field : {EdCustomWidth, EdCustomHeight}) {
    field->installEventFilter(this);
    field->setMaximumWidth(70);
    // Text composed by an input method would pass by the key filter.
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setInputMethodHints(Qt::ImhDigitsOnly);
  }
  for (QWidget* control : {static_cast<QWidget*>(EdCustomWidth), static_cast<QWidget*>(EdCustomHeight),
                           static_cast<QWidget*>(cb_format)})
    control->setEnabled(false);
  connect(rbSizeOriginal, &QRadioButton::clicked, this, [this] { rbSizeOriginalClick(); });
  connect(rbSizeCustom, &QRadioButton::clicked, this, [this] { rbSizeCustomClick(); });

  auto* pathGroup = new QGroupBox(QStringLiteral("Output Path:"), page);
  pathGroup->setObjectName(QStringLiteral("grpOutputPath"));
  edt_dir = new QLineEdit(pathGroup);
  edt_dir->setObjectName(QStringLiteral("edt_dir"));
  edt_dir->setReadOnly(true);
  bt_dir = new QPushButton(QStringLiteral("..."), pathGroup);
  bt_dir->setObjectName(QStringLiteral("bt_dir"));
  bt_dir->setFixedWidth(32);
  connect(bt_dir, &QPushButton::clicked, this, [this] { parts_.Run([this] { bt_dirClick(); }); });
  auto* pathRow = new QHBoxLayout(pathGroup);
  pathRow->addWidget(edt_dir);
  pathRow->addWidget(bt_dir);

  cb_open = new QCheckBox(QStringLiteral("Auto Open"), page);
  cb_open->setObjectName(QStringLiteral("cb_open"));
  connect(cb_open, &QCheckBox::clicked, this,
          [this](bool checked) { parts_.Run([this, checked] { cb_openClick(checked); }); });

  auto* grid = new QGridLayout;
  grid->addWidget(rbSizeOriginal, 0, 0);
  grid->addWidget(rbSizeCustom, 1, 0);
  grid->addWidget(cb_format, 1, 1, 1, 3);
  grid->addWidget(EdCustomWidth, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("X"), page), 2, 2, Qt::AlignCenter);
  grid->addWidget(EdCustomHeight, 2, 3);
  grid->addWidget(NamedLabel("lblSizePreset", "Size:", page), 3, 0);
  grid->addWidget(BuildSizePresetList(page), 3, 1, 1, 4);
  grid->setColumnStretch(4, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(grid);
  layout->addWidget(pathGroup);
  layout->addWidget(cb_open);
  layout->addStretch();
  return page;
}

QWidget* Tfm_set::BuildAviPage() {
  auto* page = new QWidget;
  cmbFramerateAVI =
      MakeList(page, "cmbFramerateAVI", {"10.00", "15.00", "22.54", "23.97", "24.00", "25.00", "29.97", "30.00"});
  cmbAVICodecs = MakeList(page, "cmbAVICodecs", {});
  cmbAVICodecs->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cmbAVICodecs->setMinimumContentsLength(16);
  connect(cmbAVICodecs, &QComboBox::activated, this,
          [this](int index) { parts_.Run([this, index] { cmbAVICodecsChange(index); }); });
  btnConfigureVideoCodec = new QPushButton(QStringLiteral("Configure..."), page);
  btnConfigureVideoCodec->setObjectName(QStringLiteral("btnConfigureVideoCodec"));
  connect(btnConfigureVideoCodec, &QPushButton::clicked, this,
          [this] { parts_.Run([this] { btnConfigureVideoCodecClick(); }); });

  auto* audioGroup = new QGroupBox(QStringLiteral("Audio Format"), page);
  audioGroup->setObjectName(QStringLiteral("grpAudioFormat"));
  auto* audioGrid = new QGridLayout(audioGroup);
  const std::pair<QRadioButton**, std::pair<const char*, std::int32_t>> audio[] = {
      {&optPCM, {"PCM", kAviAudioPcm}},   {&optMP3, {"MP3", kAviAudioMp3}},   {&optADPCM, {"ADPCM", kAviAudioAdpcm}},
      {&optGSM, {"GSM", kAviAudioGsm}},   {&optULAW, {"ULAW", kAviAudioUlaw}}, {&optALAW, {"ALAW", kAviAudioAlaw}}};
  int position = 0;
  for (const auto& [button, caption] : audio) {
    *button = new QRadioButton(QString::fromLatin1(caption.first), audioGroup);
    (*button)->setObjectName(QStringLiteral("opt") + QString::fromLatin1(caption.first));
    const std::int32_t choice = caption.second;
    connect(*button, &QRadioButton::clicked, this, [this, choice] { aviAudioFormat_ = choice; });
    audioGrid->addWidget(*button, position / 3, position % 3);
    ++position;
  }
  optPCM->setChecked(true);

  auto* grid = new QGridLayout;
  grid->addWidget(NamedLabel("lblFramerateAVI", "FrameRate:", page), 0, 0);
  grid->addWidget(cmbFramerateAVI, 0, 1);
  grid->addWidget(NamedLabel("lblAVICodec", "AVI Codec:", page), 1, 0);
  grid->addWidget(cmbAVICodecs, 1, 1);
  grid->addWidget(btnConfigureVideoCodec, 1, 2);
  grid->setColumnStretch(1, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(grid);
  layout->addWidget(audioGroup);
  layout->addStretch();
  return page;
}

QWidget* Tfm_set::BuildMpegPage() {
  auto* page = new QWidget;
  auto* versionGroup = new QGroupBox(QStringLiteral("MPEG Version"), page);
  versionGroup->setObjectName(QStringLiteral("rgMPEG"));
  rgMPEG = new QButtonGroup(versionGroup);
  auto* versionRow = new QGridLayout(versionGroup);
  for (int index : {0, 1}) {
    auto* button = new QRadioButton(index == 0 ? QStringLiteral("MPEG1") : QStringLiteral("MPEG2"), versionGroup);
    button->setObjectName(index == 0 ? QStringLiteral("rgMPEG_MPEG1") : QStringLiteral("rgMPEG_MPEG2"));
    rgMPEG->addButton(button, index);
    versionRow->addWidget(button, 0, index);
  }
  SetMpegVersion(0);

  cmbFramerateMPEG = MakeList(page, "cmbFramerateMPEG", {"24.00", "25.00", "29.97", "30.00"});
  cmbVideoBitrateMPEG = MakeList(page, "cmbVideoBitrateMPEG", {"750", "1150", "1500", "1950", "2376"});
  cmbCnannelsMPEG = MakeList(page, "cmbCnannelsMPEG", {"Mono", "Stereo"});
  cmbAudioBitrateMPEG = MakeList(page, "cmbAudioBitrateMPEG",
                                 {"64", "80", "96", "112", "128", "160", "192", "224", "256", "320"});
  cbmpg_fre = MakeList(page, "cbmpg_fre",
                       {"6000", "8000", "11025", "12000", "16000", "22050", "24000", "32000", "44100", "48000"});

  auto* grid = new QGridLayout;
  const std::tuple<const char*, const char*, QComboBox*> rows[] = {
      {"lblFramerateMPEG", "FrameRate:", cmbFramerateMPEG},
      {"lblVideoBitrateMPEG", "VideoBitrate:", cmbVideoBitrateMPEG},
      {"lblCnannelsMPEG", "Cnannels:", cmbCnannelsMPEG},
      {"lblAudioBitrateMPEG", "Bitrate:", cmbAudioBitrateMPEG},
      {"lblFrequencyMPEG", "Frequency:", cbmpg_fre}};
  int row = 0;
  for (const auto& [name, caption, list] : rows) {
    // Video on the left, sound on the right.
    const int column = row < 2 ? 0 : 2;
    const int line = row < 2 ? row : row - 2;
    grid->addWidget(NamedLabel(name, caption, page), line, column);
    grid->addWidget(list, line, column + 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(versionGroup);
  layout->addLayout(grid);
  layout->addStretch();
  return page;
}

QWidget* Tfm_set::BuildWmvPage() {
  auto* page = new QWidget;
  auto* group = new QGroupBox(QStringLiteral("Output Video Format"), page);
  group->setObjectName(QStringLiteral("grpWMVFormat"));
  cmbWMVCodecs = MakeList(group, "cmbWMVCodecs", {});
  cmbWMVCodecs->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cmbWMVCodecs->setMinimumContentsLength(20);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(cmbWMVCodecs);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(group);
  layout->addStretch();
  return page;
}

}  // namespace orlisk
