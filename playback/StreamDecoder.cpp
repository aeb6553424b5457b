#include "StreamDecoder.h"

#include "media/MediaError.h"

namespace orlisk {

std::unique_ptr<StreamDecoder> StreamDecoder::Open(const std::string& path, AVMediaType type,
                                                   int decoderThreads, const std::atomic<bool>* stopFlag) {
  const std::string quoted = "\"" + path + "\"";
  std::unique_ptr<StreamDecoder> result(new StreamDecoder);
  result->guard_.stopWhen(stopFlag);
  InputFormatPtr format = OpenLocalInput(path, result->guard_);
  if (int error = avformat_find_stream_info(format.get(), nullptr); error < 0) {
    throw MediaError::FromAv("Cannot read the streams of " + quoted, error);
  }
  const int index = MainStream(*format, type);
  if (index < 0) return nullptr;

  AVStream* stream = format->streams[index];
  const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!decoder) {
    throw MediaError::FromAv("No decoder for the " + std::string(av_get_media_type_string(type)) +
                                 " of " + quoted,
                             AVERROR_DECODER_NOT_FOUND);
  }
  CodecContextPtr codec(avcodec_alloc_context3(decoder));
  if (!codec) throw MediaError::FromAv("Cannot decode " + quoted, AVERROR(ENOMEM));
  if (int error = avcodec_parameters_to_context(codec.get(), stream->codecpar); error < 0) {
    throw MediaError::FromAv("Cannot decode " + quoted, error);
  }
  codec->thread_count = decoderThreads;
  codec->pkt_timebase = stream->time_base;
  if (int error = avcodec_open2(codec.get(), decoder, nullptr); error < 0) {
    throw MediaError::FromAv("Cannot start the decoder for " + quoted, error);
  }
  // Packets of the other streams are never needed by this demuxer.
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    if (static_cast<int>(i) != index) format->streams[i]->discard = AVDISCARD_ALL;
  }

  result->format_ = std::move(format);
  result->codec_ = std::move(codec);
  result->packet_.reset(av_packet_alloc());
  if (!result->packet_) throw MediaError::FromAv("Cannot decode " + quoted, AVERROR(ENOMEM));
  result->streamIndex_ = index;
  return result;
}

bool StreamDecoder::NextFrame(AVFrame* frame) {
  for (;;) {
    const int received = avcodec_receive_frame(codec_.get(), frame);
    if (received == 0) return true;
    if (received != AVERROR(EAGAIN)) return false;  // drained, or a decoder failure
    if (draining_) return false;

    guard_.startNow(kReadTimeLimitMicroseconds);
    if (av_read_frame(format_.get(), packet_.get()) < 0) {
      // End of file, or the file ended early, went away or stopped answering:
      // let the decoder give out the pictures it still holds.
      draining_ = true;
      avcodec_send_packet(codec_.get(), nullptr);
      continue;
    }
    if (packet_->stream_index == streamIndex_) {
      // A packet the decoder rejects is damaged: skip it, keep going.
      avcodec_send_packet(codec_.get(), packet_.get());
    }
    av_packet_unref(packet_.get());
  }
}

void StreamDecoder::SeekBackwardTo(std::int64_t timestamp) {
  guard_.startNow(kReadTimeLimitMicroseconds);
  // Streams without an index (MPEG transport and program streams) are sought
  // by guessing a byte position from the bit rate, which can land well past
  // the start; near the start, going back to the first byte is both exact
  // and cheap, as the caller decodes forward to its target anyway.
  const bool readAsBytes = (format_->iformat->flags & AVFMT_TS_DISCONT) != 0;
  if (readAsBytes && NearTheStart(timestamp)) {
    if (av_seek_frame(format_.get(), -1, 0, AVSEEK_FLAG_BYTE) >= 0) {
      avcodec_flush_buffers(codec_.get());
      draining_ = false;
      return;
    }
  }
  if (av_seek_frame(format_.get(), streamIndex_, timestamp, AVSEEK_FLAG_BACKWARD) < 0) {
    av_seek_frame(format_.get(), -1, 0, AVSEEK_FLAG_BYTE);
  }
  avcodec_flush_buffers(codec_.get());
  draining_ = false;
}

bool StreamDecoder::NearTheStart(std::int64_t timestamp) const {
  // Within this much of the stream's first time stamp, reading from the first
  // byte costs less than a guessed seek that may land too late.
  constexpr std::int64_t kStartWindowMicroseconds = 1'000'000;
  const AVStream* stream = Stream();
  const std::int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
  if (timestamp <= start) return true;
  return av_rescale_q(timestamp - start, stream->time_base, AV_TIME_BASE_Q) < kStartWindowMicroseconds;
}

}  // namespace orlisk
