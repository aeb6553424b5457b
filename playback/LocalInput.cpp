#include "LocalInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "media/MediaError.h"

extern "C" {
#include <libavutil/time.h>
}

namespace orlisk {
namespace {

constexpr int kReadBufferBytes = 1 << 16;

// Demuxers that read their own input pass our file by and open what they
// like; these others read our file but then open what it names.
constexpr std::string_view kFollowingDemuxers[] = {"concat", "hls",    "dash",
                                                   "imf",    "sdp",    "vobsub",
                                                   "webm_dash_manifest"};

bool LeadsElsewhere(const AVInputFormat& format) {
  if (format.flags & AVFMT_NOFILE) return true;
  // A demuxer's name may list several: "mov,mp4,m4a,3gp,3g2,mj2".
  std::string_view rest = format.name ? format.name : "";
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    const std::string_view name = rest.substr(0, comma);
    for (const std::string_view following : kFollowingDemuxers) {
      if (name == following) return true;
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return false;
}

// The demuxer reads the chosen file through the context it was given; any
// other file it asks for (a reference, a playlist entry) is refused.
int RefuseOtherFiles(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

// Dictionary options freed when they go out of scope.
struct Options {
  AVDictionary* dictionary = nullptr;
  Options() = default;
  Options(const Options&) = delete;
  Options& operator=(const Options&) = delete;
  ~Options() { av_dict_free(&dictionary); }
};

}  // namespace

InputGuard::~InputGuard() {
  io_.reset();
  if (fd_ >= 0) ::close(fd_);
}

void InputGuard::startNow(std::int64_t limitMicroseconds) {
  deadline_.store(av_gettime_relative() + limitMicroseconds);
}

bool InputGuard::passed() const {
  return (stopFlag_ && stopFlag_->load()) || av_gettime_relative() >= deadline_.load();
}

int InputGuard::Interrupted(void* self) { return static_cast<InputGuard*>(self)->passed() ? 1 : 0; }

int InputGuard::Read(void* self, std::uint8_t* buffer, int size) {
  const auto* guard = static_cast<const InputGuard*>(self);
  if (guard->passed()) return AVERROR_EXIT;
  for (;;) {
    const ssize_t got = ::read(guard->fd_, buffer, static_cast<std::size_t>(size));
    if (got > 0) return static_cast<int>(got);
    if (got == 0) return AVERROR_EOF;
    if (errno != EINTR) return AVERROR(errno);
  }
}

std::int64_t InputGuard::Seek(void* self, std::int64_t offset, int whence) {
  const auto* guard = static_cast<const InputGuard*>(self);
  if (whence & AVSEEK_SIZE) {
    struct stat info {};
    return ::fstat(guard->fd_, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : AVERROR(errno);
  }
  const off_t at = ::lseek(guard->fd_, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
  return at < 0 ? AVERROR(errno) : static_cast<std::int64_t>(at);
}

InputFormatPtr OpenLocalInput(const std::string& path, InputGuard& guard) {
  const std::string quoted = "\"" + path + "\"";
  const std::string notOrdinary = "Cannot open " + quoted + ": it is a folder, pipe or device, not an ordinary file";
  // Looked at before it is opened, so that no device is opened at all; and
  // again once open, in case the name has changed hands in between (then
  // the open did not wait either: O_NONBLOCK).
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) throw MediaError::FromAv("Cannot open " + quoted, AVERROR(errno));
  if (!S_ISREG(info.st_mode)) throw MediaError(notOrdinary);
  guard.fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (guard.fd_ < 0) throw MediaError::FromAv("Cannot open " + quoted, AVERROR(errno));
  if (::fstat(guard.fd_, &info) != 0 || !S_ISREG(info.st_mode)) throw MediaError(notOrdinary);

  auto* buffer = static_cast<unsigned char*>(av_malloc(kReadBufferBytes));
  if (buffer) guard.io_.reset(avio_alloc_context(buffer, kReadBufferBytes, 0, &guard, &InputGuard::Read, nullptr,
                                                 &InputGuard::Seek));
  if (!guard.io_) {
    av_free(buffer);
    throw MediaError::FromAv("Cannot open " + quoted, AVERROR(ENOMEM));
  }

  // "file:" in front: a name with a colon is never taken for another
  // protocol. The name only helps the probe (numbered pictures are told by it).
  guard.url_ = "file:" + path;
  guard.startNow(kOpenTimeLimitMicroseconds);
  const AVInputFormat* demuxer = nullptr;
  if (int error = av_probe_input_buffer2(guard.io_.get(), &demuxer, guard.url_.c_str(), nullptr, 0, 0); error < 0) {
    throw MediaError::FromAv("Cannot open " + quoted, error);
  }
  if (LeadsElsewhere(*demuxer)) {
    throw MediaError("Cannot open " + quoted + ": it is a playlist, stream description or picture sequence (" +
                     demuxer->name + "), which may lead to other files");
  }

  AVFormatContext* raw = avformat_alloc_context();
  if (!raw) throw MediaError::FromAv("Cannot open " + quoted, AVERROR(ENOMEM));
  raw->pb = guard.io_.get();
  raw->flags |= AVFMT_FLAG_CUSTOM_IO;
  raw->io_open = RefuseOtherFiles;
  raw->interrupt_callback = {&InputGuard::Interrupted, &guard};
  Options options;
  av_dict_set(&options.dictionary, "protocol_whitelist", "file", 0);
  // On failure avformat_open_input frees the context itself (not our reader).
  if (int error = avformat_open_input(&raw, guard.url_.c_str(), demuxer, &options.dictionary); error < 0) {
    throw MediaError::FromAv("Cannot open " + quoted, error);
  }
  return InputFormatPtr(raw);
}

int MainStream(AVFormatContext& format, AVMediaType type) {
  auto isCoverPicture = [](const AVStream* stream) { return (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0; };
  const int best = av_find_best_stream(&format, type, -1, -1, nullptr, 0);
  if (best >= 0 && !isCoverPicture(format.streams[best])) return best;
  for (unsigned i = 0; i < format.nb_streams; ++i) {
    const AVStream* stream = format.streams[i];
    if (stream->codecpar->codec_type == type && !isCoverPicture(stream)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace orlisk
