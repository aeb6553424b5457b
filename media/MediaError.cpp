#include "MediaError.h"

extern "C" {
#include <libavutil/error.h>
}

namespace orlisk {

MediaError MediaError::FromAv(const std::string& context, int averror) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  if (av_strerror(averror, text, sizeof text) < 0) {
    return MediaError(context + ": unknown error " + std::to_string(averror));
  }
  return MediaError(context + ": " + text);
}

}  // namespace orlisk
