#pragma once
// `ConfigureAviCodec`: the selected AVI codec's own settings. The writer keeps
// them per codec for the run; this dialog edits them: quality or bit rate,
// and the key-frame interval (lossless codecs have only the interval).
#include <QDialog>

#include "burnin/writer/VideoWriter.h"

class QRadioButton;
class QSpinBox;

namespace orlisk {

class AviCodecDialog : public QDialog {
  Q_OBJECT
 public:
  AviCodecDialog(QWidget* parent, const QString& codecName, const AviCodecSettings& settings);
  // The settings as the controls show them.
  AviCodecSettings Settings() const;

  QRadioButton* rbQuality;
  QRadioButton* rbBitRate;
  QSpinBox* edQuality;
  QSpinBox* edBitRate;
  QSpinBox* edKeyFrames;

 private:
  void EnableRateFields();
  bool lossless_;
};

// Shows the dialog for the writer's selected codec; "OK" hands the new
// settings to the writer. Does nothing when no codec is selected.
void ConfigureAviCodec(VideoWriter& writer, QWidget* parent);

}  // namespace orlisk
