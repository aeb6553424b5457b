#include "StreamCopy.h"

#include <algorithm>

#include "media/MediaError.h"

namespace orlisk {
namespace {

constexpr AVRational kMilliseconds{1, 1000};

bool IsCoverPicture(const AVStream& stream) { return (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) != 0; }

// What the user calls the container.
std::string ContainerName(const std::string& muxer) { return muxer == "matroska" ? "MKV" : "MP4"; }

std::string CodecName(AVCodecID id) {
  const AVCodecDescriptor* descriptor = avcodec_descriptor_get(id);
  return descriptor ? descriptor->name : "unknown";
}

const AVOutputFormat& Muxer(const std::string& muxer) {
  const AVOutputFormat* format = av_guess_format(muxer.c_str(), nullptr, nullptr);
  if (!format) throw MediaError("Cannot write " + ContainerName(muxer) + ": the installed FFmpeg has no writer for it");
  return *format;
}

// 1 the container takes the codec, 0 it does not, below 0 it cannot tell
// (then the muxer decides when the file is made).
int Takes(const AVOutputFormat& muxer, AVCodecID codec) {
  return avformat_query_codec(&muxer, codec, FF_COMPLIANCE_NORMAL);
}

std::string Refusal(const AVFormatContext& input, const std::string& muxer) {
  const AVOutputFormat& format = Muxer(muxer);
  for (unsigned i = 0; i < input.nb_streams; ++i) {
    const AVStream& stream = *input.streams[i];
    const AVMediaType type = stream.codecpar->codec_type;
    if ((type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO) || IsCoverPicture(stream)) continue;
    if (Takes(format, stream.codecpar->codec_id) == 0) {
      return "The source's " + std::string(type == AVMEDIA_TYPE_VIDEO ? "video" : "sound") + " (" +
             CodecName(stream.codecpar->codec_id) + ") cannot go into " + ContainerName(muxer) + " unchanged";
    }
  }
  return "";
}

void ReadStreams(AVFormatContext& input, const std::string& source) {
  if (int error = avformat_find_stream_info(&input, nullptr); error < 0)
    throw MediaError::FromAv("Cannot read the streams of \"" + source + "\"", error);
}

}  // namespace

StreamCopy::StreamCopy(const std::string& source, const std::string& muxer)
    : input_(OpenLocalInput(source, guard_)), packet_(av_packet_alloc()), muxer_(muxer) {
  if (!packet_) throw MediaError::FromAv("Cannot copy \"" + source + "\"", AVERROR(ENOMEM));
  ReadStreams(*input_, source);
  if (const std::string refusal = Refusal(*input_, muxer); !refusal.empty()) throw MediaError(refusal);
  videoIndex_ = MainStream(*input_, AVMEDIA_TYPE_VIDEO);
  if (videoIndex_ < 0) throw MediaError("Cannot open \"" + source + "\" as a video: it has no picture");
  const AVStream& video = *input_->streams[videoIndex_];
  width_ = video.codecpar->width;
  height_ = video.codecpar->height;
  if (video.start_time != AV_NOPTS_VALUE) {
    originMicroseconds_ = av_rescale_q(video.start_time, video.time_base, AV_TIME_BASE_Q);
  } else if (input_->start_time != AV_NOPTS_VALUE) {
    originMicroseconds_ = input_->start_time;
  }
  if (input_->duration != AV_NOPTS_VALUE && input_->duration > 0) {
    const std::int64_t start = input_->start_time == AV_NOPTS_VALUE ? 0 : input_->start_time;
    duration_ = static_cast<SubtitleTime>(
        std::max<std::int64_t>(0, (input_->duration + start - originMicroseconds_) / 1000));
  }
}

StreamCopy::~StreamCopy() = default;

void StreamCopy::Create(const std::string& path, const AVCodecContext& subtitles) {
  const std::string quoted = "\"" + path + "\"";
  const AVOutputFormat& format = Muxer(muxer_);
  AVFormatContext* raw = nullptr;
  if (int error = avformat_alloc_output_context2(&raw, &format, nullptr, path.c_str()); error < 0)
    throw MediaError::FromAv("Cannot create " + quoted, error);
  output_.reset(raw);

  outputIndex_.assign(input_->nb_streams, -1);
  for (unsigned i = 0; i < input_->nb_streams; ++i) {
    AVStream& in = *input_->streams[i];
    const AVMediaType type = in.codecpar->codec_type;
    const bool picturesOrSound = (type == AVMEDIA_TYPE_VIDEO || type == AVMEDIA_TYPE_AUDIO) && !IsCoverPicture(in);
    const bool fittingSubtitles = type == AVMEDIA_TYPE_SUBTITLE && Takes(format, in.codecpar->codec_id) == 1;
    if (!picturesOrSound && !fittingSubtitles) {
      in.discard = AVDISCARD_ALL;
      continue;
    }
    AVStream* out = avformat_new_stream(output_.get(), nullptr);
    if (!out) throw MediaError::FromAv("Cannot create " + quoted, AVERROR(ENOMEM));
    if (int error = avcodec_parameters_copy(out->codecpar, in.codecpar); error < 0)
      throw MediaError::FromAv("Cannot create " + quoted, error);
    // The source container's tag may mean nothing in the new one.
    out->codecpar->codec_tag = 0;
    out->time_base = in.time_base;
    out->avg_frame_rate = in.avg_frame_rate;
    out->r_frame_rate = in.r_frame_rate;
    // The container's pixel shape first, as the reader takes it; the muxer
    // wants the stream and its parameters to agree.
    const AVRational aspect = in.sample_aspect_ratio.num > 0 ? in.sample_aspect_ratio : in.codecpar->sample_aspect_ratio;
    out->sample_aspect_ratio = aspect;
    out->codecpar->sample_aspect_ratio = aspect;
    av_dict_copy(&out->metadata, in.metadata, 0);
    // Ours is the subtitle a player shows first.
    out->disposition = type == AVMEDIA_TYPE_SUBTITLE ? in.disposition & ~AV_DISPOSITION_DEFAULT : in.disposition;
    outputIndex_[i] = out->index;
  }

  AVStream* track = avformat_new_stream(output_.get(), nullptr);
  if (!track) throw MediaError::FromAv("Cannot create " + quoted, AVERROR(ENOMEM));
  if (int error = avcodec_parameters_from_context(track->codecpar, &subtitles); error < 0)
    throw MediaError::FromAv("Cannot create " + quoted, error);
  track->time_base = kMilliseconds;
  track->disposition = AV_DISPOSITION_DEFAULT;
  // The subtitles' language is not known.
  av_dict_set(&track->metadata, "language", "und", 0);
  subtitleIndex_ = track->index;

  if (int error = avio_open(&output_->pb, path.c_str(), AVIO_FLAG_WRITE); error < 0)
    throw MediaError::FromAv("Cannot create " + quoted, error);
  AVDictionary* options = nullptr;
  // The index at the front, as players on the web want it. Not in fragments
  // as a burn writes MP4: a text track's samples lose their lengths at the
  // ends of fragments, and a copy takes seconds, not an hour a kill could cut.
  if (muxer_ == "mp4") av_dict_set(&options, "movflags", "+faststart", 0);
  const int error = avformat_write_header(output_.get(), &options);
  const DictionaryPtr unused(options);
  if (error < 0) throw MediaError::FromAv("Cannot write the beginning of " + quoted, error);
  open_ = true;
}

bool StreamCopy::CopyNext() {
  if (!open_) return false;
  for (;;) {
    guard_.startNow(kReadTimeLimitMicroseconds);
    const int read = av_read_frame(input_.get(), packet_.get());
    if (read == AVERROR_EOF) return false;
    if (read < 0) throw MediaError::FromAv("Cannot read the source", read);
    const int index = packet_->stream_index;
    if (index < 0 || static_cast<unsigned>(index) >= outputIndex_.size() || outputIndex_[index] < 0) {
      av_packet_unref(packet_.get());
      continue;
    }
    const AVRational from = input_->streams[index]->time_base;
    const std::int64_t shift = av_rescale_q(originMicroseconds_, AV_TIME_BASE_Q, from);
    if (packet_->pts != AV_NOPTS_VALUE) packet_->pts -= shift;
    if (packet_->dts != AV_NOPTS_VALUE) packet_->dts -= shift;
    const std::int64_t at = packet_->dts != AV_NOPTS_VALUE ? packet_->dts : packet_->pts;
    if (at != AV_NOPTS_VALUE) {
      const std::int64_t end = av_rescale_q(at + std::max<std::int64_t>(0, packet_->duration), from, kMilliseconds);
      position_ = std::max<SubtitleTime>(position_, static_cast<SubtitleTime>(std::clamp<std::int64_t>(end, 0, INT32_MAX)));
    }
    if (index == videoIndex_) ++pictures_;
    const AVStream& out = *output_->streams[outputIndex_[index]];
    av_packet_rescale_ts(packet_.get(), from, out.time_base);
    packet_->stream_index = out.index;
    packet_->pos = -1;
    // Takes the packet's data and leaves it empty.
    if (int error = av_interleaved_write_frame(output_.get(), packet_.get()); error < 0)
      throw MediaError::FromAv("Cannot write the new video", error);
    return true;
  }
}

void StreamCopy::WriteSubtitle(AVPacket& packet) {
  if (!open_) return;
  const AVStream& out = *output_->streams[subtitleIndex_];
  av_packet_rescale_ts(&packet, kMilliseconds, out.time_base);
  packet.stream_index = subtitleIndex_;
  if (int error = av_interleaved_write_frame(output_.get(), &packet); error < 0)
    throw MediaError::FromAv("Cannot write the subtitles", error);
}

void StreamCopy::Close() {
  if (!open_) return;
  open_ = false;
  const int error = av_write_trailer(output_.get());
  // Closed now, so that the file is whole on disk before it is named.
  output_.reset();
  if (error < 0) throw MediaError::FromAv("Cannot finish the new video", error);
}

std::string StreamCopyRefusal(const std::string& source, const std::string& muxer) {
  InputGuard guard;
  try {
    const InputFormatPtr input = OpenLocalInput(source, guard);
    ReadStreams(*input, source);
    return Refusal(*input, muxer);
  } catch (const MediaError&) {
    return "";
  }
}

}  // namespace orlisk
