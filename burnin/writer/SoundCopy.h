#pragma once
// The source's sound carried into an output file packet for packet, without
// decoding: the stream the reader plays, on the time line of the source's
// pictures (their first one is time 0, as in the reader). Internal to the
// writer; used by the encoding thread that owns the output.
#include <cstdint>
#include <string>

#include "media/FfmpegPtr.h"
#include "playback/LocalInput.h"

namespace orlisk {

class SoundCopy {
 public:
  // Opens `sourcePath` on its own and adds to `output` a stream with the
  // parameters of its sound. Raises MediaError when the file cannot be read
  // or has no sound.
  SoundCopy(const std::string& sourcePath, AVFormatContext& output);
  SoundCopy(const SoundCopy&) = delete;
  SoundCopy& operator=(const SoundCopy&) = delete;

  // Writes the packets that start before `untilMicroseconds` and end after
  // time 0 (or just before it), interleaved with the other streams. A read error ends the sound
  // there, as the reader's does. Raises MediaError when writing fails.
  void CopyUntil(std::int64_t untilMicroseconds);

 private:
  InputGuard guard_;  // outlives the demuxer, which refers to it
  InputFormatPtr input_;
  AVFormatContext* output_;
  AVStream* source_ = nullptr;
  AVStream* copy_ = nullptr;
  AvPacketPtr packet_;
  bool holding_ = false;  // packet_ is read but lies beyond what was asked for
  bool ended_ = false;
  std::int64_t origin_ = 0;  // the first picture's time, in the sound's time base
  std::int64_t nextStart_ = 0;  // for packets without a time stamp
  std::int64_t pastStart_ = 0;  // packets ending before this are left out
};

}  // namespace orlisk
