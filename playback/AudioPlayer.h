#pragma once
// Plays the reader's sound blocks. Called on the user-interface thread; the
// "more, please" callback is delivered there too. Without an audio device the
// player stays silent and never reports an error.
#include <cstdint>
#include <functional>
#include <optional>

#include "media/Frame.h"

namespace orlisk {

class AudioPlayer {
 public:
  virtual ~AudioPlayer() = default;

  // Rate in Hz and channel count of the blocks that follow (16-bit interleaved).
  virtual void SetAudioFormat(int sampleRate, int channels) = 0;
  // Starts output; blocks queued later play in order as they arrive.
  virtual void StartAudio() = 0;
  // Stops output at once and drops what was queued.
  virtual void StopAudio() = 0;
  virtual void QueueAudio(const AudioBlock& block) = 0;
  // How much of the sound queued since the last StartAudio has been played by
  // now, in milliseconds: what the listener has heard, not what was queued.
  // It follows the device's own pace and stands still while the device waits
  // for sound. Playback keeps time by it. Nothing when the player cannot
  // tell; playback then keeps time by the system clock.
  virtual std::optional<std::int32_t> PlayedMilliseconds() = 0;

  // Called (on the user-interface thread) when a queued block has finished
  // playing or the queue runs low: the owner feeds the next block.
  void setMoreAudioRequested(std::function<void()> callback) { moreAudioRequested_ = std::move(callback); }

 protected:
  void requestMoreAudio() {
    if (moreAudioRequested_) moreAudioRequested_();
  }

 private:
  std::function<void()> moreAudioRequested_;
};

}  // namespace orlisk
