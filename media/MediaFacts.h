#pragma once
// Names and bit rates of a source's streams as the writer's configuration
// compares them. Internal to the media code (reader and writer).
#include <cstdint>
#include <string>

#include "FfmpegPtr.h"

namespace orlisk {

// `text` with its ASCII letters in lower case: how names of codecs, formats
// and file extensions are compared.
std::string AsciiLowerCase(std::string text);

// "wav" for any PCM, "adpcm" for any ADPCM, "alaw", "ulaw", "gsm" (both GSM
// variants), else FFmpeg's short codec name ("mp3", "aac", ...). Lower case.
std::string AudioFormatName(AVCodecID codec);
// "mpeg1 video" for MPEG-1 video, else the codec's long name in lower case
// (its short name when it has none).
std::string VideoFormatName(AVCodecID codec);

// Bits per second: the stream's own figure; for PCM the sample size times the
// rate; else what the container's rate (or its size over its length) leaves
// after the other streams' known rates. 0 when nothing tells.
std::int64_t StreamBitRate(const AVFormatContext& format, const AVStream& stream);

}  // namespace orlisk
