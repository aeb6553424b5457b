#pragma once
// `Tfm_set`, "Settings": how written videos are made. Its values live in
// orlisk.ini and the write job reads them there; two choices act at once
// without "OK": the size mode (OutputMode of the main window) and the format
// list, which the write job reads from the control (FormatChoice).
#include <QDialog>
#include <cstdint>
#include <functional>

#include "app/core/MainState.h"
#include "app/core/Seams.h"
#include "burnin/writer/CodecLists.h"
#include "burnin/writer/VideoWriter.h"
#include "settings/OutputSettings.h"
#include "settings/ProfileFile.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace orlisk {

class Tfm_dir;

struct OutputSettingsParts {
  ProfileFile& Settings;
  MainState& State;  // OutputMode, OutputFolder, AutoOpenOutput
  VideoWriter& Writer;
  MessageBoxes& Messages;
  Tfm_dir& FolderDialog;
  // Runs a handler; an error it throws goes to the application's handler.
  std::function<void(const std::function<void()>&)> Run;
};

class Tfm_set : public QDialog {
  Q_OBJECT
 public:
  Tfm_set(QWidget* parent, OutputSettingsParts parts);

  // Start-up: the writer's catalogues into the two codec lists, the first
  // entry of each selected.
  void FillCodecLists(const CodecLists& lists);
  // Start-up: AVI frame rate "23.97", MPEG frame rate "25.00", "General" page.
  void SetStartRows();
  // Reloads the controls from the settings file and shows the dialog modally.
  void ShowModal();
  // The reload alone.
  void FormShow();
  // The item index of the format list: 0 AVI, 1 MPEG, 2 WMV, 3 RM, 4 MP4, 5 MKV.
  int FormatChoice() const;
  std::int32_t AviAudioFormat() const { return aviAudioFormat_; }

  QTabWidget* tabTypeOutFile;
  QRadioButton* rbSizeOriginal;
  QRadioButton* rbSizeCustom;
  QComboBox* cb_format;
  QLineEdit* EdCustomWidth;
  QLineEdit* EdCustomHeight;
  QLineEdit* edt_dir;
  QPushButton* bt_dir;
  QCheckBox* cb_open;
  QComboBox* cmbFramerateAVI;
  QComboBox* cmbAVICodecs;
  QPushButton* btnConfigureVideoCodec;
  QRadioButton* optPCM;
  QRadioButton* optMP3;
  QRadioButton* optADPCM;
  QRadioButton* optGSM;
  QRadioButton* optULAW;
  QRadioButton* optALAW;
  QButtonGroup* rgMPEG;
  QComboBox* cmbFramerateMPEG;
  QComboBox* cmbVideoBitrateMPEG;
  QComboBox* cmbCnannelsMPEG;
  QComboBox* cmbAudioBitrateMPEG;
  QComboBox* cbmpg_fre;
  QComboBox* cmbWMVCodecs;
  // The size preset of custom output and the MP4/MKV page
  // (OutputSettingsDelivery.cpp).
  QComboBox* cmbSizePreset;
  QComboBox* cmbQualityMP4;
  QLineEdit* edBitrateMP4;
  QComboBox* cmbSpeedMP4;
  QComboBox* cmbVideoMKV;
  QComboBox* cmbAudioMKV;
  QPushButton* btnSetFormatLikeSample;
  QPushButton* btnConvert;
  QPushButton* btnCancel;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildGeneralPage();
  QWidget* BuildAviPage();
  QWidget* BuildMpegPage();
  QWidget* BuildWmvPage();
  QComboBox* BuildSizePresetList(QWidget* page);
  QWidget* BuildDeliveryPage();
  // The size controls as the size mode and the preset allow.
  void EnableSizeControls();
  void ShowDeliverySettings(const OutputSettings& shown);
  // The preset and MP4/MKV values into `values`; false, with a message, for
  // a bit rate in use that is no number.
  bool TakeDeliverySettings(OutputSettings& values);
  QPushButton* MakeButton(const char* name, const char* caption);

  void rbSizeOriginalClick();
  void rbSizeCustomClick();
  void SetAudioChoice(std::int32_t choice);
  void SetMpegVersion(int index);
  // The lists, the audio choice and the MPEG version as `shown` holds them.
  void ShowSettings(const OutputSettings& shown);
  void cmbAVICodecsChange(int index);
  void btnConfigureVideoCodecClick();
  void cb_openClick(bool checked);
  void bt_dirClick();
  void btnSetFormatLikeSampleClick();
  void btnConvertClick();
  bool SizeFieldKey(QLineEdit& field, QKeyEvent& key);
  void FillEmptySizeFields();

  OutputSettingsParts parts_;
  std::int32_t aviAudioFormat_ = kAviAudioPcm;
};

}  // namespace orlisk
