// Playback: the clock on Timer1, play, pause, stop, the five-second jumps, the
// sound feed and seeking with the playbar.
#include <algorithm>
#include <cmath>
#include <optional>

#include "PlaybackCommands.h"
#include "PreviewCommands.h"

namespace orlisk {

namespace {

constexpr std::int32_t kJumpMs = 5000;
// The last stretch of the video in which a tick counts as the end.
constexpr std::int32_t kEndMarginMs = 100;
// A tick that catches up waits for the decoder at most this many frame times
// (120 ms at 25 frames per second): less than the sound the player keeps
// queued, so the sound does not run dry while the picture catches up.
constexpr std::int32_t kCatchUpFrames = 3;

// Five ticks per frame time as it passes at the speed, rounded to the nearest
// millisecond with halves to even (8 ms at 25 frames per second, 13 ms at 15,
// 5 ms at 25 played at 1.5 times).
int TickInterval(double frameRate, std::int32_t speedPercent) {
  if (!(frameRate > 0.0)) frameRate = 25.0;  // a reader that cannot tell: the usual rate
  double interval = std::nearbyint(200.0 * 100.0 / (frameRate * speedPercent));
  return static_cast<int>(std::clamp(interval, 1.0, 1000.0));
}

// One frame time in whole milliseconds (40 at 25 frames per second).
std::int32_t FramePeriod(double frameRate) {
  if (!(frameRate > 0.0)) frameRate = 25.0;
  return static_cast<std::int32_t>(std::clamp(std::lround(1000.0 / frameRate), 1L, 1000L));
}

// a - b on the clock's wrapping 32-bit scale.
std::int32_t Distance(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// PlayClock follows the sound the player has actually played while there is
// sound, and the tick count otherwise (a video without sound, the time after
// the sound's end, a player that cannot tell). Following the sound moves
// PlayStartTick so that tick count - PlayStartTick is the sound played since
// the start; when the sound is over the tick count carries on from there.
// While the player waits for sound the clock waits with it. That time passes
// at the playback speed in the video: at half speed a second of sound played
// is half a second of video.
void UpdatePlayClock(MainState& s, const TickClock& clock, AudioPlayer& audio) {
  const std::uint32_t now = clock.nowMs();
  if (const std::optional<std::int32_t> played = audio.PlayedMilliseconds()) {
    const bool soundOver = s.SoundEnded && *played == s.SoundPlayedMs;
    if (!soundOver) {
      s.SoundPlayedMs = *played;
      s.PlayStartTick = now - static_cast<std::uint32_t>(*played);
    }
  }
  // Wrapping 32-bit arithmetic, so the clock survives the tick count's wrap.
  const auto played = static_cast<std::int32_t>(now - s.PlayStartTick);
  s.PlayClock = s.PlayStartPosition + AtSpeed(played, s.SpeedPercent);
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

  // Pictures come converted straight to the size the view shows them at:
  // scaling each 1080p picture down on the user-interface thread cost more
  // than a frame time on a busy machine. Places stay in source pixels.
  const PictureRect shown = FitPicture(c_.View.viewWidth(), c_.View.viewHeight(), c_.Reader.GetWidth(),
                                       c_.Reader.GetHeight(), c_.Reader.GetPixelAspect());
  c_.Reader.SetFrameSize(shown.Width, shown.Height);
  s.PlaybarPosition = c_.Skin.playbarPosition();
  c_.Reader.SeekTo(PlaybarTime());
  StartClockAtReader();
}

void PlaybackCommands::StartClockAtReader() {
  MainState& s = c_.Basics.State;
  s.PlayStartPosition = c_.Reader.GetPosition();
  const int rate = c_.Reader.GetAudioSampleRate();
  const int channels = c_.Reader.GetAudioChannels();
  c_.Audio.SetAudioFormat(rate, channels);
  tempo_.reset();
  if (rate > 0 && channels > 0) tempo_ = std::make_unique<SoundTempo>(rate, channels, s.SpeedPercent / 100.0);
  c_.Audio.StartAudio();
  s.PlayStartTick = c_.Clock.nowMs();
  s.SoundPlayedMs = 0;
  s.SoundEnded = false;
  FeedAudio();
  c_.Timer.start(TickInterval(c_.Reader.GetFrameRate(), s.SpeedPercent));
}

void PlaybackCommands::SetPlaybackSpeed(std::int32_t percent) {
  MainState& s = c_.Basics.State;
  if (std::find(kPlaybackSpeeds.begin(), kPlaybackSpeeds.end(), percent) == kPlaybackSpeeds.end()) return;
  if (percent == s.SpeedPercent) return;
  s.SpeedPercent = percent;
  if (!s.IsPlaying || s.IsWriting) return;
  // Played on from the next picture: the sound queued at the old speed goes,
  // and the reader's sound is taken back to where the picture is.
  c_.Audio.StopAudio();
  c_.Timer.stop();
  c_.Reader.SeekTo(c_.Reader.GetPosition());
  StartClockAtReader();
}

void PlaybackCommands::PlaybackTick() {
  MainState& s = c_.Basics.State;
  // A tick already on its way when playback stopped, or during a write job.
  if (!s.IsPlaying || s.IsWriting) return;

  UpdatePlayClock(s, c_.Clock, c_.Audio);
  std::int32_t position = c_.Reader.GetPosition();
  if (Distance(s.PlayClock, position) < 0) return;  // the next frame is not yet due

  const std::int32_t duration = c_.Reader.GetDuration();
  // More than a frame behind the clock: a frame whose successor is due as
  // well is passed over (decoded, not drawn), as a player drops late frames,
  // instead of every frame being shown late. When the decoder cannot pass
  // over frames quickly enough, the tick shows the frame it has reached after
  // kCatchUpFrames frame times and the next ticks go on catching up.
  const std::int32_t period = FramePeriod(c_.Reader.GetFrameRate());
  const std::uint32_t catchUpStart = c_.Clock.nowMs();
  const auto waited = [&] { return static_cast<std::int32_t>(c_.Clock.nowMs() - catchUpStart); };
  while (Distance(s.PlayClock, position) >= period && position <= duration - kEndMarginMs &&
         waited() < kCatchUpFrames * period) {
    c_.Reader.SkipFrame();
    const std::int32_t next = c_.Reader.GetPosition();
    if (next == position) break;  // no frame after it: the stream ended early
    position = next;
  }

  if (position > duration - kEndMarginMs) StopPlayback();

  // The play time and the playbar show the time of the picture shown.
  std::int32_t shownTime = c_.Reader.GetPosition();
  Frame frame = c_.Reader.ReadFrame();
  if (frame.empty() && s.IsPlaying) {
    // The stream ended before its stated duration: that is the end as well.
    StopPlayback();
    shownTime = c_.Reader.GetPosition();
    frame = c_.Reader.ReadFrame();
  }
  // The view takes the rendered frame over; the source frame stays as the one
  // a pause or the end leaves on screen, which typing and dragging redraw.
  if (!frame.empty()) {
    c_.View.ShowFrame(c_.Preview.RenderFrame(frame));
    s.CurrentFrame = std::move(frame);
  }

  s.PlaybarPosition = std::clamp(MulDiv(shownTime, 10000, duration), 0, 10000);
  c_.Skin.setPlaybarPosition(s.PlaybarPosition);
  c_.Skin.setPlaytimeText(FormatSubtitleTime(shownTime));
}

void PlaybackCommands::FeedAudio() {
  MainState& s = c_.Basics.State;
  // The player may still ask once after a pause or stop, and a write job reads
  // the same source: neither may take sound away.
  if (!s.IsPlaying || s.IsWriting) return;
  // The speed's filter holds back its first few blocks: sound is read until
  // it gives some, so that the player has a block to ask for more after.
  AudioBlock played;
  while (played.empty() && !s.SoundEnded) {
    const AudioBlock block = c_.Reader.ReadAudio(0);
    s.SoundEnded = block.empty();
    if (!tempo_) played = block;
    else played = s.SoundEnded ? tempo_->Flush() : tempo_->Process(block);
  }
  if (!played.empty()) c_.Audio.QueueAudio(played);
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
    // Still playing while the memo changes, so the change does not redraw the
    // still picture: the view keeps the last played frame. The subtitle at
    // hand keeps its text in the memo (typing goes on in it, or it stays on
    // the picture as finished); with nothing at hand the memo is emptied.
    c_.Memo.setEnabled(true);
    if (s.AtHand.kind() == SubtitleAtHand::Kind::Nothing) c_.Memo.setText("");
    c_.Memo.setFocus();
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
