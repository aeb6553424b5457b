#include "AviEncoders.h"

#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace orlisk {
namespace {

AviCodecSettings ByQuality(int quality) {
  AviCodecSettings settings;
  settings.Quality = quality;
  return settings;
}

AviCodecSettings Lossless() {
  AviCodecSettings settings;
  settings.Lossless = true;
  return settings;
}

struct Candidate {
  const char* encoder;
  AviCodecSettings defaults;
};

}  // namespace

std::span<const AviEncoder> AviEncoders() {
  static const std::vector<AviEncoder> installed = [] {
    // Quality 90 is MPEG-4 quantiser 4 and quality 61 is x264's CRF 20: both
    // look like the source at a fraction of its size.
    const Candidate candidates[] = {
        {"libxvid", ByQuality(90)}, {"mpeg4", ByQuality(90)}, {"msmpeg4v2", ByQuality(90)},
        {"msmpeg4", ByQuality(90)}, {"mjpeg", ByQuality(90)}, {"libx264", ByQuality(61)},
        {"huffyuv", Lossless()},    {"ffv1", Lossless()},     {"utvideo", Lossless()},
    };
    std::vector<AviEncoder> found;
    for (const Candidate& candidate : candidates) {
      const AVCodec* codec = avcodec_find_encoder_by_name(candidate.encoder);
      if (!codec) continue;
      found.push_back({candidate.encoder, codec->long_name ? codec->long_name : candidate.encoder, candidate.defaults});
    }
    return found;
  }();
  return installed;
}

}  // namespace orlisk
