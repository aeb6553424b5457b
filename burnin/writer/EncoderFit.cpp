#include "EncoderFit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "WriterClock.h"

namespace orlisk {
namespace {

constexpr int kDefaultAudioKbps = 128;

bool Named(const AVCodec* codec, const char* name) { return std::string(codec->name) == name; }

template <typename Values>
int Nearest(const Values& values, int wanted) {
  int best = *values.begin();
  for (int value : values) {
    if (std::abs(value - wanted) < std::abs(best - wanted)) best = value;
  }
  return best;
}

bool IsPcmLike(const AVCodec* codec) {
  const std::string name = codec->name;
  return name.rfind("pcm_", 0) == 0 || name.rfind("adpcm_", 0) == 0 || name.rfind("libgsm", 0) == 0;
}

}  // namespace

AVPixelFormat PickPixelFormat(const AVCodec* codec) {
  if (!codec->pix_fmts) return AV_PIX_FMT_YUV420P;
  for (const AVPixelFormat* format = codec->pix_fmts; *format != AV_PIX_FMT_NONE; ++format) {
    if (*format == AV_PIX_FMT_YUV420P || *format == AV_PIX_FMT_YUVJ420P) return *format;
  }
  return codec->pix_fmts[0];
}

AVRational FrameRateFraction(double frameRate) {
  const double rate = UsableFrameRate(frameRate);
  for (int whole : {24, 30, 60, 120}) {
    if (std::abs(rate - whole * 1000.0 / 1001.0) < 0.01) return {whole * 1000, 1001};
  }
  // MPEG-4 and its kin write the rate with a 16-bit numerator.
  return av_d2q(rate, 65535);
}

AVRational NearestMpegFrameRate(AVRational wanted) {
  static const AVRational kRates[] = {{24000, 1001}, {24, 1},       {25, 1}, {30000, 1001}, {30, 1},
                                      {50, 1},       {60000, 1001}, {60, 1}, {0, 0}};
  return kRates[av_find_nearest_q_idx(wanted, kRates)];
}

AVRational PickFrameRate(const AVCodec* codec, double wanted) {
  const AVRational fraction = FrameRateFraction(wanted);
  if (codec->id == AV_CODEC_ID_MPEG1VIDEO || codec->id == AV_CODEC_ID_MPEG2VIDEO) {
    return NearestMpegFrameRate(fraction);
  }
  if (codec->supported_framerates) {
    return codec->supported_framerates[av_find_nearest_q_idx(fraction, codec->supported_framerates)];
  }
  return fraction;
}

int NearestSampleRate(const AVCodec* codec, int wanted) {
  if (Named(codec, "libgsm_ms") || Named(codec, "libgsm")) return 8000;
  int rate = wanted;
  if (codec->supported_samplerates) {
    rate = codec->supported_samplerates[0];
    for (const int* candidate = codec->supported_samplerates; *candidate; ++candidate) {
      const int distance = std::abs(*candidate - wanted);
      const int bestDistance = std::abs(rate - wanted);
      if (distance < bestDistance || (distance == bestDistance && *candidate > rate)) rate = *candidate;
    }
  }
  if (codec->id == AV_CODEC_ID_WMAV2) rate = std::min(rate, 48000);
  return std::clamp(rate, 8000, 192000);
}

int NearestChannelCount(const AVCodec* codec, int wanted) {
  if (Named(codec, "libgsm_ms") || Named(codec, "libgsm")) return 1;
  if (codec->ch_layouts) {
    int best = 0;
    for (const AVChannelLayout* layout = codec->ch_layouts; layout->nb_channels; ++layout) {
      const int count = layout->nb_channels;
      if (best == 0 || std::abs(count - wanted) < std::abs(best - wanted)) best = count;
    }
    if (best > 0) return best;
  }
  const std::string name = codec->name;
  if (name.rfind("pcm_", 0) == 0) return std::clamp(wanted, 1, 8);
  return std::clamp(wanted, 1, 2);
}

std::int64_t AudioBitRate(const AVCodec* codec, int kbps, int sampleRate) {
  if (IsPcmLike(codec)) return 0;
  if (kbps <= 0) kbps = kDefaultAudioKbps;
  if (codec->id == AV_CODEC_ID_MP2) {
    if (sampleRate >= 32000) {
      kbps = Nearest(std::initializer_list<int>{32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384}, kbps);
    } else {
      kbps = Nearest(std::initializer_list<int>{8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}, kbps);
    }
  } else if (codec->id == AV_CODEC_ID_AC3) {
    kbps = Nearest(std::initializer_list<int>{32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448,
                                              512, 576, 640},
                   kbps);
  } else if (codec->id == AV_CODEC_ID_WMAV2) {
    kbps = std::clamp(kbps, 24, 384);
  } else {
    kbps = std::clamp(kbps, 8, 512);
  }
  return std::int64_t{kbps} * 1000;
}

}  // namespace orlisk
