#include "app/ui/OutputSettingsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>
#include <tuple>
#include <optional>

#include "app/ui/AviCodecDialog.h"
#include "app/ui/OutputFolderDialog.h"
#include "settings/Settings.h"

namespace orlisk {
namespace {

// What an empty size field stands for.
constexpr int kDefaultWidth = OutputSettings{}.CustomWidth;
constexpr int kDefaultHeight = OutputSettings{}.CustomHeight;

// An index the list does not have leaves it without a selection.
void SetListIndex(QComboBox& list, int index) { list.setCurrentIndex(index >= 0 && index < list.count() ? index : -1); }

// A decimal 32-bit number, as the field holds it; nothing for any other text.
std::optional<std::int32_t> ParseInteger(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return value;
}

}  // namespace

Tfm_set::Tfm_set(QWidget* parent, OutputSettingsParts parts) : QDialog(parent), parts_(std::move(parts)) {
  setWindowTitle(QStringLiteral("Settings"));
  setObjectName(QStringLiteral("Tfm_set"));
  setModal(true);
  // Wide enough for every format's tab side by side.
  setFixedSize(540, 297);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  tabTypeOutFile = new QTabWidget(this);
  tabTypeOutFile->setObjectName(QStringLiteral("tabTypeOutFile"));
  // The captions keep their blanks.
  tabTypeOutFile->addTab(BuildGeneralPage(), QStringLiteral("General"));
  tabTypeOutFile->addTab(BuildAviPage(), QStringLiteral("  To  AVI    "));
  tabTypeOutFile->addTab(BuildMpegPage(), QStringLiteral("  To  MPEG   "));
  tabTypeOutFile->addTab(BuildWmvPage(), QStringLiteral("   To  WMV   "));
  tabTypeOutFile->addTab(BuildDeliveryPage(), QStringLiteral(" MP4/MKV "));
  // Named so the language file can give every caption of this window.
  for (auto [page, name] :
       {std::pair{0, "pageGeneral"}, {1, "pageAvi"}, {2, "pageMpeg"}, {3, "pageWmv"}, {4, "pageDelivery"}})
    tabTypeOutFile->widget(page)->setObjectName(QString::fromLatin1(name));

  btnSetFormatLikeSample = MakeButton("btnSetFormatLikeSample", "OK");
  btnConvert = MakeButton("btnConvert", "Default");
  btnCancel = MakeButton("btnCancel", "Cancel");
  btnSetFormatLikeSample->setDefault(true);
  connect(btnSetFormatLikeSample, &QPushButton::clicked, this,
          [this] { parts_.Run([this] { btnSetFormatLikeSampleClick(); }); });
  connect(btnConvert, &QPushButton::clicked, this, [this] { btnConvertClick(); });
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnSetFormatLikeSample);
  buttons->addWidget(btnConvert);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(tabTypeOutFile);
  layout->addLayout(buttons);
}

void Tfm_set::FillCodecLists(const CodecLists& lists) {
  cmbAVICodecs->clear();
  for (const std::string& name : lists.AviCodecs) cmbAVICodecs->addItem(QString::fromStdString(name));
  cmbWMVCodecs->clear();
  for (const std::string& name : lists.WmvProfiles) cmbWMVCodecs->addItem(QString::fromStdString(name));
  SetListIndex(*cmbAVICodecs, 0);
  SetListIndex(*cmbWMVCodecs, 0);
  // The lists are narrower than the longest names: their drop-downs show them whole.
  for (QComboBox* list : {cmbAVICodecs, cmbWMVCodecs}) {
    list->view()->setMinimumWidth(list->view()->sizeHintForColumn(0) + 24);
    list->setToolTip(list->currentText());
    connect(list, &QComboBox::currentTextChanged, list, &QWidget::setToolTip, Qt::UniqueConnection);
  }
}

void Tfm_set::SetStartRows() {
  SetListIndex(*cmbFramerateAVI, 3);
  SetListIndex(*cmbFramerateMPEG, 1);
  tabTypeOutFile->setCurrentIndex(0);
}

