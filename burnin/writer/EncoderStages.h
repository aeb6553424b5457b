#pragma once
// The two halves of an output file's encoding: pictures (converted, scaled
// and timed to the output frame rate) and sound (resampled to what the codec
// takes, cut into the codec's frame size). Each feeds one stream of the file.
// Internal to the writer; used on the encoding thread only.
#include <cstdint>
#include <string>
#include <vector>

#include "media/DecodedPicture.h"
#include "media/FfmpegPtr.h"
#include "media/Frame.h"
#include "media/PicturePool.h"
#include "media/PictureShape.h"

namespace orlisk {

// One opened encoder and the file stream it fills.
class StreamEncoder {
 public:
  // `what` names the stream in error texts ("video", "sound").
  StreamEncoder(CodecContextPtr encoder, AVStream& stream, AVFormatContext& output, std::string what);

  AVCodecContext& context() const { return *encoder_; }
  // Encodes `frame` (nullptr: the end, drain the encoder) and writes the
  // packets that come out. A picture for an encoder with a fixed quantiser
  // is given that quantiser first. Raises MediaError.
  void Encode(AVFrame* frame);

 private:
  CodecContextPtr encoder_;
  AVStream* stream_;
  AVFormatContext* output_;
  AvPacketPtr packet_;
  std::string what_;
  bool drained_ = false;
};

class VideoStage {
 public:
  // Source frames arrive at `sourceRate`; the encoder's own rate decides how
  // many output frames each becomes (none, one or several). Each is scaled
  // into `picture` of the encoder's frame, black around it.
  VideoStage(StreamEncoder encoder, AVRational sourceRate, const PictureRect& picture);
  // The frame's pixels are let go once converted, before the encoder runs.
  void Write(Frame frame);
  // A decoded picture goes to the encoder as it is when its format and size
  // are the encoder's and it fills the frame, else converted and scaled into
  // `picture` in one step.
  void Write(DecodedPicture picture);
  void Finish();

 private:
  // Counts the next source frame in; false when the output has no frame in
  // its time span (a lower output rate), else `end` is the output frame
  // number after its last one.
  bool TakeSourceFrame(std::int64_t& end);
  // Encodes `picture` as the output frames up to `end`.
  void EncodeUpTo(AVFrame& picture, std::int64_t end);
  // A picture of the encoder's format and size from the pool.
  AvFramePtr NewPicture();
  AvFramePtr Convert(const Frame& frame);
  AvFramePtr Convert(const AVFrame& picture);

  StreamEncoder encoder_;
  AVRational sourceRate_;
  AVRational outputRate_;
  PictureRect place_;
  SwsContextPtr scaler_;
  // Converted pictures, reused once the encoder has let go of them.
  PicturePool pictures_;
  std::int64_t sourceFrames_ = 0;
  std::int64_t nextOutputFrame_ = 0;
};

class AudioStage {
 public:
  // Sound arrives as interleaved signed 16-bit samples at `sourceRate`.
  AudioStage(StreamEncoder encoder, int sourceRate, int sourceChannels);
  void Write(const AudioBlock& block);
  void Finish();

 private:
  void Resample(const std::uint8_t* samples, int count);
  void EncodeQueued(bool toTheEnd);

  StreamEncoder encoder_;
  int sourceChannels_;
  int frameSize_;
  SwrContextPtr resampler_;
  AudioFifoPtr fifo_;
  AvFramePtr converted_;
  std::vector<std::uint8_t> partialSample_;  // bytes of a sample split between blocks
  std::int64_t nextPts_ = 0;
};

}  // namespace orlisk
