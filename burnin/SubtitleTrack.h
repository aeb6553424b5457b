#pragma once
// The subtitles as packets of a subtitle stream, made by FFmpeg's own
// encoders from ASS events: "ass" for Matroska (the event as it is, the
// script's header as the stream's header), "mov_text" for MP4 (the text,
// its line breaks and its colours; places have no room there). Internal to
// the soft subtitle job (FFmpeg types).
#include <string>

#include "media/FfmpegPtr.h"
#include "subtitles/SubtitleTime.h"

namespace orlisk {

class SubtitleTrack {
 public:
  // Opens the encoder `encoder` ("ass", "mov_text") with `assHeader` (an ASS
  // script up to its [Events] Format line). Raises MediaError when the
  // installed FFmpeg lacks it or it refuses the header.
  SubtitleTrack(const std::string& encoder, const std::string& assHeader);

  // What the stream is made from (AVCodecParameters come from it).
  const AVCodecContext& encoder() const { return *encoder_; }

  // One subtitle: `assEvent` is the event's fields without its times
  // ("readOrder,layer,style,name,marginL,marginR,marginV,effect,text"),
  // shown from `begin` to `end`. The packet's times are in ms.
  AvPacketPtr Encode(const std::string& assEvent, SubtitleTime begin, SubtitleTime end);

 private:
  CodecContextPtr encoder_;
};

}  // namespace orlisk
