#pragma once
// The picture side of a source file: decodes in presentation order, gives
// each picture its time in ms from the first picture, and seeks to the exact
// picture shown at a time. Pictures come out as the decoder made them; the
// reader converts only those it shows. Not thread-safe; the reader serialises
// calls. Internal to playback/.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "media/FfmpegPtr.h"
#include "media/PictureShape.h"
#include "StreamDecoder.h"

namespace orlisk {

struct TimedPicture {
  AvFramePtr Picture;     // never null
  std::int32_t Time = 0;  // ms from the first picture
};

class VideoTrack {
 public:
  // Opens the file's video and decodes its first picture. Raises MediaError
  // when the file has no video or no picture can be decoded from it.
  explicit VideoTrack(const std::string& path);

  // The next picture, or nothing after the last one.
  std::optional<TimedPicture> Next();
  // Makes the picture shown at `ms` (the last one whose time is not later)
  // the next one and returns it; nothing when `ms` is at or past the end.
  // A time before the first picture gives the first picture.
  std::optional<TimedPicture> SeekTo(std::int32_t ms);

  // Where the position stands once every picture was read: the later of the
  // stated duration and the end of the last picture read.
  std::int32_t EndTime() const;

  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelAspect Aspect() const { return aspect_; }
  double FrameRate() const { return frameRate_; }
  std::int32_t Duration() const { return duration_; }
  // The first picture's time in microseconds of the file's clock; sound is
  // aligned to it.
  std::int64_t OriginMicroseconds() const;
  const StreamDecoder& Decoder() const { return *decoder_; }

 private:
  // Decodes the next picture into `frame` and gives its time; false at the end.
  bool DecodeTimed(AVFrame* frame, std::int32_t& time);
  TimedPicture Deliver(AvFramePtr frame, std::int32_t time);
  // The time just after the last picture, on the stream's clock.
  std::int64_t FindEndByDecoding();
  std::int64_t FrameStep() const;  // one frame in the stream's time base
  // The time of a decoded picture that follows one at `previous` (none after
  // a seek): its own stamp, or one frame later where stamps cannot be trusted.
  std::int64_t NextTimestamp(const AVFrame& frame, std::int64_t previous) const;

  std::unique_ptr<StreamDecoder> decoder_;
  AvFramePtr pending_;  // decoded, not yet handed out (seen while seeking)
  std::int32_t pendingTime_ = 0;
  bool ended_ = false;

  int width_ = 0;
  int height_ = 0;
  PixelAspect aspect_;
  double frameRate_ = 25.0;
  std::int32_t duration_ = 0;
  std::int64_t origin_ = 0;  // stream time base
  // MPEG program and transport streams stamp only some pictures, and not
  // always the right ones: there the pictures after the first one decoded
  // are timed by counting frames.
  bool countFrames_ = false;
  std::int64_t lastTimestamp_ = AV_NOPTS_VALUE;
  std::int32_t lastDeliveredTime_ = -1;
};

}  // namespace orlisk
