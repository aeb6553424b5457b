#include "MainController.h"

#include <exception>

namespace orlisk {

MainController::MainController(const MainContext& c)
    : basics_(c.State, c.Settings, c.Lang, c.Messages, c.Paths),
      reader_(c.Reader),
      editing_({.Basics = basics_,
                .Memo = c.Memo,
                .StartTime = c.StartTime,
                .EndTime = c.EndTime,
                .List = c.List,
                .Skin = c.Skin,
                .Reader = c.Reader,
                .Playback = playback_,
                .Preview = preview_}),
      files_({.Basics = basics_, .Dialogs = c.Dialogs, .List = c.List, .Reader = c.Reader}),
      playback_({.Basics = basics_,
                 .Dialogs = c.Dialogs,
                 .Skin = c.Skin,
                 .Memo = c.Memo,
                 .StartTime = c.StartTime,
                 .EndTime = c.EndTime,
                 .List = c.List,
                 .Timer = c.Timer,
                 .Clock = c.Clock,
                 .Desktop = c.Desktop,
                 .Reader = c.Reader,
                 .View = c.View,
                 .Audio = c.Audio,
                 .Waveform = c.Waveform,
                 .Preview = preview_}),
      preview_({.Basics = basics_,
                .Memo = c.Memo,
                .Reader = c.Reader,
                .View = c.View,
                .Transform = c.Transform,
                .Mouse = c.Mouse,
                .Fonts = c.Fonts,
                .TextWidth = c.TextWidth}),
      burnIn_({.Basics = basics_,
               .Skin = c.Skin,
               .Memo = c.Memo,
               .Dialogs = c.Dialogs,
               .Desktop = c.Desktop,
               .Events = c.Events,
               .Progress = c.Progress,
               .Reader = c.Reader,
               .View = c.View,
               .Writer = c.Writer,
               .Transform = c.Transform,
               .Playback = playback_,
               .Preview = preview_}),
      links_({.Basics = basics_, .Desktop = c.Desktop}),
      timing_({.Basics = basics_,
               .Memo = c.Memo,
               .StartTime = c.StartTime,
               .EndTime = c.EndTime,
               .List = c.List,
               .Skin = c.Skin,
               .Reader = c.Reader,
               .Editing = editing_,
               .Preview = preview_}),
      online_({.Basics = basics_,
               .Http = c.Http,
               .UiThread = c.UiThread,
               .Timer2 = c.Timer2,
               .Notices = c.Notices,
               .Desktop = c.Desktop}) {}

bool MainController::FormCloseQuery() {
  MainState& s = basics_.State;
  bool canClose = true;
  if (s.IsWriting && !basics_.Messages.informationQuestion(
                         basics_.Lang.MessageText("FormCloseQuery", "Close will stop writing, it closed?"))) {
    canClose = false;
  } else {
    // The output is finished here; the write job's loop sees IsWriting
    // cleared and ends without touching the reader or the writer again.
    burnIn_.FinishForClose();
    canClose = KeepUnsavedSubtitles(
        "SaveBeforeClose", "The subtitles have changed since they were last saved. Save them before closing?");
    if (canClose) {
      if (s.IsPlaying) playback_.StopPlayback();
      if (!s.VideoPath.empty()) reader_.CloseSource();
    }
  }
  try {
    basics_.Settings.writeBool("Update", "Bool", s.AutoUpdateCheck);
  } catch (const std::exception&) {
    // A settings file that cannot be written must not keep the editor open.
  }
  return canClose;
}

void MainController::OpenVideo() {
  if (basics_.RefuseWhileWriting() || !KeepUnsavedSubtitlesBeforeReplacing()) return;
  playback_.OpenVideo();
}

void MainController::OpenSubtitleFile() {
  // While a video is written the read itself refuses, after its dialog.
  if (!basics_.State.IsWriting && !KeepUnsavedSubtitlesBeforeReplacing()) return;
  // The rows the subtitle at hand named are gone.
  if (files_.OpenSubtitleFile()) editing_.ReleaseSubtitleAtHand();
}

bool MainController::KeepUnsavedSubtitlesBeforeReplacing() {
  return KeepUnsavedSubtitles("SaveBeforeReplace",
                              "The subtitles have changed since they were last saved. Save them before the list is "
                              "replaced?");
}

bool MainController::KeepUnsavedSubtitles(const char* questionKey, const char* englishQuestion) {
  const SubtitleDocument& list = basics_.State.Document;
  if (list.rowCount() == 0 || !list.hasUnsavedChanges()) return true;
  switch (basics_.Messages.saveQuestion(basics_.Lang.MessageText(questionKey, englishQuestion))) {
    case MessageBoxes::SaveAnswer::Save: return files_.SaveSubtitleFile();
    case MessageBoxes::SaveAnswer::Discard: return true;
    case MessageBoxes::SaveAnswer::Cancel: break;
  }
  return false;
}

}  // namespace orlisk
