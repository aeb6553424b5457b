#include "SilentQueue.h"

#include <algorithm>

namespace orlisk {

SilentQueue::SilentQueue(Clock now) : now_(std::move(now)) {}

void SilentQueue::SetFormat(int sampleRate, int channels) {
  Drain();
  bytesPerSecond_ = (sampleRate > 0 && channels > 0) ? std::int64_t{sampleRate} * channels * 2 : 0;
}

void SilentQueue::Start() {
  Drain();
  started_ = true;
  playedMicroseconds_ = 0;
  drainedUntil_ = now_();
}

void SilentQueue::Stop() {
  started_ = false;
  queuedMicroseconds_ = 0;
}

void SilentQueue::Add(std::size_t bytes) {
  if (bytesPerSecond_ == 0) return;
  Drain();
  queuedMicroseconds_ += static_cast<std::int64_t>(bytes) * 1'000'000 / bytesPerSecond_;
}

int SilentQueue::QueuedMilliseconds() {
  Drain();
  return static_cast<int>(queuedMicroseconds_ / 1000);
}

int SilentQueue::PlayedMilliseconds() {
  Drain();
  return static_cast<int>(playedMicroseconds_ / 1000);
}

void SilentQueue::Drain() {
  if (!started_) return;
  const auto now = now_();
  const auto played = std::chrono::duration_cast<std::chrono::microseconds>(now - drainedUntil_);
  drainedUntil_ = now;
  // Time spent with nothing queued is not owed later: the queue never goes below empty.
  const std::int64_t ranOut = std::min<std::int64_t>(queuedMicroseconds_, played.count());
  queuedMicroseconds_ -= ranOut;
  playedMicroseconds_ += ranOut;
}

}  // namespace orlisk