void Tfm_set::ShowModal() {
  FormShow();
  exec();
}

void Tfm_set::FormShow() {
  const ProfileFile& settings = parts_.Settings;
  if (settings.readInteger("Video", "wh", 0) != 0) {
    rbSizeCustom->setChecked(true);
    rbSizeCustomClick();
  } else {
    rbSizeOriginal->setChecked(true);
    rbSizeOriginalClick();
  }
  cb_open->setChecked(settings.readBool("Orlisk", "autoopen", true));

  ShowSettings(ReadShownOutputSettings(settings));

  edt_dir->setText(QString::fromStdString(parts_.State.OutputFolder));
  // "Configure..." works on the codec the list shows; with no codec shown
  // there is nothing to select.
  if (cmbAVICodecs->currentIndex() >= 0) parts_.Writer.SelectAviCodec(cmbAVICodecs->currentIndex() + 1);
}

int Tfm_set::FormatChoice() const { return cb_format->currentIndex(); }

void Tfm_set::rbSizeOriginalClick() {
  parts_.State.OutputMode = 0;
  for (QWidget* control : {static_cast<QWidget*>(EdCustomWidth), static_cast<QWidget*>(EdCustomHeight),
                           static_cast<QWidget*>(cb_format)})
    control->setEnabled(false);  EnableSizeControls();
}

void Tfm_set::rbSizeCustomClick() {
  parts_.State.OutputMode = 1;
  for (QWidget* control : {static_cast<QWidget*>(EdCustomWidth), static_cast<QWidget*>(EdCustomHeight),
                           static_cast<QWidget*>(cb_format)})
    control->setEnabled(true);  EnableSizeControls();
}

void Tfm_set::SetAudioChoice(std::int32_t choice) {
  QRadioButton* button = nullptr;
  switch (choice) {
    case kAviAudioPcm: button = optPCM; break;
    case kAviAudioMp3: button = optMP3; break;
    case kAviAudioAdpcm: button = optADPCM; break;
    case kAviAudioAlaw: button = optALAW; break;
    case kAviAudioUlaw: button = optULAW; break;
    case kAviAudioGsm: button = optGSM; break;
    default: return;  // another value changes nothing
  }
  button->setChecked(true);
  aviAudioFormat_ = choice;
}

void Tfm_set::SetMpegVersion(int index) {
  // The group takes the nearest entry; a negative index leaves it empty.
  rgMPEG->setExclusive(false);
  for (QAbstractButton* button : rgMPEG->buttons()) button->setChecked(false);
  rgMPEG->setExclusive(true);
  if (index < 0) return;
  rgMPEG->button(std::min(index, 1))->setChecked(true);
}

void Tfm_set::cmbAVICodecsChange(int index) {
  if (index >= 0) parts_.Writer.SelectAviCodec(index + 1);
}

void Tfm_set::btnConfigureVideoCodecClick() {
  if (cmbAVICodecs->currentIndex() < 0) return;
  ConfigureAviCodec(parts_.Writer, this);
}

void Tfm_set::cb_openClick(bool checked) {
  parts_.Settings.writeBool("Orlisk", "autoopen", checked);
  parts_.State.AutoOpenOutput = checked;
}

void Tfm_set::bt_dirClick() {
  Tfm_dir& folders = parts_.FolderDialog;
  folders.ShowCentredOn(*this);
  if (!folders.ChosenFolder().empty()) edt_dir->setText(QString::fromStdString(folders.ChosenFolder()));
}

