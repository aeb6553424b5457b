#include "AudioTrack.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "media/MediaError.h"

namespace orlisk {
namespace {

constexpr AVRational kMilliseconds{1, 1000};
constexpr int kDefaultBlockMs = 40;
// A sound track that starts later than the picture is padded with at most
// this much silence, so a broken time stamp cannot make a huge buffer.
constexpr std::int64_t kMaxPaddingSeconds = 60;

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

AVChannelLayout UsableLayout(const AVChannelLayout& layout) {
  AVChannelLayout result{};
  if (layout.order == AV_CHANNEL_ORDER_UNSPEC) {
    av_channel_layout_default(&result, layout.nb_channels);
  } else {
    av_channel_layout_copy(&result, &layout);
  }
  return result;
}

}  // namespace

std::unique_ptr<AudioTrack> AudioTrack::Open(const std::string& path, std::int64_t originMicroseconds) {
  auto decoder = StreamDecoder::Open(path, AVMEDIA_TYPE_AUDIO, 1);
  if (!decoder) return nullptr;
  const AVCodecParameters* parameters = decoder->Stream()->codecpar;
  if (parameters->ch_layout.nb_channels <= 0 || parameters->sample_rate <= 0) return nullptr;

  std::unique_ptr<AudioTrack> track(new AudioTrack);
  track->channels_ = parameters->ch_layout.nb_channels;
  track->sampleRate_ = parameters->sample_rate;
  track->originMicroseconds_ = originMicroseconds;
  track->frame_.reset(av_frame_alloc());
  if (!track->frame_) throw MediaError::FromAv("Cannot decode the sound", AVERROR(ENOMEM));

  // The length on the picture's clock: where the sound ends, less the time
  // of the first picture.
  const AVStream* stream = decoder->Stream();
  const AVFormatContext* format = decoder->Format();
  if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
    std::int64_t microseconds = av_rescale_q(stream->duration, stream->time_base, AV_TIME_BASE_Q);
    if (stream->start_time != AV_NOPTS_VALUE) {
      microseconds += av_rescale_q(stream->start_time, stream->time_base, AV_TIME_BASE_Q) - originMicroseconds;
    }
    track->duration_ = ClampToInt32(std::max<std::int64_t>(0, microseconds / 1000));
  } else if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
    track->duration_ = ClampToInt32(av_rescale_q(format->duration, AV_TIME_BASE_Q, kMilliseconds));
  }
  track->decoder_ = std::move(decoder);
  return track;
}

void AudioTrack::SeekTo(std::int32_t ms) {
  ms = std::max<std::int32_t>(0, ms);
  const AVStream* stream = decoder_->Stream();
  const std::int64_t target =
      av_rescale_q(originMicroseconds_ + std::int64_t{ms} * 1000, AV_TIME_BASE_Q, stream->time_base);
  decoder_->SeekBackwardTo(target);
  buffer_.clear();
  bufferStart_ = 0;
  ended_ = false;
  aligning_ = true;
  startSample_ = av_rescale(ms, sampleRate_, 1000);
  bytesRead_ = 0;
}

std::int32_t AudioTrack::Position() const {
  const std::int64_t samples = startSample_ + bytesRead_ / BytesPerSample();
  return ClampToInt32(av_rescale(samples, 1000, sampleRate_));
}

AudioBlock AudioTrack::Read(int requestedBytes) {
  std::size_t wanted = requestedBytes > 0
                           ? static_cast<std::size_t>(requestedBytes)
                           : static_cast<std::size_t>(std::max(1, sampleRate_ * kDefaultBlockMs / 1000)) *
                                 static_cast<std::size_t>(BytesPerSample());
  while (buffer_.size() - bufferStart_ < wanted && !ended_) {
    if (!Refill()) ended_ = true;
  }
  wanted = std::min(wanted, buffer_.size() - bufferStart_);
  AudioBlock block;
  const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(bufferStart_);
  block.Bytes.assign(first, first + static_cast<std::ptrdiff_t>(wanted));
  bufferStart_ += wanted;
  bytesRead_ += static_cast<std::int64_t>(wanted);
  // Keep the buffer from growing: drop what was read once it is most of it.
  if (bufferStart_ > 0 && bufferStart_ * 2 >= buffer_.size()) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(bufferStart_));
    bufferStart_ = 0;
  }
  return block;
}

