// The main window's timing tools: the strip in its band below the skin, the
// shift, sync and frame-rate dialogs, and the subtitle checks with their report.
#include <QCheckBox>
#include <QMenu>
#include <optional>

#include "app/ui/CheckReportDialog.h"
#include "app/ui/MainWindow.h"
#include "app/ui/OtherWindows.h"
#include "app/ui/SubtitleCheckMarks.h"
#include "app/ui/SubtitleList.h"
#include "app/ui/TimingDialogs.h"
#include "app/ui/TimingStrip.h"
#include "app/ui/WidgetSeams.h"
#include "settings/CheckLimitsSettings.h"
#include "settings/SnapToSilence.h"
#include "subtitles/SubtitleTime.h"

namespace orlisk {

void Tfm_main::CreateTimingWindows() {
  const auto run = [this](const std::function<void()>& command) { Run(command); };
  const TimingDialogParts timing{
      .State = state_, .Timing = controller_->timing(), .Reader = parts_.Reader, .Run = run};
  fm_shiftTimes = new ShiftTimesDialog(this, timing);
  fm_twoPointSync = new TwoPointSyncDialog(this, timing);
  fm_frameRate = new FrameRateDialog(this, timing);
  checkMarks_ = new SubtitleCheckMarks(
      state_.Document, *lvModel_, LoadCheckLimits(settings_),
      [this] { return state_.NoVideoOpen ? 0.0 : parts_.Reader.GetFrameRate(); }, language_, this);
  lvModel_->setCheckMarks(checkMarks_);
  fm_checkReport = new CheckReportDialog(this, state_.Document, *checkMarks_, language_, [this](int row) {
    if (row >= state_.Document.rowCount()) return;
    seams_->selection().selectRow(row);
    lv->scrollTo(lvModel_->index(row, 0));
    Run([this] { controller_->SelectSubtitle(); });
  });
}

void Tfm_main::ConnectTimingStrip() {
  strip_->setActions(TimingStrip::Actions{
      .Retime = [this](int row, std::int32_t begin,
                       std::int32_t end) { Run([=, this] { controller_->editing().RetimeSubtitle(row, begin, end); }); },
      .Seek = [this](std::int32_t ms) { Run([this, ms] { controller_->playback().SeekTo(ms); }); }});
  strip_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(strip_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu_tools->popup(strip_->mapToGlobal(at)); });
  strip_->setSnapToSilence(ReadSnapToSilence(settings_));
  cb_snapsilence->setChecked(ReadSnapToSilence(settings_));
  connect(cb_snapsilence, &QCheckBox::toggled, this, [this](bool on) {
    strip_->setSnapToSilence(on);
    Run([this, on] { WriteSnapToSilence(settings_, on); });
  });
}

void Tfm_main::ShowOnTimingStrip() {
  const bool videoOpen = !state_.VideoPath.empty();
  strip_->showVideo(videoOpen ? parts_.Reader.GetDuration() : 0, videoOpen ? parts_.Reader.GetFrameRate() : 0);
  if (const std::optional<SubtitleTime> playTime = ParseSubtitleTimeFields(seams_->skinObjects().playtimeText()))
    strip_->showPlayPosition(*playTime);
}

}  // namespace orlisk
