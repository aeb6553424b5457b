#pragma once
// One measured playback of a clip, as the program plays it: the main window's
// Play, Timer1 as a precise QTimer running PlaybackTick in the Qt event loop,
// FeedAudio on the audio player's requests, the FFmpeg reader, the edit
// renderer drawing a typed two-line text on every frame, the video view
// widget (offscreen) and the SDL player (its dummy driver). The other seams
// are the scripted stand-ins of the command tests: they cost nothing worth
// measuring here. Needs a QApplication; run on its thread.
#include <string>
#include <vector>

namespace orlisk::bench {

struct PlaybackOptions {
  std::string clip;
  double seconds = 30.0;  // of playback to measure
  int viewWidth = 566;    // the main window's view
  int viewHeight = 378;
};

// Count, sum and largest duration of one measured step, in ms; and the CPU
// time the calling thread spent in it (wall time also counts the time the
// thread waited for the decoder or for a CPU).
struct StepCost {
  int count = 0;
  double totalMs = 0;
  double maxMs = 0;
  double cpuMs = 0;
  void Add(double ms, double threadCpuMs = 0);
};

struct PlaybackFigures {
  std::string failure;  // empty when the run went through
  std::string description;  // the clip and the sound device
  double playedSeconds = 0;
  double frameMs = 40;
  int tickIntervalMs = 8;

  // Frames: those the sound passed during the run were due; each was shown
  // (painted), passed over by the player, or shown but replaced before a
  // paint. A shown frame is late when the sound was more than a frame period
  // past it at its paint.
  int framesDue = 0;
  int framesShown = 0;
  int framesSkipped = 0;
  int framesReplaced = 0;
  int framesLate = 0;
  double largestLatenessMs = 0;
  double latenessP99Ms = 0;

  double cpuSeconds = 0;   // the whole process during playback
  double wallSeconds = 0;
  double CpuMsPerFrameShown() const { return framesShown ? 1000.0 * cpuSeconds / framesShown : 0.0; }

  // Sound against picture, sampled every 30 ms as ffplay's status line does:
  // the sound's position minus the picture's (the shown frame's time plus the
  // time since its paint); positive when the picture is behind the sound.
  std::vector<double> avSeconds, avOffsetsMs;
  double avAtStartMs = 0;      // a straight line through the samples: where it starts
  double avDriftMsPerS = 0;    // and how it moves per second played
  double avMeanAbsMs = 0, avP95AbsMs = 0, avMaxAbsMs = 0;
  // The test device's own pace: its played sound against the wall clock
  // (ms per second; the dummy driver sleeps whole milliseconds per buffer),
  // and how far the sound fell behind the wall clock in all, waits included.
  double deviceDriftMsPerS = 0;
  double soundBehindWallMs = 0;
  // Looks at the player's queue (every 30 ms) that found it empty: the
  // sound ran dry because it was not fed in time.
  int soundDryLooks = 0;
  int soundLooks = 0;

  // Where the time goes on the user-interface thread.
  StepCost readFrame, skipFrame, loadFrame, drawText, takeFrame, showFrame, paint, frameTicks, idleTicks,
      feedAudio, tickGaps;
};

PlaybackFigures RunPlayback(const PlaybackOptions& options);

// The figures above as lines of text, without the verdicts.
void PrintPlaybackDetails(const PlaybackFigures& figures);

}  // namespace orlisk::bench
