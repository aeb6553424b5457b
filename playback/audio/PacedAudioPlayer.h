#pragma once
// The refill loop shared by the players: while started, a timer on the
// user-interface thread looks at the queue every few milliseconds and asks
// the owner for more sound while less than a comfortable amount is queued.
// The owner answers by calling QueueAudio from its callback.
#include <QTimer>

#include "playback/AudioPlayer.h"

namespace orlisk {

class PacedAudioPlayer : public AudioPlayer {
 public:
  // How often the queue is looked at, and how much sound it should hold:
  // enough to play on while the user-interface thread is held up (a busy
  // machine can keep it from running for a few hundred milliseconds), so the
  // sound does not break up. A deep queue costs nothing in sync, as playback
  // keeps time by the sound played, nor at a stop, which drops the queue.
  static constexpr int kCheckIntervalMs = 10;
  static constexpr int kLowWaterMs = 500;
  // The owner may have no more sound; asking a few times per look is enough.
  static constexpr int kMaxRequestsPerCheck = 4;

  PacedAudioPlayer();

  void StartAudio() override;
  void StopAudio() override;

  // Sound queued and not yet played, in milliseconds: how far the sound you
  // hear lags behind what was last queued.
  virtual int QueuedMilliseconds() = 0;

  // One look at the queue, as the timer makes it; nothing while stopped.
  void CheckQueue();

 protected:
  virtual void StartOutput() = 0;
  virtual void StopOutput() = 0;

 private:
  QTimer refillTimer_;
  bool started_ = false;
};

}  // namespace orlisk
