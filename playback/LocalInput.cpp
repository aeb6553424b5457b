#include "LocalInput.h"

#include <sys/stat.h>

#include <cerrno>
#include <string_view>

#include "media/MediaError.h"

extern "C" {
#include <libavutil/time.h>
}

namespace orlisk {
namespace {

// Demuxers that read other files or open network streams, by FFmpeg's names.
constexpr std::string_view kRefusedDemuxers[] = {"hls",  "dash", "concat", "sdp",   "rtp",
                                                  "rtsp", "imf",  "image2", "webm_dash_manifest"};

bool IsRefused(const char* names) {
  // A demuxer's name may list several: "mov,mp4,m4a,3gp,3g2,mj2".
  std::string_view rest = names ? names : "";
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    const std::string_view name = rest.substr(0, comma);
    for (const std::string_view refused : kRefusedDemuxers) {
      if (name == refused) return true;
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return false;
}

// The only file a demuxer may open is the one chosen; playlists, reference
// files and numbered pictures would reach others.
int OpenOnlyTheChosenFile(AVFormatContext* format, AVIOContext** pb, const char* url, int flags,
                          AVDictionary** options) {
  const auto* guard = static_cast<const InputGuard*>(format->opaque);
  if (!guard || (flags & AVIO_FLAG_WRITE) || guard->url() != url) return AVERROR(EPERM);
  av_dict_set(options, "protocol_whitelist", "file", 0);
  return avio_open2(pb, url, flags, &format->interrupt_callback, options);
}

// Dictionary options freed when they go out of scope.
struct Options {
  AVDictionary* dictionary = nullptr;
  Options() = default;
  Options(const Options&) = delete;
  Options& operator=(const Options&) = delete;
  ~Options() { av_dict_free(&dictionary); }
};

}  // namespace

void InputGuard::startNow(std::int64_t limitMicroseconds) {
  deadline_.store(av_gettime_relative() + limitMicroseconds);
}

bool InputGuard::passed() const {
  return (stopFlag_ && stopFlag_->load()) || av_gettime_relative() >= deadline_.load();
}

int InputGuard::Interrupted(void* self) { return static_cast<InputGuard*>(self)->passed() ? 1 : 0; }

InputFormatPtr OpenLocalInput(const std::string& path, InputGuard& guard) {
  const std::string quoted = "\"" + path + "\"";
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) throw MediaError::FromAv("Cannot open " + quoted, AVERROR(errno));
  if (!S_ISREG(info.st_mode)) {
    throw MediaError("Cannot open " + quoted + ": it is a folder, pipe or device, not an ordinary file");
  }

  // "file:" in front: a name with a colon is never taken for another protocol.
  guard.url_ = "file:" + path;
  AVFormatContext* raw = avformat_alloc_context();
  if (!raw) throw MediaError::FromAv("Cannot open " + quoted, AVERROR(ENOMEM));
  raw->opaque = &guard;
  raw->io_open = OpenOnlyTheChosenFile;
  raw->interrupt_callback = {&InputGuard::Interrupted, &guard};
  Options options;
  av_dict_set(&options.dictionary, "protocol_whitelist", "file", 0);
  guard.startNow(kOpenTimeLimitMicroseconds);
  // On failure avformat_open_input frees the context itself.
  if (int error = avformat_open_input(&raw, guard.url_.c_str(), nullptr, &options.dictionary); error < 0) {
    throw MediaError::FromAv("Cannot open " + quoted, error);
  }
  InputFormatPtr format(raw);
  if (IsRefused(format->iformat->name)) {
    throw MediaError("Cannot open " + quoted + ": it is a playlist, stream description or picture sequence (" +
                     format->iformat->name + "), which may lead to other files");
  }
  return format;
}

}  // namespace orlisk
