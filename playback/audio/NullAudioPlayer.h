#pragma once
// A player without a device: nothing is heard, but queued sound runs out at
// real-time speed and more is asked for as a real device would, so playback
// paces its reading the same way. For machines without sound and for tests.
#include "PacedAudioPlayer.h"
#include "SilentQueue.h"

namespace orlisk {

class NullAudioPlayer : public PacedAudioPlayer {
 public:
  explicit NullAudioPlayer(SilentQueue::Clock now = std::chrono::steady_clock::now)
      : queue_(std::move(now)) {}

  void SetAudioFormat(int sampleRate, int channels) override {
    queue_.SetFormat(sampleRate, channels);
  }
  void QueueAudio(const AudioBlock& block) override { queue_.Add(block.Bytes.size()); }
  int QueuedMilliseconds() override { return queue_.QueuedMilliseconds(); }
  // The silent queue runs out at real-time speed: what ran out counts as played.
  std::optional<std::int32_t> PlayedMilliseconds() override { return queue_.PlayedMilliseconds(); }

 protected:
  void StartOutput() override { queue_.Start(); }
  void StopOutput() override { queue_.Stop(); }

 private:
  SilentQueue queue_;
};

}  // namespace orlisk