void Tfm_set::btnSetFormatLikeSampleClick() {
  // Pressing Enter in a size field reaches "OK" without leaving the field.
  FillEmptySizeFields();
  // Both numbers are checked before anything is stored: a bad one keeps the
  // dialog open with every setting as it was.
  std::optional<std::int32_t> width = ParseInteger(EdCustomWidth->text());
  std::optional<std::int32_t> height = ParseInteger(EdCustomHeight->text());
  for (const auto& [field, value] : {std::pair{EdCustomWidth, width}, std::pair{EdCustomHeight, height}}) {
    if (!value) {
      parts_.Messages.information("'" + field->text().toStdString() + "' is not a valid integer value");
      field->setFocus();
      return;
    }
  }

  OutputSettings values;
  if (!TakeDeliverySettings(values)) return;

  parts_.State.OutputFolder = edt_dir->text().toStdString();
  WriteOutputFolder(parts_.Settings, parts_.State.OutputFolder);
  values.CustomWidth = *width;
  values.CustomHeight = *height;
  values.OutputMode = parts_.State.OutputMode;
  values.AviFrameRate = cmbFramerateAVI->currentIndex();
  values.AviCodec = cmbAVICodecs->currentIndex();
  values.AviAudio = aviAudioFormat_;
  values.MpegFrameRate = cmbFramerateMPEG->currentIndex();
  values.MpegVideoBitRate = cmbVideoBitrateMPEG->currentIndex();
  values.MpegChannels = cmbCnannelsMPEG->currentIndex();
  values.MpegAudioBitRate = cmbAudioBitrateMPEG->currentIndex();
  values.MpegVersion = rgMPEG->checkedId();
  values.MpegAudioFrequency = cbmpg_fre->currentIndex();
  values.WmvProfile = cmbWMVCodecs->currentIndex();
  WriteDialogOutputSettings(parts_.Settings, values);
  accept();
}

void Tfm_set::btnConvertClick() {
  // Controls only: nothing is stored until "OK".
  rbSizeOriginal->setChecked(true);
  rbSizeOriginalClick();
  ShowSettings(ShownOutputDefaults());
}

void Tfm_set::ShowSettings(const OutputSettings& shown) {
  SetListIndex(*cmbFramerateAVI, shown.AviFrameRate);
  SetListIndex(*cmbAVICodecs, shown.AviCodec);
  SetAudioChoice(shown.AviAudio);
  SetListIndex(*cmbFramerateMPEG, shown.MpegFrameRate);
  SetListIndex(*cmbVideoBitrateMPEG, shown.MpegVideoBitRate);
  SetListIndex(*cmbCnannelsMPEG, shown.MpegChannels);
  SetListIndex(*cmbAudioBitrateMPEG, shown.MpegAudioBitRate);
  SetMpegVersion(shown.MpegVersion);
  SetListIndex(*cbmpg_fre, shown.MpegAudioFrequency);
  SetListIndex(*cmbWMVCodecs, shown.WmvProfile);
  ShowDeliverySettings(shown);
}

void Tfm_set::FillEmptySizeFields() {
  if (EdCustomWidth->text().isEmpty()) EdCustomWidth->setText(QString::number(kDefaultWidth));
  if (EdCustomHeight->text().isEmpty()) EdCustomHeight->setText(QString::number(kDefaultHeight));
}

bool Tfm_set::SizeFieldKey(QLineEdit& field, QKeyEvent& key) {
  // Dialog keys keep their meaning (Enter is "OK", Escape "Cancel", Tab moves on).
  switch (key.key()) {
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Escape: case Qt::Key_Tab: case Qt::Key_Backtab:
      return false;
    default: break;
  }
  const bool paste = key.matches(QKeySequence::Paste);
  const QString text = key.text();
  // Moves, deletes, shortcuts and modifiers alone keep their meaning.
  if (!paste && (text.isEmpty() || !text[0].isPrint())) return false;
  if (!paste && text.size() == 1 && text[0] >= u'0' && text[0] <= u'9') return false;
  // Any other character acts as a backspace: it deletes the character left
  // of the caret instead of being inserted.
  field.backspace();
  return true;
}

bool Tfm_set::eventFilter(QObject* watched, QEvent* event) {
  auto* field = qobject_cast<QLineEdit*>(watched);
  if (field && (field == EdCustomWidth || field == EdCustomHeight)) {
    if (event->type() == QEvent::KeyPress) return SizeFieldKey(*field, static_cast<QKeyEvent&>(*event));
    if (event->type() == QEvent::FocusOut && field->text().isEmpty())
      field->setText(QString::number(field == EdCustomWidth ? kDefaultWidth : kDefaultHeight));
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace orlisk
