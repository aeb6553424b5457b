#include "PacedAudioPlayer.h"

namespace orlisk {

PacedAudioPlayer::PacedAudioPlayer() {
  refillTimer_.setInterval(kCheckIntervalMs);
  refillTimer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&refillTimer_, &QTimer::timeout, [this] { CheckQueue(); });
}

void PacedAudioPlayer::StartAudio() {
  StartOutput();
  started_ = true;
  refillTimer_.start();
}

void PacedAudioPlayer::StopAudio() {
  refillTimer_.stop();
  started_ = false;
  StopOutput();
}

void PacedAudioPlayer::CheckQueue() {
  if (!started_) return;
  for (int request = 0; request < kMaxRequestsPerCheck; ++request) {
    const int queued = QueuedMilliseconds();
    if (queued >= kLowWaterMs) return;
    requestMoreAudio();
    // Nothing came (the end of the sound, or a video without sound), or the
    // owner stopped the sound from its callback: ask again at the next look.
    if (!started_ || QueuedMilliseconds() <= queued) return;
  }
}

}  // namespace orlisk
