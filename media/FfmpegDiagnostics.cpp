#include "media/FfmpegDiagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace orlisk {
namespace {

void DropLine(void*, int, const char*, va_list) {}

// FFmpeg's threads log at once; one line at a time, each with its prefix.
void PrintInfoAndAbove(void* context, int level, const char* format, va_list arguments) {
  if (level > AV_LOG_INFO) return;
  static std::mutex mutex;
  static int printPrefix = 1;
  const std::lock_guard<std::mutex> lock(mutex);
  char line[1024];
  av_log_format_line2(context, level, format, arguments, line, sizeof line, &printPrefix);
  std::fputs(line, stderr);
}

std::string VersionOf(unsigned version) {
  return std::to_string(AV_VERSION_MAJOR(version)) + "." + std::to_string(AV_VERSION_MINOR(version)) + "." +
         std::to_string(AV_VERSION_MICRO(version));
}

}  // namespace

void ShowFfmpegLog(bool shown) { av_log_set_callback(shown ? PrintInfoAndAbove : DropLine); }

std::string FfmpegVersionsText() {
  return "FFmpeg libraries: libavformat " + VersionOf(avformat_version()) + ", libavcodec " +
         VersionOf(avcodec_version()) + ", libavutil " + VersionOf(avutil_version()) + ", libswscale " +
         VersionOf(swscale_version()) + ", libswresample " + VersionOf(swresample_version());
}

}  // namespace orlisk
