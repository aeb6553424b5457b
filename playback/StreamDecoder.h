#pragma once
// One decoded stream of a media file, with a demuxer of its own: the picture
// and the sound are read through separate StreamDecoders so that neither
// waits for the other's packets. Internal to playback/.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "LocalInput.h"
#include "media/FfmpegPtr.h"

namespace orlisk {

class StreamDecoder {
 public:
  // Opens `path` and its main stream of `type` (a cover picture is not a
  // video). Returns nullptr when the file has no such stream; raises
  // MediaError when the file cannot be read or the stream cannot be decoded.
  // `decoderThreads` 0 lets FFmpeg choose. While `stopFlag` (if given) is
  // set, opening and reading give up at once, as at the end of the file; the
  // flag must outlive the decoder.
  static std::unique_ptr<StreamDecoder> Open(const std::string& path, AVMediaType type,
                                             int decoderThreads,
                                             const std::atomic<bool>* stopFlag = nullptr);

  // The next decoded frame in presentation order, or false at the end of the
  // stream. A broken packet is skipped; a read error (a truncated or vanished
  // file) ends the stream as if it had ended there.
  bool NextFrame(AVFrame* frame);

  // Repositions to the key frame at or before `timestamp` (stream time base)
  // and forgets what the decoder held. Falls back to the start of the file
  // when the container cannot seek there.
  void SeekBackwardTo(std::int64_t timestamp);

  AVFormatContext* Format() const { return format_.get(); }
  AVStream* Stream() const { return format_->streams[streamIndex_]; }
  AVCodecContext* Codec() const { return codec_.get(); }

 private:
  StreamDecoder() = default;
  bool NearTheStart(std::int64_t timestamp) const;

  InputGuard guard_;  // outlives the demuxer, which refers to it
  InputFormatPtr format_;
  CodecContextPtr codec_;
  AvPacketPtr packet_;
  int streamIndex_ = -1;
  bool draining_ = false;  // the end of the input was sent to the decoder
};

}  // namespace orlisk
