#pragma once
// The loudness of a video's whole sound, for drawing a waveform: the highest
// absolute sample of every kPeakStepMs of sound, on the picture's clock (step
// 0 starts at the first picture, as the reader's time 0 does). The scan reads
// the file through a demuxer and decoder of its own on a thread of its own,
// decodes only the sound (the picture's packets are passed over undecoded),
// and hands its results over in pieces while it goes. No FFmpeg types here:
// the application includes this header.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace orlisk {

// 10 ms a step: two hours of sound take 720,000 peaks, 1.4 MB.
inline constexpr int kPeakStepMs = 10;

// A peak: 0 for silence, 65535 for a full-scale sample (1.0 as a float, the
// most negative value of an integer format).
using SoundPeak = std::uint16_t;
inline constexpr SoundPeak kFullScalePeak = 65535;

// Peaks of the steps first, first + 1, ... Every step the scan has passed is
// in exactly one piece; a step the sound does not reach (a gap, the time
// before the sound starts) is 0.
struct SoundPeakPiece {
  std::size_t First = 0;
  std::vector<SoundPeak> Peaks;
};

class SoundScanner {
 public:
  struct Callbacks {
    // A piece of the scan; pieces arrive in order of their steps.
    std::function<void(SoundPeakPiece piece)> PeaksFound;
    // Called once, last: `foundSound` is false when the file has no sound
    // the scan can decode (no pieces came before) or could not be read.
    std::function<void(bool foundSound)> Ended;
  };

  // Starts scanning `path` at once. The callbacks run on the scanner's
  // thread, never after the destructor has returned.
  SoundScanner(std::string path, Callbacks callbacks);
  // Stops the scan where it is (also while the file is being opened) and
  // waits for the thread; `Ended` is not called for a scan stopped early.
  ~SoundScanner();
  SoundScanner(const SoundScanner&) = delete;
  SoundScanner& operator=(const SoundScanner&) = delete;

 private:
  void Scan(const std::string& path);

  Callbacks callbacks_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace orlisk
