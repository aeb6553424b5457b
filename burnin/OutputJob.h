#pragma once
// What a driver (the window's write loop, orlisk-burn) needs of a job that
// writes a new video: passes until it is done, then one Finish. Two kinds
// stand behind it: WriteJob burns the subtitles into re-encoded pictures,
// SoftSubtitleJob copies the streams and adds the subtitles as a track.
// Each kind has a Start of its own, since they need different things.
#include <cstdint>
#include <string>

#include "subtitles/SubtitleTime.h"

namespace orlisk {

class OutputJob {
 public:
  virtual ~OutputJob() = default;
  // One pass, short enough for a window to let its events through between
  // two. False once everything is written (nothing more to do).
  virtual bool Step() = 0;
  // Closes the output and puts it in place under the target's name, whether
  // the job ran to its end or the driver stops early: a stopped video plays
  // to where it stopped. Later calls do nothing. When closing or naming
  // fails, the partial goes and the error goes on.
  virtual void Finish() = 0;
  // 0..10000.
  virtual int Progress() const = 0;
  virtual bool started() const = 0;
  virtual std::int64_t framesWritten() const = 0;
  // Where the written video ends so far, in ms of the source's time line.
  virtual SubtitleTime writtenUntil() const = 0;
  // The target's path; after Finish, the name the video got.
  virtual const std::string& outputPath() const = 0;
};

}  // namespace orlisk