bool AudioTrack::Refill() {
  if (!decoder_->NextFrame(frame_.get())) return false;
  Convert(*frame_);
  if (aligning_) {
    const std::int64_t timestamp = frame_->best_effort_timestamp;
    if (timestamp == AV_NOPTS_VALUE) {
      aligning_ = false;
    } else {
      const std::int64_t microseconds =
          av_rescale_q(timestamp, decoder_->Stream()->time_base, AV_TIME_BASE_Q) - originMicroseconds_;
      AlignTo(av_rescale(microseconds, sampleRate_, 1000000));
    }
  }
  av_frame_unref(frame_.get());
  return true;
}

// The buffer holds only the piece just decoded (reading restarted and nothing
// was kept yet); cut what lies before the start, or pad a gap up to it.
void AudioTrack::AlignTo(std::int64_t frameStartSample) {
  const auto bytesPerSample = static_cast<std::int64_t>(BytesPerSample());
  if (frameStartSample < startSample_) {
    const auto cut = static_cast<std::size_t>(std::min<std::int64_t>(
        (startSample_ - frameStartSample) * bytesPerSample, static_cast<std::int64_t>(buffer_.size())));
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(cut));
    aligning_ = buffer_.empty();
  } else {
    const std::int64_t gap =
        std::min(frameStartSample - startSample_, kMaxPaddingSeconds * sampleRate_);
    buffer_.insert(buffer_.begin(), static_cast<std::size_t>(gap * bytesPerSample), 0);
    aligning_ = false;
  }
}

void AudioTrack::Convert(const AVFrame& frame) {
  if (!resampler_ || frame.sample_rate != resamplerInputRate_ || frame.format != resamplerInputFormat_ ||
      frame.ch_layout.nb_channels != resamplerInputChannels_) {
    AVChannelLayout input = UsableLayout(frame.ch_layout);
    AVChannelLayout output{};
    if (input.nb_channels == channels_) {
      av_channel_layout_copy(&output, &input);
    } else {
      av_channel_layout_default(&output, channels_);
    }
    SwrContext* raw = nullptr;
    int error = swr_alloc_set_opts2(&raw, &output, AV_SAMPLE_FMT_S16, sampleRate_, &input,
                                    static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&input);
    av_channel_layout_uninit(&output);
    SwrContextPtr resampler(raw);
    if (error >= 0) error = swr_init(resampler.get());
    if (error < 0) throw MediaError::FromAv("Cannot convert the sound", error);
    resampler_ = std::move(resampler);
    resamplerInputRate_ = frame.sample_rate;
    resamplerInputFormat_ = frame.format;
    resamplerInputChannels_ = frame.ch_layout.nb_channels;
  }

  const int capacity = swr_get_out_samples(resampler_.get(), frame.nb_samples);
  if (capacity <= 0) return;
  const std::size_t oldSize = buffer_.size();
  buffer_.resize(oldSize + static_cast<std::size_t>(capacity) * static_cast<std::size_t>(BytesPerSample()));
  std::uint8_t* output = buffer_.data() + oldSize;
  const int converted = swr_convert(resampler_.get(), &output, capacity,
                                    const_cast<const std::uint8_t**>(frame.extended_data), frame.nb_samples);
  if (converted < 0) {
    buffer_.resize(oldSize);
    throw MediaError::FromAv("Cannot convert the sound", converted);
  }
  buffer_.resize(oldSize + static_cast<std::size_t>(converted) * static_cast<std::size_t>(BytesPerSample()));
}

}  // namespace orlisk
