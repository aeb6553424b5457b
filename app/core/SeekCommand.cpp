// Seeking to a time of the video: the timing strip's click.
#include <algorithm>

#include "PlaybackCommands.h"
#include "PreviewCommands.h"

namespace orlisk {

void PlaybackCommands::SeekTo(SubtitleTime ms) {
  MainState& s = c_.Basics.State;
  if (s.IsWriting || s.VideoPath.empty()) return;
  const SubtitleTime duration = c_.Reader.GetDuration();
  ms = std::clamp(ms, 0, std::max(0, duration));
  c_.Skin.setPlaybarPosition(std::clamp(MulDiv(ms, 10000, duration), 0, 10000));
  if (s.IsPlaying) {
    // Playing goes on from there, as after a jump.
    c_.Audio.StopAudio();
    c_.Timer.stop();
    s.IsPlaying = false;
    Play();
    return;
  }
  // Still: the frame at that time, exactly (the playbar's steps are coarser
  // than a frame in a long video), and the play time F3 would stamp.
  s.PlaybarPosition = c_.Skin.playbarPosition();
  c_.Reader.SeekTo(ms);
  const SubtitleTime shown = c_.Reader.GetPosition();
  s.CurrentFrame = c_.Reader.ReadFrame();
  c_.Skin.setPlaytimeText(FormatSubtitleTime(shown));
  c_.Preview.RefreshFrame();
}

}  // namespace orlisk
