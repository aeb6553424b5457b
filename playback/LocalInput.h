#pragma once
// Opening a chosen video so that the chosen file, and only it, is read, and
// nothing holds up the thread that opens or reads it for long. Internal to
// playback/.
#include <atomic>
#include <cstdint>
#include <string>

#include "media/FfmpegPtr.h"

namespace orlisk {

// How long an open (with the look at its streams) and each read of a packet
// may take before FFmpeg is told to give up. The check runs in FFmpeg's own
// waiting loops; a read that hangs inside the kernel cannot be cut short.
inline constexpr std::int64_t kOpenTimeLimitMicroseconds = 15'000'000;
inline constexpr std::int64_t kReadTimeLimitMicroseconds = 5'000'000;

// What an open input refers to for as long as it is open: the chosen file's
// name, which is the only one its demuxer may open, and the deadline that
// FFmpeg's interrupt callback checks.
class InputGuard {
 public:
  void startNow(std::int64_t limitMicroseconds);
  // Also gives up at once while `flag` is set (null: only the deadline
  // counts). The flag must outlive the input.
  void stopWhen(const std::atomic<bool>* flag) { stopFlag_ = flag; }
  bool passed() const;
  const std::string& url() const { return url_; }
  // The interrupt callback: non-zero once the deadline of `self` has passed.
  static int Interrupted(void* self);

 private:
  friend InputFormatPtr OpenLocalInput(const std::string& path, InputGuard& guard);
  std::string url_;
  std::atomic<std::int64_t> deadline_{0};
  const std::atomic<bool>* stopFlag_ = nullptr;
};

// Opens `path` for reading, or raises MediaError ("Cannot open "<path>": ...")
// through the usual cannot-open path, when:
// - it is not a regular file (a FIFO would block the open forever, a device
//   never ends);
// - FFmpeg recognises it as something that reads other files or the network:
//   a playlist or stream description (hls, dash, concat, sdp, rtp, rtsp, imf)
//   or a numbered picture sequence (image2).
// Only the file protocol is allowed, the path is never read as a URL, and
// any other file a demuxer tries to open is refused. The guard must outlive
// the returned context; its deadline starts at kOpenTimeLimitMicroseconds.
InputFormatPtr OpenLocalInput(const std::string& path, InputGuard& guard);

}  // namespace orlisk
