#pragma once
// Opening a video and playing it: the clock on Timer1, play, pause, stop, the
// five-second jumps, the sound feed and seeking with the playbar.
#include <array>
#include <cstdint>
#include <memory>

#include "CommandBasics.h"
#include "Seams.h"
#include "SoundWaveform.h"
#include "playback/AudioPlayer.h"
#include "playback/SoundTempo.h"
#include "playback/VideoReader.h"
#include "playback/VideoView.h"

namespace orlisk {

class PreviewCommands;

// The playback speeds offered, in percent of normal speed.
inline constexpr std::array<std::int32_t, 5> kPlaybackSpeeds = {50, 75, 100, 125, 150};

// `ms` of real time (sound played, or reaction) as video time at a speed.
inline std::int32_t AtSpeed(std::int32_t ms, std::int32_t speedPercent) {
  return static_cast<std::int32_t>((std::int64_t{ms} * speedPercent + (ms >= 0 ? 50 : -50)) / 100);
}

class PlaybackCommands {
 public:
  struct Context {
    CommandBasics& Basics;
    FileDialogs& Dialogs;
    SkinObjects& Skin;
    TextMemo& Memo;                 // ed_text: emptied for typing on a pause
    TimeEdit& StartTime;            // ed_Starttime and ed_Endtime: zero for a new video
    TimeEdit& EndTime;
    SubtitleListSelection& List;    // lv: cleared when a video opens
    PlaybackTimer& Timer;           // Timer1
    TickClock& Clock;
    DesktopShell& Desktop;          // the codec page after a failed open
    VideoReader& Reader;            // VideoFileRead
    VideoView& View;                // VideoView1
    AudioPlayer& Audio;             // AudioPlayer21
    SoundWaveform& Waveform;        // the sound behind the playbar, per opened video
    PreviewCommands& Preview;       // draws every shown frame
  };
  explicit PlaybackCommands(Context context) : c_(context) {}

  void OpenVideo();
  // Opens `path` as OpenVideo does once its dialog chose it (a restore after a crash names the video itself).
  void OpenVideoFile(const std::string& path);
  void Play();
  void Pause();
  void StopPlayback();
  void FastBack();
  void FastForward();
  // Plays at `percent` of normal speed (one of kPlaybackSpeeds; others are
  // ignored), the pitch kept: from the next picture while playing, else from
  // the next Play. The video follows the sound at that speed.
  void SetPlaybackSpeed(std::int32_t percent);
  void PlaybackTick();  // Timer1
  void FeedAudio();     // the audio player asks for more
  void PlaybarPress();
  void PlaybarDrag();
  void PlaybarRelease();
  // Shows the frame at `ms` (within the video), or plays on from there
  // while playing (SeekCommand.cpp). Nothing while writing or with no video.
  void SeekTo(SubtitleTime ms);
  // Seeks to the playbar's time and keeps the frame there as CurrentFrame.
  void TakeFrameAtPlaybar();

 private:
  // The failure path of OpenVideo: ends any playback of the closed video,
  // offers the codec page and forgets the file.
  void OpenVideoFailed();
  // FastBack and FastForward: move the playbar by deltaMs and play from there.
  void JumpBy(std::int32_t deltaMs);
  // The time the playbar stands for, in ms of the open video.
  SubtitleTime PlaybarTime() const;
  // Starts sound, clock and timer at the reader's position, at the speed.
  void StartClockAtReader();

  Context c_;
  std::unique_ptr<SoundTempo> tempo_;  // the sound since the last start, at the speed
};

}  // namespace orlisk
