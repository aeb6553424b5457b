#include "SoundCopy.h"

#include "media/MediaError.h"

namespace orlisk {
namespace {

// The stream FFmpeg ranks best, as the reader takes it; a cover picture is
// no video.
AVStream* MainStream(AVFormatContext& format, AVMediaType type) {
  const int best = av_find_best_stream(&format, type, -1, -1, nullptr, 0);
  if (best >= 0 && !(format.streams[best]->disposition & AV_DISPOSITION_ATTACHED_PIC)) return format.streams[best];
  for (unsigned i = 0; i < format.nb_streams; ++i) {
    AVStream* stream = format.streams[i];
    if (stream->codecpar->codec_type == type && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) return stream;
  }
  return nullptr;
}

// How far before the first picture a packet may end and still be copied.
constexpr std::int64_t kRunUpMicroseconds = 100'000;

}  // namespace

SoundCopy::SoundCopy(const std::string& sourcePath, AVFormatContext& output)
    : output_(&output), packet_(av_packet_alloc()) {
  if (!packet_) throw MediaError("Out of memory while copying the sound");
  input_ = OpenLocalInput(sourcePath, guard_);
  if (const int error = avformat_find_stream_info(input_.get(), nullptr); error < 0) {
    throw MediaError::FromAv("Cannot read the streams of \"" + sourcePath + "\"", error);
  }
  source_ = MainStream(*input_, AVMEDIA_TYPE_AUDIO);
  if (!source_) throw MediaError("Cannot copy the sound of \"" + sourcePath + "\": it has none");
  // Time 0 is the first picture's, as for the reader; without pictures, the
  // sound's own start.
  if (const AVStream* video = MainStream(*input_, AVMEDIA_TYPE_VIDEO); video && video->start_time != AV_NOPTS_VALUE) {
    origin_ = av_rescale_q(video->start_time, video->time_base, source_->time_base);
  } else if (source_->start_time != AV_NOPTS_VALUE) {
    origin_ = source_->start_time;
  }
  // Only the sound is read on: the demuxer drops the other streams' packets.
  for (unsigned i = 0; i < input_->nb_streams; ++i) {
    if (input_->streams[i] != source_) input_->streams[i]->discard = AVDISCARD_ALL;
  }
  pastStart_ = -av_rescale_q(kRunUpMicroseconds, AV_TIME_BASE_Q, source_->time_base);

  copy_ = avformat_new_stream(&output, nullptr);
  if (!copy_) throw MediaError("Out of memory while setting up the output file");
  if (const int error = avcodec_parameters_copy(copy_->codecpar, source_->codecpar); error < 0) {
    throw MediaError::FromAv("Cannot copy the sound", error);
  }
  // The source container's tag means nothing in another container.
  copy_->codecpar->codec_tag = 0;
  copy_->time_base = source_->time_base;
}

void SoundCopy::CopyUntil(std::int64_t untilMicroseconds) {
  const std::int64_t until = av_rescale_q(untilMicroseconds, AV_TIME_BASE_Q, source_->time_base);
  while (!ended_) {
    if (!holding_) {
      guard_.startNow(kReadTimeLimitMicroseconds);
      if (av_read_frame(input_.get(), packet_.get()) < 0) {
        ended_ = true;
        return;
      }
      if (packet_->stream_index != source_->index) {
        av_packet_unref(packet_.get());
        continue;
      }
      holding_ = true;
      if (packet_->pts == AV_NOPTS_VALUE) packet_->pts = packet_->dts;
      if (packet_->pts == AV_NOPTS_VALUE) {
        packet_->pts = nextStart_;
      } else {
        packet_->pts -= origin_;
      }
      if (packet_->dts != AV_NOPTS_VALUE) packet_->dts -= origin_;
      nextStart_ = packet_->pts + packet_->duration;
    }
    if (packet_->pts >= until) return;  // kept for a later call
    holding_ = false;
    if (packet_->pts + packet_->duration < pastStart_) {
      // Sound from well before the first picture plays nowhere in the copy;
      // a packet just before it is the codec's run-up (AAC's priming) and
      // goes with it, as the container's own edit says.
      av_packet_unref(packet_.get());
      continue;
    }
    packet_->stream_index = copy_->index;
    packet_->pos = -1;
    av_packet_rescale_ts(packet_.get(), source_->time_base, copy_->time_base);
    if (const int error = av_interleaved_write_frame(output_, packet_.get()); error < 0) {
      throw MediaError::FromAv("Cannot write the output file", error);
    }
  }
}

}  // namespace orlisk
