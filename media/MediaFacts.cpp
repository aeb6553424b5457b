#include "MediaFacts.h"

#include <algorithm>
#include <cctype>

namespace orlisk {

std::string AsciiLowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

namespace {

// FFmpeg numbers codecs in blocks: PCM first among the audio codecs, then ADPCM.
bool IsPcm(AVCodecID codec) { return codec >= AV_CODEC_ID_FIRST_AUDIO && codec < AV_CODEC_ID_ADPCM_IMA_QT; }
bool IsAdpcm(AVCodecID codec) { return codec >= AV_CODEC_ID_ADPCM_IMA_QT && codec < AV_CODEC_ID_AMR_NB; }

// The rate a stream states itself, or that its sample format implies.
std::int64_t OwnBitRate(const AVStream& stream) {
  const AVCodecParameters& parameters = *stream.codecpar;
  if (parameters.bit_rate > 0) return parameters.bit_rate;
  if (parameters.codec_type == AVMEDIA_TYPE_AUDIO) {
    const int bits = av_get_bits_per_sample(parameters.codec_id);
    if (bits > 0) return std::int64_t{bits} * parameters.sample_rate * parameters.ch_layout.nb_channels;
  }
  return 0;
}

}  // namespace

std::string AudioFormatName(AVCodecID codec) {
  switch (codec) {
    case AV_CODEC_ID_NONE: return "";
    case AV_CODEC_ID_PCM_ALAW: return "alaw";
    case AV_CODEC_ID_PCM_MULAW: return "ulaw";
    case AV_CODEC_ID_GSM:
    case AV_CODEC_ID_GSM_MS: return "gsm";
    default: break;
  }
  if (IsPcm(codec)) return "wav";
  if (IsAdpcm(codec)) return "adpcm";
  const char* name = avcodec_get_name(codec);
  return name ? AsciiLowerCase(name) : "";
}

std::string VideoFormatName(AVCodecID codec) {
  if (codec == AV_CODEC_ID_NONE) return "";
  if (codec == AV_CODEC_ID_MPEG1VIDEO) return "mpeg1 video";
  const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec);
  if (descriptor && descriptor->long_name) return AsciiLowerCase(descriptor->long_name);
  const char* name = avcodec_get_name(codec);
  return name ? AsciiLowerCase(name) : "";
}

std::int64_t StreamBitRate(const AVFormatContext& format, const AVStream& stream) {
  if (const std::int64_t own = OwnBitRate(stream); own > 0) return own;

  std::int64_t total = format.bit_rate;
  if (total <= 0 && format.duration > 0 && format.pb) {
    const std::int64_t size = avio_size(format.pb);
    if (size > 0) total = av_rescale(size * 8, AV_TIME_BASE, format.duration);
  }
  for (unsigned i = 0; i < format.nb_streams; ++i) {
    const AVStream* other = format.streams[i];
    const AVMediaType type = other->codecpar->codec_type;
    if (other != &stream && (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO)) {
      total -= OwnBitRate(*other);
    }
  }
  return std::max<std::int64_t>(0, total);
}

}  // namespace orlisk
