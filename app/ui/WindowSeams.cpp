#include "app/ui/WindowSeams.h"

#include <QString>

#include "app/skin/SkinSurface.h"
#include "app/ui/PlaybarSound.h"
#include "app/ui/QtSeams.h"
#include "app/ui/SubtitleFontDialog.h"
#include "app/ui/SubtitleList.h"
#include "app/ui/TimingStrip.h"
#include "app/ui/TypedTimeBox.h"
#include "app/ui/VideoViewWidget.h"
#include "app/ui/WidgetSeams.h"

namespace orlisk {

WindowSeams::WindowSeams(const MainWindowParts& parts, const WindowControls& controls, const Language& language,
                         WindowCallbacks callbacks)
    : parts_(parts), controls_(controls), callbacks_(std::move(callbacks)) {
  const auto inBackground = [this](std::function<void()> task) {
    return [this, task = std::move(task)] { callbacks_.RunAs(CommandKind::Background, task); };
  };
  messages_ = std::make_unique<QtMessageBoxes>(&controls_.Window, &language);
  dialogs_ = std::make_unique<QtFileDialogs>(
      &controls_.Window, [this](const std::string& startFolder) { return callbacks_.ChooseOutputFolder(startFolder); });
  skinObjects_ = std::make_unique<SkinSurfaceObjects>();
  memo_ = std::make_unique<PlainTextMemo>(controls_.Memo);
  startTime_ = std::make_unique<TypedTimeBox>(controls_.StartTime, [this] { return callbacks_.ApplyTypedTime(true); });
  endTime_ = std::make_unique<TypedTimeBox>(controls_.EndTime, [this] { return callbacks_.ApplyTypedTime(false); });
  selection_ = std::make_unique<ListViewSelection>(controls_.List);
  timer1_ = std::make_unique<QtPlaybackTimer>(inBackground(callbacks_.PlaybackTick));
  clock_ = std::make_unique<SteadyTickClock>();
  if (!parts_.Desktop) ownDesktop_ = std::make_unique<QtDesktopShell>();
  mouse_ = std::make_unique<QtMouseButtons>();
  uiThread_ = std::make_unique<QtUserInterfaceThread>(&controls_.Window, [this](const std::function<void()>& task) {
    callbacks_.RunAs(CommandKind::Background, task);
  });
  timer2_ = std::make_unique<QtPlaybackTimer>(inBackground(callbacks_.UpdateTick));
  updateNotices_ = std::make_unique<QtUpdateNotices>(&controls_.Window, QString::fromLatin1(kApplicationTitle),
                                                     [this] { callbacks_.ShowUpdateWindow(); });
  events_ = std::make_unique<QtEventPump>();
  progress_ = std::make_unique<WriteProgressWidgets>(controls_.Progress, controls_.Memo);
  waveform_ = std::make_unique<PlaybarSound>(
      controls_.Skin.playbarWaveform(),
      [this] {
        if (SkinObject* playbar = controls_.Skin.FindObject(QStringLiteral("playbar"))) playbar->Refresh();
        controls_.Strip.refresh();
      },
      *uiThread_);
}

WindowSeams::~WindowSeams() = default;

MainContext WindowSeams::Context(MainState& state, ProfileFile& settings, Language& language) {
  return MainContext{.State = state,
                     .Settings = settings,
                     .Lang = language,
                     .Paths = parts_.Paths,
                     .Messages = *messages_,
                     .Dialogs = *dialogs_,
                     .Skin = *skinObjects_,
                     .Memo = *memo_,
                     .StartTime = *startTime_,
                     .EndTime = *endTime_,
                     .List = *selection_,
                     .Timer = *timer1_,
                     .Clock = *clock_,
                     .Desktop = parts_.Desktop ? *parts_.Desktop : *ownDesktop_,
                     .Mouse = *mouse_,
                     .Fonts = controls_.Fonts,
                     .Reader = parts_.Reader,
                     .View = controls_.View,
                     .Audio = parts_.Audio,
                     .Waveform = *waveform_,
                     .Transform = parts_.Transform,
                     .TextWidth = parts_.TextWidth,
                     .Http = parts_.Http ? *parts_.Http : offline_,
                     .UiThread = *uiThread_,
                     .Timer2 = *timer2_,
                     .Notices = *updateNotices_,
                     .Writer = parts_.Writer,
                     .Events = *events_,
                     .Progress = *progress_};
}

}  // namespace orlisk
