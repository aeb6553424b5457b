#include "EncoderStages.h"

#include <algorithm>

#include "OutputPicture.h"
#include "Yuv420FromBgra.h"
#include "media/MediaError.h"
#include "media/PictureAccess.h"

namespace orlisk {
namespace {

AvFramePtr NewFrame() {
  AvFramePtr frame(av_frame_alloc());
  if (!frame) throw MediaError("Out of memory while encoding");
  return frame;
}

void Check(int result, const std::string& context) {
  if (result < 0) throw MediaError::FromAv(context, result);
}

}  // namespace

StreamEncoder::StreamEncoder(CodecContextPtr encoder, AVStream& stream, AVFormatContext& output, std::string what)
    : encoder_(std::move(encoder)),
      stream_(&stream),
      output_(&output),
      packet_(av_packet_alloc()),
      what_(std::move(what)) {
  if (!packet_) throw MediaError("Out of memory while encoding");
}

void StreamEncoder::Encode(AVFrame* frame) {
  if (drained_) return;
  if (!frame) drained_ = true;
  // Xvid and FFmpeg's MPEG-4, MS-MPEG-4 and MJPEG encoders take a fixed
  // quantiser from each picture, not from the context; a picture without one
  // is coded at their finest quantiser, twice the size asked for.
  if (frame && (encoder_->flags & AV_CODEC_FLAG_QSCALE)) frame->quality = encoder_->global_quality;
  const int sent = avcodec_send_frame(encoder_.get(), frame);
  if (sent < 0 && sent != AVERROR_EOF) throw MediaError::FromAv("Cannot encode the " + what_, sent);
  for (;;) {
    const int received = avcodec_receive_packet(encoder_.get(), packet_.get());
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return;
    Check(received, "Cannot encode the " + what_);
    av_packet_rescale_ts(packet_.get(), encoder_->time_base, stream_->time_base);
    packet_->stream_index = stream_->index;
    // Takes the packet's data and leaves the packet blank for the next one.
    Check(av_interleaved_write_frame(output_, packet_.get()), "Cannot write the output file");
  }
}

VideoStage::VideoStage(StreamEncoder encoder, AVRational sourceRate, const PictureRect& picture)
    : encoder_(std::move(encoder)),
      sourceRate_(sourceRate),
      outputRate_(encoder_.context().framerate),
      place_(picture) {
  const AVCodecContext& context = encoder_.context();
  if (place_.X < 0 || place_.Y < 0 || place_.Width <= 0 || place_.Height <= 0 ||
      place_.X + place_.Width > context.width || place_.Y + place_.Height > context.height) {
    throw MediaError("The picture's place does not fit the output's frame of " + std::to_string(context.width) +
                     "x" + std::to_string(context.height));
  }
}

bool VideoStage::TakeSourceFrame(std::int64_t& end) {
  // Source frame i covers [i, i + 1) / sourceRate; it becomes the output frames
  // whose times fall in that span, so the output keeps the source's timing at
  // any rate.
  const std::int64_t scale = std::int64_t{outputRate_.num} * sourceRate_.den;
  const std::int64_t divisor = std::int64_t{outputRate_.den} * sourceRate_.num;
  end = av_rescale_rnd(++sourceFrames_, scale, divisor, AV_ROUND_UP);
  return end > nextOutputFrame_;
}

void VideoStage::EncodeUpTo(AVFrame& picture, std::int64_t end) {
  for (; nextOutputFrame_ < end; ++nextOutputFrame_) {
    picture.pts = nextOutputFrame_;
    encoder_.Encode(&picture);
  }
}

void VideoStage::Write(Frame frame) {
  if (frame.empty()) return;
  if (frame.Width <= 0 || frame.Height <= 0 || frame.Stride < frame.Width * 4 ||
      frame.Pixels.size() < static_cast<std::size_t>(frame.Stride) * static_cast<std::size_t>(frame.Height)) {
    throw MediaError("Cannot encode a frame whose pixels do not fill its size (" + std::to_string(frame.Width) + "x" +
                     std::to_string(frame.Height) + ")");
  }
  std::int64_t end = 0;
  if (!TakeSourceFrame(end)) return;  // dropped: a lower output rate
  const AvFramePtr picture = Convert(frame);
  // A large picture need not be held twice (a 16000x8000 one is 512 MB)
  // while the encoder works on its converted copy.
  frame = Frame{};
  EncodeUpTo(*picture, end);
}

void VideoStage::Write(DecodedPicture picture) {
  if (picture.empty()) return;
  std::int64_t end = 0;
  if (!TakeSourceFrame(end)) return;
  const AVFrame& decoded = FrameOf(picture);
  const AVCodecContext& context = encoder_.context();
  AvFramePtr encoded;
  const bool fills = place_ == PictureRect{0, 0, context.width, context.height};
  if (fills && decoded.width == context.width && decoded.height == context.height &&
      decoded.format == context.pix_fmt) {
    // Already what the encoder takes: its planes go in as they are, without
    // what the decoder said about the picture (its type, its quality, side
    // data), which would steer the encoder.
    encoded = NewFrame();
    encoded->format = decoded.format;
    encoded->width = decoded.width;
    encoded->height = decoded.height;
    encoded->color_range = context.color_range;
    for (int i = 0; i < AV_NUM_DATA_POINTERS; ++i) {
      encoded->data[i] = decoded.data[i];
      encoded->linesize[i] = decoded.linesize[i];
      if (decoded.buf[i] && !(encoded->buf[i] = av_buffer_ref(decoded.buf[i]))) {
        throw MediaError("Out of memory while encoding");
      }
    }
    encoded->extended_data = encoded->data;
  } else {
    encoded = Convert(decoded);
  }
  // The decoded picture goes back to the decoder's pool as soon as it can.
  picture = DecodedPicture{};
  EncodeUpTo(*encoded, end);
}

AvFramePtr VideoStage::NewPicture() {
  const AVCodecContext& context = encoder_.context();
  AvFramePtr picture = pictures_.Take(context.pix_fmt, context.width, context.height);
  picture->color_range = context.color_range;
  return picture;
}

AvFramePtr VideoStage::Convert(const Frame& frame) {
  const AVCodecContext& context = encoder_.context();
  AvFramePtr picture = NewPicture();
  const PictureWindow window = WindowOf(*picture, place_);
  if (frame.Width == place_.Width && frame.Height == place_.Height && context.pix_fmt == AV_PIX_FMT_YUV420P) {
    ConvertBgraToYuv420(frame.Pixels.data(), frame.Stride, frame.Width, frame.Height,
                        {window.Data[0], window.Linesize[0], window.Data[1], window.Linesize[1], window.Data[2],
                         window.Linesize[2]});
  } else {
    // Bicubic: exact luma at the same size, and a fair picture when scaling.
    scaler_.reset(sws_getCachedContext(scaler_.release(), frame.Width, frame.Height, AV_PIX_FMT_BGRA, place_.Width,
                                       place_.Height, context.pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler_) throw MediaError("Cannot convert frames for the video encoder");
    const std::uint8_t* source[4] = {frame.Pixels.data(), nullptr, nullptr, nullptr};
    const int sourceStride[4] = {frame.Stride, 0, 0, 0};
    sws_scale(scaler_.get(), source, sourceStride, 0, frame.Height, window.Data, window.Linesize);
  }
  // Pooled memory holds an earlier picture: the bars are painted every time.
  if (place_.Width != context.width || place_.Height != context.height) PaintAround(*picture, place_);
  return picture;
}

AvFramePtr VideoStage::Convert(const AVFrame& decoded) {
  const AVCodecContext& context = encoder_.context();
  const auto format = static_cast<AVPixelFormat>(decoded.format);
  if (!sws_isSupportedInput(format)) throw MediaError("Cannot convert pictures for the video encoder");
  AvFramePtr picture = NewPicture();
  const PictureWindow window = WindowOf(*picture, place_);
  scaler_.reset(sws_getCachedContext(scaler_.release(), decoded.width, decoded.height, format, place_.Width,
                                     place_.Height, context.pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!scaler_) throw MediaError("Cannot convert pictures for the video encoder");
  sws_scale(scaler_.get(), decoded.data, decoded.linesize, 0, decoded.height, window.Data, window.Linesize);
  if (place_.Width != context.width || place_.Height != context.height) PaintAround(*picture, place_);
  return picture;
}

void VideoStage::Finish() { encoder_.Encode(nullptr); }

AudioStage::AudioStage(StreamEncoder encoder, int sourceRate, int sourceChannels)
    : encoder_(std::move(encoder)), sourceChannels_(sourceChannels), converted_(NewFrame()) {
  const AVCodecContext& context = encoder_.context();
  const bool anySize = context.frame_size <= 0 || (context.codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
  frameSize_ = anySize ? 1024 : context.frame_size;

  AVChannelLayout sourceLayout;
  av_channel_layout_default(&sourceLayout, sourceChannels);
  SwrContext* resampler = nullptr;
  // FFmpeg 5.1 asks for non-const layouts here but only reads them.
  Check(swr_alloc_set_opts2(&resampler, const_cast<AVChannelLayout*>(&context.ch_layout), context.sample_fmt,
                            context.sample_rate, &sourceLayout, AV_SAMPLE_FMT_S16, sourceRate, 0, nullptr),
        "Cannot convert the sound");
  resampler_.reset(resampler);
  Check(swr_init(resampler_.get()), "Cannot convert the sound");
  fifo_.reset(av_audio_fifo_alloc(context.sample_fmt, context.ch_layout.nb_channels, frameSize_));
  if (!fifo_) throw MediaError("Out of memory while encoding");
}

void AudioStage::Write(const AudioBlock& block) {
  const std::size_t sampleBytes = 2 * static_cast<std::size_t>(sourceChannels_);
  const std::uint8_t* bytes = block.Bytes.data();
  std::size_t size = block.Bytes.size();
  // A sample split between two blocks is put together before it is used.
  if (!partialSample_.empty()) {
    const std::size_t missing = std::min(sampleBytes - partialSample_.size(), size);
    partialSample_.insert(partialSample_.end(), bytes, bytes + missing);
    bytes += missing;
    size -= missing;
    if (partialSample_.size() < sampleBytes) return;
    Resample(partialSample_.data(), 1);
    partialSample_.clear();
  }
  const std::size_t whole = size / sampleBytes;
  if (whole > 0) Resample(bytes, static_cast<int>(whole));
  partialSample_.assign(bytes + whole * sampleBytes, bytes + size);
  EncodeQueued(false);
}

void AudioStage::Resample(const std::uint8_t* samples, int count) {
  const int room = swr_get_out_samples(resampler_.get(), count);
  if (room <= 0) return;
  if (converted_->nb_samples < room) {
    const AVCodecContext& context = encoder_.context();
    converted_.reset(av_frame_alloc());
    if (!converted_) throw MediaError("Out of memory while encoding");
    converted_->format = context.sample_fmt;
    converted_->nb_samples = room;
    Check(av_channel_layout_copy(&converted_->ch_layout, &context.ch_layout), "Cannot convert the sound");
    Check(av_frame_get_buffer(converted_.get(), 0), "Cannot make room for sound");
  }
  const std::uint8_t* input[1] = {samples};
  const int made = swr_convert(resampler_.get(), converted_->data, room, samples ? input : nullptr, count);
  Check(made, "Cannot convert the sound");
  if (made > 0) {
    Check(av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(converted_->data), made), "Cannot queue the sound");
  }
}

void AudioStage::EncodeQueued(bool toTheEnd) {
  const AVCodecContext& context = encoder_.context();
  for (;;) {
    const int queued = av_audio_fifo_size(fifo_.get());
    if (queued <= 0 || (queued < frameSize_ && !toTheEnd)) return;
    const int take = std::min(queued, frameSize_);
    // A new frame each time: the encoder may keep the previous one.
    AvFramePtr chunk = NewFrame();
    chunk->format = context.sample_fmt;
    chunk->sample_rate = context.sample_rate;
    chunk->nb_samples = take;
    Check(av_channel_layout_copy(&chunk->ch_layout, &context.ch_layout), "Cannot convert the sound");
    Check(av_frame_get_buffer(chunk.get(), 0), "Cannot make room for sound");
    Check(av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(chunk->data), take), "Cannot queue the sound");
    chunk->pts = nextPts_;
    nextPts_ += take;
    encoder_.Encode(chunk.get());
  }
}

void AudioStage::Finish() {
  // What the resampler still holds (its filter delay) comes out with no input.
  Resample(nullptr, 0);
  EncodeQueued(true);
  encoder_.Encode(nullptr);
}

}  // namespace orlisk
