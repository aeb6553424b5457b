#pragma once
// The timing tools' dialogs, each a small window of its own that hands its
// choice to TimingCommands: "Shift Times" (a typed amount, later or earlier,
// for every subtitle or from the subtitle at hand on), "Two-Point Sync" (two
// subtitles and the times they should begin at) and "Convert Frame Rate"
// (the rate the list was made for and the video's). "OK" runs the command
// through the window's runner, inside the command that opened the dialog, so
// the change is one undo step; a refusal says why and keeps the dialog open.
// Captions come from the language file section named after each dialog.
#include <QDialog>
#include <functional>

#include "app/core/MainState.h"
#include "app/core/TimingCommands.h"
#include "playback/VideoReader.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimeEdit;

namespace orlisk {

struct TimingDialogParts {
  const MainState& State;     // the subtitles the dialogs offer
  TimingCommands& Timing;
  const VideoReader& Reader;  // the video's frame rate
  // Runs a handler; an error it throws goes to the application's handler.
  std::function<void(const std::function<void()>&)> Run;
};

class ShiftTimesDialog : public QDialog {
  Q_OBJECT
 public:
  ShiftTimesDialog(QWidget* parent, TimingDialogParts parts);
  // Offers "from the subtitle at hand on" only when there is one.
  void ShowModal();
  // The amount as chosen: negative for earlier.
  SubtitleTime Amount() const;
  // "OK": true when the times moved (or none needed to) and the dialog closed.
  bool Apply();

  QComboBox* cmbDirection;  // later, earlier
  QTimeEdit* edAmount;
  QRadioButton* rbAll;
  QRadioButton* rbFromAtHand;

 private:
  TimingDialogParts parts_;
};

class TwoPointSyncDialog : public QDialog {
  Q_OBJECT
 public:
  TwoPointSyncDialog(QWidget* parent, TimingDialogParts parts);
  // The first and the last subtitle, each with its begin as the right time.
  void ShowModal();
  bool Apply();

  QSpinBox* spFirst;  // 1-based subtitle numbers
  QSpinBox* spSecond;
  QLabel* lblFirstNow;  // the chosen subtitle's begin and text
  QLabel* lblSecondNow;
  QTimeEdit* edFirstRight;
  QTimeEdit* edSecondRight;

 private:
  // The chosen subtitle's begin becomes its right time, until changed.
  void ShowSubtitle(QSpinBox* number, QLabel* now, QTimeEdit* right);

  TimingDialogParts parts_;
};

class FrameRateDialog : public QDialog {
  Q_OBJECT
 public:
  FrameRateDialog(QWidget* parent, TimingDialogParts parts);
  // The video's rate (when it is one of the list) as the target.
  void ShowModal();
  bool Apply();

  QComboBox* cmbFrom;  // 23.976, 24, 25, 29.97, 30
  QComboBox* cmbTo;

 private:
  TimingDialogParts parts_;
};

}  // namespace orlisk
