// Opening a source video: the dialog, the reader, the first picture and the
// placement for the new picture size.
#include <exception>
#include <utility>

#include "LinkCommands.h"
#include "PlaybackCommands.h"
#include "PreviewCommands.h"

namespace orlisk {

namespace {

// "All Support Format" lists the formats of old as well as those the decoder
// reads today; every other entry is as it always was.
constexpr const char* kVideoFilter =
    "All Support Format|*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.asx;*.mov;*.dat;*.qt;*.mp4;*.m4v;*.mkv;"
    "*.webm;*.flv;*.ts;*.m2ts;*.vob;*.3gp;*.ogv;|WMV Format|*.wmv;|MPEG Format|*.mpg;*.mpeg;|"
    "AVI Format|*.avi;|Quick Time Format|*.qt;*.mov;|VCD Format|*.dat;|ASF Format|*.asf;|"
    "ASX Format|*.asx;|All File|*.*;";

}  // namespace

void PlaybackCommands::OpenVideo() {
  if (c_.Basics.RefuseWhileWriting()) return;
  std::optional<std::string> chosen = c_.Dialogs.openVideo(c_.Basics.DialogFolder("OpenDialog1"), kVideoFilter);
  if (!chosen) return;
  c_.Basics.RememberDialogFolder("OpenDialog1", *chosen);
  OpenVideoFile(*chosen);
}

void PlaybackCommands::OpenVideoFile(const std::string& path) {
  MainState& s = c_.Basics.State;
  s.VideoPath = path;

  // The sound of the video closed here is no longer measured or drawn.
  c_.Waveform.forgetSound();
  if (!s.NoVideoOpen) c_.Reader.CloseSource();
  s.NoVideoOpen = false;

  try {
    c_.Reader.OpenSource(s.VideoPath);
    std::int32_t duration = c_.Reader.GetDuration();
    c_.Skin.setVideotimeText("/ " + FormatSubtitleTime(duration));
    // A new video starts clean: nothing at hand, no text of the old one in
    // the memo or on the new picture, no old times in the boxes. The old
    // picture goes first, so emptying the memo draws nothing.
    s.CurrentFrame = Frame{};
    s.AtHand.Release();
    c_.Memo.setText("");
    ShowTimesAtHand(s.AtHand, s.Document, c_.StartTime, c_.EndTime);
    TakeFrameAtPlaybar();
    c_.View.setViewVisible(true);
    s.Placement = StartPlacement(c_.Reader.GetHeight(), s.Style.Font);
    s.SubtitleCursor = 0;
    s.Document.clearRows();
    c_.List.selectRow(-1);
    s.SubtitlePath.clear();
    s.SubtitleCharset.clear();
    c_.Basics.History.startFresh();
    c_.Preview.RefreshFrame();
    // Last, once the picture is up: the measuring runs on beside the window.
    c_.Waveform.showSoundOf(s.VideoPath, duration);
  } catch (const std::exception&) {
    OpenVideoFailed();
    return;
  }
  // Playing goes on in the new video from the same place on the playbar, but
  // the clock and the sound format must be the new video's: left to the old
  // one, the picture would race to catch up and the sound play at the wrong
  // pitch.
  if (s.IsPlaying) {
    c_.Audio.StopAudio();
    c_.Timer.stop();
    s.IsPlaying = false;
    Play();
  }
}

void PlaybackCommands::OpenVideoFailed() {
  MainState& s = c_.Basics.State;
  // The video that was playing or paused is closed already, so playback of
  // it ends here, before the question: the timer would otherwise tick on a
  // closed reader while the question is open, and the play state would
  // outlive the video with nothing left that could stop it.
  if (s.IsPlaying || s.IsPaused) {
    c_.Timer.stop();
    c_.Audio.StopAudio();
    s.IsPlaying = false;
    s.IsPaused = false;
    s.ResumeAfterSeek = false;
    s.PlayStartPosition = 0;
  }
  // Nothing of the video closed before is left on screen: the window is back
  // in its "no video open" state, with the subtitle list as it was.
  c_.Reader.CloseSource();
  s.NoVideoOpen = true;
  const std::string failedPath = std::exchange(s.VideoPath, std::string());
  s.CurrentFrame = Frame{};
  s.PlaybarPosition = 0;
  c_.View.ClearView();
  c_.View.setViewVisible(false);
  c_.Skin.setPlaybarPosition(0);
  c_.Skin.setPlaytimeText(FormatSubtitleTime(0));
  c_.Skin.setVideotimeText("/ " + FormatSubtitleTime(0));
  // Whatever the reader could not do, the answer is the same: name the file
  // and offer the help page on the formats the editor reads.
  if (c_.Basics.Messages.informationQuestion(
          failedPath + "\n\n" +
          c_.Basics.Lang.MessageText("OpenVideoFilesError",
                                     "Does not support this video files, you need to use video converter to "
                                     "convert, the need for recommendations?")))
    c_.Desktop.openUrl(
        (HelpFolder(c_.Basics.Paths.ProgramFolder, s.ChineseUI) / *HelpTopicPage(kFaqTopic)).string());
}

}  // namespace orlisk
