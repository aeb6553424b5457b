// Playback: the clock on Timer1, play, pause, stop, the five-second jumps, the
// sound feed and seeking with the playbar.
#include <algorithm>
#include <cmath>

#include "PlaybackCommands.h"
#include "PreviewCommands.h"

namespace orlisk {

namespace {

constexpr std::int32_t kJumpMs = 5000;
// The last stretch of the video in which a tick counts as the end.
constexpr std::int32_t kEndMarginMs = 100;

// Five ticks per frame time, rounded to the nearest millisecond with halves to
// even (8 ms at 25 frames per second, 13 ms at 15).
int TickInterval(double frameRate) {
  if (!(frameRate > 0.0)) frameRate = 25.0;  // a reader that cannot tell: the usual rate
  double interval = std::nearbyint(200.0 / frameRate);
  return static_cast<int>(std::clamp(interval, 1.0, 1000.0));
}

}  // namespace

SubtitleTime PlaybackCommands::PlaybarTime() const {
  return MulDiv(c_.Basics.State.PlaybarPosition, c_.Reader.GetDuration(), 10000);
}

void PlaybackCommands::TakeFrameAtPlaybar() {
  MainState& s = c_.Basics.State;
  s.CurrentFrame = Frame{};
  s.PlaybarPosition = c_.Skin.playbarPosition();
  c_.Reader.SeekTo(PlaybarTime());
  s.CurrentFrame = c_.Reader.ReadFrame();
}

void PlaybackCommands::Play() {
  MainState& s = c_.Basics.State;
  if (s.IsWriting) {
    c_.Basics.ShowInformation("VideoFilePlay", "The subtitles are written to the video. please first stop writing.");
    return;
  }
  if (s.VideoPath.empty()) {
    c_.Basics.ShowInformation("VideoFilePlayAdd", "Please first add video file, and then play the video file.");
    return;
  }
  if (s.IsPlaying && !s.IsPaused) return;
  s.IsPlaying = true;
  s.IsPaused = false;
  if (!s.EditMode) {
    s.SubtitleCursor = 0;
    s.PreviewCount = s.Document.rowCount();
  }
  s.SuppressEditCapture = false;

  s.PlaybarPosition = c_.Skin.playbarPosition();
  c_.Reader.SeekTo(PlaybarTime());
  s.PlayStartPosition = c_.Reader.GetPosition();
  c_.Audio.SetAudioFormat(c_.Reader.GetAudioSampleRate(), c_.Reader.GetAudioChannels());
  c_.Audio.StartAudio();
  s.PlayStartTick = c_.Clock.nowMs();
  FeedAudio();
  c_.Timer.start(TickInterval(c_.Reader.GetFrameRate()));
}

void PlaybackCommands::PlaybackTick() {
  MainState& s = c_.Basics.State;
  // A tick already on its way when playback stopped, or during a write job.
  if (!s.IsPlaying || s.IsWriting) return;

  // Wrapping 32-bit arithmetic, so the clock survives the tick count's wrap.
  std::uint32_t elapsed = c_.Clock.nowMs() - s.PlayStartTick;
  s.PlayClock = static_cast<std::int32_t>(elapsed + static_cast<std::uint32_t>(s.PlayStartPosition));
  if (static_cast<std::int32_t>(static_cast<std::uint32_t>(s.PlayClock) -
                                static_cast<std::uint32_t>(c_.Reader.GetPosition())) < 0)
    return;

  std::int32_t duration = c_.Reader.GetDuration();
  if (c_.Reader.GetPosition() > duration - kEndMarginMs) StopPlayback();

  Frame frame = c_.Reader.ReadFrame();
  if (frame.empty() && s.IsPlaying) {
    // The stream ended before its stated duration: that is the end as well.
    StopPlayback();
    frame = c_.Reader.ReadFrame();
  }
  if (!frame.empty()) {
    Frame shown = c_.Preview.RenderFrame(frame);
    c_.View.ShowFrame(shown);
    // What a pause or the end leaves on screen is what typing and dragging redraw.
    s.CurrentFrame = std::move(frame);
  }

  s.PlaybarPosition = std::clamp(MulDiv(c_.Reader.GetPosition(), 10000, duration), 0, 10000);
  c_.Skin.setPlaybarPosition(s.PlaybarPosition);
  c_.Skin.setPlaytimeText(FormatSubtitleTime(c_.Reader.GetPosition()));
}

void PlaybackCommands::FeedAudio() {
  MainState& s = c_.Basics.State;
  // The player may still ask once after a pause or stop, and a write job reads
  // the same source: neither may take sound away.
  if (!s.IsPlaying || s.IsWriting) return;
  AudioBlock block = c_.Reader.ReadAudio(0);
  if (!block.empty()) c_.Audio.QueueAudio(block);
}

void PlaybackCommands::Pause() {
  MainState& s = c_.Basics.State;
  if (s.IsWriting || s.VideoPath.empty() || (!s.IsPlaying && !s.IsPaused)) return;
  if (s.IsPaused) {
    Play();
    return;
  }
  c_.Audio.StopAudio();
  c_.Timer.stop();
  if (s.EditMode) {
    // Still playing while the memo is emptied, so the change does not redraw
    // the still picture: the view keeps the last played frame.
    c_.Memo.setEnabled(true);
    c_.Memo.setText("");
    c_.Memo.setFocus();
    s.MemoEmptiedByPause = true;
  }
  s.IsPaused = true;
  s.IsPlaying = false;
}

void PlaybackCommands::StopPlayback() {
  MainState& s = c_.Basics.State;
  if (s.IsWriting || s.VideoPath.empty()) return;
  c_.Timer.stop();
  c_.Audio.StopAudio();
  c_.Reader.SeekTo(0);
  // The picture at the start is what typing or a drag now draws on, while the
  // play time says the start: F3 stamps the time the user sees.
  s.CurrentFrame = c_.Reader.ReadFrame();
  c_.Reader.SeekTo(0);
  c_.View.ClearView();
  s.PlaybarPosition = 0;
  c_.Skin.setPlaybarPosition(0);
  c_.Skin.setPlaytimeText(FormatSubtitleTime(0));
  s.IsPlaying = false;
  s.IsPaused = false;
  s.PlayStartPosition = 0;
}

void PlaybackCommands::FastBack() { JumpBy(-kJumpMs); }

void PlaybackCommands::FastForward() { JumpBy(kJumpMs); }

// Five seconds back or forward, only while playing; Play then seeks to the
// moved playbar.
void PlaybackCommands::JumpBy(std::int32_t deltaMs) {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return;
  if (!s.IsPlaying) return;
  c_.Audio.StopAudio();
  c_.Timer.stop();
  s.IsPlaying = false;
  int position = MulDiv(c_.Reader.GetPosition() + deltaMs, 10000, c_.Reader.GetDuration());
  c_.Skin.setPlaybarPosition(std::clamp(position, 0, 10000));
  Play();
}

void PlaybackCommands::PlaybarPress() {
  MainState& s = c_.Basics.State;
  if (s.IsWriting || s.VideoPath.empty()) return;
  c_.Audio.StopAudio();
  c_.Timer.stop();
  s.IsPaused = true;
  s.ResumeAfterSeek = s.IsPlaying;
  s.IsPlaying = false;
}

void PlaybackCommands::PlaybarDrag() {
  MainState& s = c_.Basics.State;
  if (s.IsPlaying || s.VideoPath.empty() || s.IsWriting) return;
  s.PlaybarPosition = c_.Skin.playbarPosition();
  c_.Skin.setPlaytimeText(FormatSubtitleTime(PlaybarTime()));
}

void PlaybackCommands::PlaybarRelease() {
  MainState& s = c_.Basics.State;
  if (s.IsWriting) return;
  // Used once: a later release without a press of its own must not resume.
  bool resume = s.ResumeAfterSeek;
  s.ResumeAfterSeek = false;
  if (resume) {
    Play();
  } else if (!s.VideoPath.empty()) {
    TakeFrameAtPlaybar();
    c_.Preview.RefreshFrame();
  }
}

}  // namespace orlisk
