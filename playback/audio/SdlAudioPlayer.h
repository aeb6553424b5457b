#pragma once
// The sound output of playback, over SDL2. Blocks are pushed to the device's
// queue; while started, more sound is asked for whenever less than
// kLowWaterMs is queued. Without an audio driver or device, or when the
// device fails, the player goes on silently with the same pacing: never an
// error, never a message. User-interface thread only.
//
// The played position is the sound SDL has taken from its queue (bytes
// queued less SDL's queued bytes) less the buffer it took last, which plays
// from the moment it was taken: that buffer's share is counted as time
// passes, so the position moves smoothly rather than a buffer at a time.
// Latency beyond SDL's buffer (a sound server's own) is not seen.
#include <chrono>
#include <cstdint>
#include <memory>

#include "PacedAudioPlayer.h"
#include "SilentQueue.h"

namespace orlisk {

class SdlAudioDevice;
class SdlAudioSubsystem;

class SdlAudioPlayer : public PacedAudioPlayer {
 public:
  SdlAudioPlayer();
  ~SdlAudioPlayer() override;

  // Opens the device for this rate and channel count; the device is kept
  // while the format stays the same.
  void SetAudioFormat(int sampleRate, int channels) override;
  void QueueAudio(const AudioBlock& block) override;
  int QueuedMilliseconds() override;
  std::optional<std::int32_t> PlayedMilliseconds() override;

  // True while sound actually goes to a device.
  bool Audible() const { return device_ != nullptr; }

 protected:
  void StartOutput() override;
  void StopOutput() override;

 private:
  void FallBackToSilence();
  // The device's played position; notes when SDL took more sound.
  std::int32_t DevicePlayedMilliseconds();

  std::unique_ptr<SdlAudioSubsystem> subsystem_;
  std::unique_ptr<SdlAudioDevice> device_;
  SilentQueue silence_;
  int sampleRate_ = 0;
  int channels_ = 0;
  std::int64_t deviceBytes_ = 0;  // queued to the device since it was last cleared
  std::int64_t takenMs_ = -1;     // what SDL had taken from its queue when last looked at
  std::chrono::steady_clock::time_point takenAt_;  // when that amount was first seen
  std::int32_t playedBeforeSilence_ = 0;  // by a device that failed since the start
  bool started_ = false;
  bool formatSet_ = false;
};

}  // namespace orlisk
