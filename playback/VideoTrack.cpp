#include "VideoTrack.h"

#include <algorithm>
#include <limits>

#include "media/MediaError.h"

namespace orlisk {
namespace {

constexpr AVRational kMilliseconds{1, 1000};

double ChooseFrameRate(const AVStream& stream) {
  for (AVRational rate : {stream.avg_frame_rate, stream.r_frame_rate}) {
    if (rate.num > 0 && rate.den > 0) {
      const double fps = av_q2d(rate);
      if (fps >= 1.0 && fps <= 1000.0) return fps;
    }
  }
  return 25.0;
}

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// When neither the stream nor the container states a length (raw elementary
// streams), the packets are counted and their times looked at.
std::int32_t ScanDuration(StreamDecoder& decoder, double frameRate) {
  AVFormatContext* format = decoder.Format();
  const AVStream* stream = decoder.Stream();
  AvPacketPtr packet(av_packet_alloc());
  if (!packet) return 0;
  std::int64_t count = 0;
  std::int64_t first = AV_NOPTS_VALUE;
  std::int64_t last = AV_NOPTS_VALUE;
  while (av_read_frame(format, packet.get()) >= 0) {
    if (packet->stream_index == stream->index) {
      ++count;
      if (packet->pts != AV_NOPTS_VALUE) {
        first = first == AV_NOPTS_VALUE ? packet->pts : std::min(first, packet->pts);
        last = last == AV_NOPTS_VALUE ? packet->pts + packet->duration
                                      : std::max(last, packet->pts + packet->duration);
      }
    }
    av_packet_unref(packet.get());
  }
  decoder.SeekBackwardTo(std::numeric_limits<std::int64_t>::min());
  const auto counted = static_cast<std::int64_t>(static_cast<double>(count) * 1000.0 / frameRate);
  const std::int64_t timed =
      first == AV_NOPTS_VALUE ? 0 : av_rescale_q(last - first, stream->time_base, kMilliseconds);
  return ClampToInt32(std::max(counted, timed));
}

std::int32_t ChooseDuration(StreamDecoder& decoder, double frameRate) {
  const AVStream* stream = decoder.Stream();
  if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
    return ClampToInt32(av_rescale_q(stream->duration, stream->time_base, kMilliseconds));
  }
  const AVFormatContext* format = decoder.Format();
  if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
    return ClampToInt32(av_rescale_q(format->duration, AV_TIME_BASE_Q, kMilliseconds));
  }
  if (stream->nb_frames > 0) {
    return ClampToInt32(static_cast<std::int64_t>(static_cast<double>(stream->nb_frames) * 1000.0 / frameRate));
  }
  return ScanDuration(decoder, frameRate);
}

}  // namespace

VideoTrack::VideoTrack(const std::string& path)
    : decoder_(StreamDecoder::Open(path, AVMEDIA_TYPE_VIDEO, 0)) {
  if (!decoder_) throw MediaError("Cannot open \"" + path + "\" as a video: it has no picture");
  const AVCodecParameters* parameters = decoder_->Stream()->codecpar;
  width_ = parameters->width;
  height_ = parameters->height;
  if (width_ <= 0 || height_ <= 0) throw MediaError("Cannot open \"" + path + "\": the picture has no size");
  frameRate_ = ChooseFrameRate(*decoder_->Stream());
  duration_ = ChooseDuration(*decoder_, frameRate_);
  countFrames_ = (decoder_->Format()->iformat->flags & (AVFMT_TS_DISCONT | AVFMT_NOTIMESTAMPS)) != 0;
  // Containers without a stated length (MPEG program and transport streams)
  // get one estimated from the time stamps near the end, which misses the
  // last pictures; decoding the last group of pictures finds the true end.
  std::int64_t decodedEnd = AV_NOPTS_VALUE;
  if (decoder_->Format()->duration_estimation_method == AVFMT_DURATION_FROM_PTS) {
    decodedEnd = FindEndByDecoding();
    decoder_ = StreamDecoder::Open(path, AVMEDIA_TYPE_VIDEO, 0);
    if (!decoder_) throw MediaError("Cannot open \"" + path + "\" as a video: it has no picture");
  }

  // The first picture fixes time 0 and proves the file can be decoded.
  pending_.reset(av_frame_alloc());
  if (!pending_) throw MediaError::FromAv("Cannot open \"" + path + "\"", AVERROR(ENOMEM));
  if (!decoder_->NextFrame(pending_.get())) {
    throw MediaError("Cannot open \"" + path + "\": no picture could be decoded from it");
  }
  origin_ = pending_->best_effort_timestamp;
  if (origin_ == AV_NOPTS_VALUE) {
    origin_ = decoder_->Stream()->start_time == AV_NOPTS_VALUE ? 0 : decoder_->Stream()->start_time;
  }
  lastTimestamp_ = origin_;
  pendingTime_ = 0;
  // The container's word first (it may correct the codec's, as players take
  // it), else the decoded picture's own.
  const AVRational container = decoder_->Stream()->sample_aspect_ratio;
  const AVRational picture = pending_->sample_aspect_ratio;
  aspect_ = container.num > 0 && container.den > 0 ? MakePixelAspect(container.num, container.den)
                                                   : MakePixelAspect(picture.num, picture.den);
  if (decodedEnd != AV_NOPTS_VALUE && decodedEnd > origin_) {
    duration_ = ClampToInt32(av_rescale_q(decodedEnd - origin_, decoder_->Stream()->time_base, kMilliseconds));
  }
}

