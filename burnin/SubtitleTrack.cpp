#include "SubtitleTrack.h"

#include <cstring>

#include "media/MediaError.h"

namespace orlisk {
namespace {

// Room for one encoded event: the text (at most a few hundred bytes) with
// its styling boxes or fields; what is not used is given back.
constexpr int kPacketRoom = 64 * 1024;

}  // namespace

SubtitleTrack::SubtitleTrack(const std::string& encoder, const std::string& assHeader) {
  const AVCodec* codec = avcodec_find_encoder_by_name(encoder.c_str());
  if (!codec) throw MediaError("Cannot write " + encoder + " subtitles: the installed FFmpeg has no encoder for them");
  encoder_.reset(avcodec_alloc_context3(codec));
  if (!encoder_) throw MediaError::FromAv("Cannot write the subtitles", AVERROR(ENOMEM));
  encoder_->time_base = {1, 1000};
  // The encoder owns this copy and frees it with its context.
  encoder_->subtitle_header = static_cast<std::uint8_t*>(av_mallocz(assHeader.size() + 1));
  if (!encoder_->subtitle_header) throw MediaError::FromAv("Cannot write the subtitles", AVERROR(ENOMEM));
  std::memcpy(encoder_->subtitle_header, assHeader.data(), assHeader.size());
  encoder_->subtitle_header_size = static_cast<int>(assHeader.size());
  if (int error = avcodec_open2(encoder_.get(), codec, nullptr); error < 0)
    throw MediaError::FromAv("Cannot write " + encoder + " subtitles", error);
}

AvPacketPtr SubtitleTrack::Encode(const std::string& assEvent, SubtitleTime begin, SubtitleTime end) {
  AvPacketPtr packet(av_packet_alloc());
  if (!packet || av_new_packet(packet.get(), kPacketRoom) < 0)
    throw MediaError::FromAv("Cannot write the subtitles", AVERROR(ENOMEM));
  std::string text = assEvent;  // the rectangle holds a writable C string
  AVSubtitleRect rect{};
  rect.type = SUBTITLE_ASS;
  rect.ass = text.data();
  AVSubtitleRect* rects[] = {&rect};
  AVSubtitle subtitle{};
  subtitle.num_rects = 1;
  subtitle.rects = rects;
  subtitle.end_display_time = static_cast<std::uint32_t>(end - begin);
  const int size = avcodec_encode_subtitle(encoder_.get(), packet->data, packet->size, &subtitle);
  if (size < 0) throw MediaError::FromAv("Cannot write the subtitle at " + FormatSubtitleTime(begin), size);
  av_shrink_packet(packet.get(), size);
  packet->pts = begin;
  packet->dts = begin;
  packet->duration = end - begin;
  packet->flags |= AV_PKT_FLAG_KEY;
  return packet;
}

}  // namespace orlisk
