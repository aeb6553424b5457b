#pragma once
// Sound played faster or slower with its pitch kept, for playback at another
// speed: the reader's blocks (16-bit interleaved PCM) go in, blocks that last
// 1/speed as long at the same rate and pitch come out. FFmpeg's atempo filter
// does the work; at speed 1 blocks pass through untouched.
//
// One thread at a time (playback uses it on the user-interface thread). The
// filter works on overlapping windows, so it holds back the last few tens of
// milliseconds of what it was given: Process may return less than it was
// handed (nothing at all for the first small blocks), and Flush gives out
// the rest once the sound has ended. Output time 0 is input time 0: sound at
// input time t is heard at t / speed. Errors raise MediaError.
#include <memory>

#include "media/Frame.h"

namespace orlisk {

class SoundTempo {
 public:
  // The speeds the filter keeps the pitch at without chaining.
  static constexpr double kSlowest = 0.5;
  static constexpr double kFastest = 2.0;

  // Blocks of `sampleRate` Hz and `channels` channels, played at `speed`
  // (kSlowest..kFastest; outside it raises MediaError).
  SoundTempo(int sampleRate, int channels, double speed);
  ~SoundTempo();
  SoundTempo(const SoundTempo&) = delete;
  SoundTempo& operator=(const SoundTempo&) = delete;

  // `block` at the speed, as far as the filter has it ready. A trailing
  // partial sample is kept for the next block.
  AudioBlock Process(const AudioBlock& block);
  // What the filter still holds; after it, the stage takes nothing more.
  AudioBlock Flush();

 private:
  struct Graph;
  std::unique_ptr<Graph> graph_;  // null at speed 1
};

}  // namespace orlisk
