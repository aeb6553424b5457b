// Thirty seconds of 1080p H.264 at 25 frames per second with AAC sound,
// played as the program plays it (see PlaybackRun.h). The clip is made once
// and kept in the benchmark cache folder.
//
// Prints the frames due, shown, passed over and late, the CPU per frame shown,
// the sound against the picture (sampled as ffplay samples it) and where the
// time of a tick goes. Goals: no frame late or passed over; at most 20 ms of
// CPU per frame shown (0.5 s per second at 25 frames per second); the sound
// within half a frame period of the picture at the start, drifting from it by
// at most 1 ms per second. The test device's own pace against the wall clock
// is printed apart: the picture follows the sound, whatever its pace.
//
// Usage: bench_playback [seconds to play, default 30] [sound's sample rate, default 44100]
#include <QApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "BenchClips.h"
#include "BenchClock.h"
#include "PlaybackRun.h"

using namespace orlisk::bench;

int main(int argc, char** argv) {
  // Before Qt and SDL start: no display, and an audio device that plays into
  // nothing at about the real pace.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;
  const int sampleRate = argc > 2 ? std::atoi(argv[2]) : 44100;
  QApplication application(argc, argv);

  const std::string loadBefore = LoadAverage();
  const PlaybackFigures f = RunPlayback({.clip = PlaybackClip(sampleRate), .seconds = seconds});
  if (!f.failure.empty()) {
    std::printf("playback failed: %s\n", f.failure.c_str());
    PrintResult("playback", "a run that ends", "failed", false);
    return 1;
  }
  std::printf("load average before %s, after %s\n", loadBefore.c_str(), LoadAverage().c_str());
  PrintPlaybackDetails(f);

  const double halfPeriod = f.frameMs / 2;
  PrintResult("playback frames late", "none", Format("%d of %d shown", f.framesLate, f.framesShown),
              f.framesLate == 0);
  PrintResult("playback frames passed over", "none", Format("%d of %d due", f.framesSkipped, f.framesDue),
              f.framesSkipped == 0);
  PrintResult("playback CPU per frame shown", "at most 20 ms", Format("%.2f ms", f.CpuMsPerFrameShown()),
              f.CpuMsPerFrameShown() <= 20.0);
  PrintResult("playback A/V offset at start", Format("within %.0f ms", halfPeriod), Format("%+.1f ms", f.avAtStartMs),
              std::abs(f.avAtStartMs) <= halfPeriod);
  PrintResult("playback A/V drift", "within 1 ms per s", Format("%+.2f ms per s", f.avDriftMsPerS),
              std::abs(f.avDriftMsPerS) <= 1.0);
  return 0;
}
