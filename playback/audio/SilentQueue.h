#pragma once
// Sound that plays into nothing: keeps count of the queued duration and lets
// it run out at real-time speed while started, so a player without a device
// still asks for sound at the pace a real one would.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace orlisk {

class SilentQueue {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // `now` is the time source; tests pass a clock they move by hand.
  explicit SilentQueue(Clock now = std::chrono::steady_clock::now);

  // 16-bit interleaved PCM; a rate or channel count of 0 or less means sound
  // of unknown length, which is counted as nothing.
  void SetFormat(int sampleRate, int channels);
  // Playback runs out the queue from now on.
  void Start();
  // Stops at once and forgets what was queued.
  void Stop();
  void Add(std::size_t bytes);
  // What is left to play, in whole milliseconds.
  int QueuedMilliseconds();
  // What has run out of the queue since the last Start, in whole
  // milliseconds: real time, except while the queue was empty.
  int PlayedMilliseconds();

 private:
  void Drain();

  Clock now_;
  std::int64_t bytesPerSecond_ = 0;
  std::int64_t queuedMicroseconds_ = 0;
  std::int64_t playedMicroseconds_ = 0;
  bool started_ = false;
  std::chrono::steady_clock::time_point drainedUntil_;
};

}  // namespace orlisk
