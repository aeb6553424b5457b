#pragma once
// The sound side of a source file, read through a demuxer of its own:
// interleaved signed 16-bit samples at the source's rate and channel count,
// on the same clock as the pictures (time 0 is the first picture; sound
// before it is dropped, a late start is filled with silence).
// Not thread-safe; used from the reader's caller thread only. Internal to playback/.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/FfmpegPtr.h"
#include "media/Frame.h"
#include "StreamDecoder.h"

namespace orlisk {

class AudioTrack {
 public:
  // nullptr when the file has no sound. `originMicroseconds` is the time of
  // the first picture on the file's clock.
  static std::unique_ptr<AudioTrack> Open(const std::string& path, std::int64_t originMicroseconds);

  // Exactly `requestedBytes` (about 40 ms for 0) while sound lasts, the rest
  // at the end, then empty blocks.
  AudioBlock Read(int requestedBytes);
  // Reading continues from `ms`.
  void SeekTo(std::int32_t ms);
  // The time of the next byte Read gives.
  std::int32_t Position() const;

  int Channels() const { return channels_; }
  int SampleRate() const { return sampleRate_; }
  std::int32_t Duration() const { return duration_; }
  const StreamDecoder& Decoder() const { return *decoder_; }

 private:
  AudioTrack() = default;
  // Decodes one more piece of sound into the buffer; false at the end.
  bool Refill();
  void Convert(const AVFrame& frame);
  void AlignTo(std::int64_t frameStartSample);
  int BytesPerSample() const { return channels_ * 2; }

  std::unique_ptr<StreamDecoder> decoder_;
  SwrContextPtr resampler_;
  AvFramePtr frame_;
  int resamplerInputRate_ = 0;
  int resamplerInputFormat_ = -1;
  int resamplerInputChannels_ = 0;

  int channels_ = 0;
  int sampleRate_ = 0;
  std::int32_t duration_ = 0;
  std::int64_t originMicroseconds_ = 0;

  std::vector<std::uint8_t> buffer_;  // converted, not yet read
  std::size_t bufferStart_ = 0;
  bool ended_ = false;
  bool aligning_ = true;  // the next decoded piece is cut or padded to startSample_
  std::int64_t startSample_ = 0;   // sample where reading (re)started
  std::int64_t bytesRead_ = 0;     // since then
};

}  // namespace orlisk