std::int64_t VideoTrack::FrameStep() const {
  const AVRational frameDuration = av_inv_q(av_d2q(frameRate_, 1 << 20));
  return std::max<std::int64_t>(1, av_rescale_q(1, frameDuration, decoder_->Stream()->time_base));
}

std::int64_t VideoTrack::NextTimestamp(const AVFrame& frame, std::int64_t previous) const {
  const std::int64_t stamped = frame.best_effort_timestamp;
  if (previous == AV_NOPTS_VALUE) return stamped == AV_NOPTS_VALUE ? origin_ : stamped;
  if (countFrames_ || stamped == AV_NOPTS_VALUE) return previous + FrameStep();
  return stamped;
}

std::int64_t VideoTrack::FindEndByDecoding() {
  const AVStream* stream = decoder_->Stream();
  const std::int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
  decoder_->SeekBackwardTo(start + av_rescale_q(duration_, kMilliseconds, stream->time_base));
  AvFramePtr frame(av_frame_alloc());
  if (!frame) return AV_NOPTS_VALUE;
  std::int64_t last = AV_NOPTS_VALUE;
  while (decoder_->NextFrame(frame.get())) {
    last = NextTimestamp(*frame, last);
    av_frame_unref(frame.get());
  }
  return last == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : last + FrameStep();
}

std::int64_t VideoTrack::OriginMicroseconds() const {
  return av_rescale_q(origin_, decoder_->Stream()->time_base, AV_TIME_BASE_Q);
}

bool VideoTrack::DecodeTimed(AVFrame* frame, std::int32_t& time) {
  if (!decoder_->NextFrame(frame)) return false;
  const std::int64_t timestamp = NextTimestamp(*frame, lastTimestamp_);
  lastTimestamp_ = timestamp;
  time = std::max<std::int32_t>(
      0, ClampToInt32(av_rescale_q(timestamp - origin_, decoder_->Stream()->time_base, kMilliseconds)));
  return true;
}

TimedPicture VideoTrack::Deliver(AvFramePtr frame, std::int32_t time) {
  lastDeliveredTime_ = time;
  return {std::move(frame), time};
}

std::optional<TimedPicture> VideoTrack::Next() {
  if (pending_) return Deliver(std::move(pending_), pendingTime_);
  if (ended_) return std::nullopt;
  AvFramePtr frame(av_frame_alloc());
  if (!frame) throw MediaError::FromAv("Cannot decode a picture", AVERROR(ENOMEM));
  std::int32_t time = 0;
  if (!DecodeTimed(frame.get(), time)) {
    ended_ = true;
    return std::nullopt;
  }
  return Deliver(std::move(frame), time);
}

std::optional<TimedPicture> VideoTrack::SeekTo(std::int32_t ms) {
  pending_.reset();
  ended_ = false;
  lastDeliveredTime_ = -1;
  ms = std::max<std::int32_t>(0, ms);
  if (ms >= duration_) {
    ended_ = true;
    return std::nullopt;
  }

  const AVRational timeBase = decoder_->Stream()->time_base;
  const std::int64_t target = origin_ + av_rescale_q(ms, kMilliseconds, timeBase);
  std::int64_t seekPoint = target;
  std::int64_t stepBack = std::max<std::int64_t>(1, av_rescale_q(1000, kMilliseconds, timeBase));
  for (;;) {
    decoder_->SeekBackwardTo(seekPoint);
    lastTimestamp_ = AV_NOPTS_VALUE;
    AvFramePtr shown;  // the last picture not later than ms
    std::int32_t shownTime = 0;
    AvFramePtr after(av_frame_alloc());
    if (!after) throw MediaError::FromAv("Cannot decode a picture", AVERROR(ENOMEM));
    std::int32_t afterTime = 0;
    bool haveAfter = false;
    while (DecodeTimed(after.get(), afterTime)) {
      if (afterTime > ms) {
        haveAfter = true;
        break;
      }
      if (!shown) shown.reset(av_frame_alloc());
      if (!shown) throw MediaError::FromAv("Cannot decode a picture", AVERROR(ENOMEM));
      av_frame_unref(shown.get());
      av_frame_move_ref(shown.get(), after.get());
      shownTime = afterTime;
    }
    if (shown) {
      if (haveAfter) {
        pending_ = std::move(after);
        pendingTime_ = afterTime;
      } else {
        ended_ = true;
      }
      return Deliver(std::move(shown), shownTime);
    }
    const bool atStart = seekPoint <= origin_;
    if (haveAfter && atStart) {
      // The target lies before the first picture.
      return Deliver(std::move(after), afterTime);
    }
    if (atStart) {
      ended_ = true;
      return std::nullopt;
    }
    // The container put us after the target: start earlier.
    seekPoint = std::max(origin_, seekPoint - stepBack);
    stepBack *= 2;
  }
}

std::int32_t VideoTrack::EndTime() const {
  const std::int32_t frameMs = static_cast<std::int32_t>(1000.0 / frameRate_ + 0.5);
  if (lastDeliveredTime_ < 0) return duration_;
  return std::max(duration_, lastDeliveredTime_ + frameMs);
}

}  // namespace orlisk
