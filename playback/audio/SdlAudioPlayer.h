#pragma once
// The sound output of playback, over SDL2. Blocks are pushed to the device's
// queue; while started, more sound is asked for whenever less than
// kLowWaterMs is queued. Without an audio driver or device, or when the
// device fails, the player goes on silently with the same pacing: never an
// error, never a message. User-interface thread only.
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

  // True while sound actually goes to a device.
  bool Audible() const { return device_ != nullptr; }

 protected:
  void StartOutput() override;
  void StopOutput() override;

 private:
  void FallBackToSilence();

  std::unique_ptr<SdlAudioSubsystem> subsystem_;
  std::unique_ptr<SdlAudioDevice> device_;
  SilentQueue silence_;
  int sampleRate_ = 0;
  int channels_ = 0;
  bool started_ = false;
  bool formatSet_ = false;
};

}  // namespace orlisk
