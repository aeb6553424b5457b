#pragma once
// Opening a chosen video so that the chosen file, and only it, is read, and
// nothing holds up the thread that opens or reads it for long. Used by the
// reader's decoders, and by whoever opens the chosen file again to learn its
// container (the writer's source facts).
#include <atomic>
#include <cstdint>
#include <string>

#include "media/FfmpegPtr.h"

namespace orlisk {

// How long an open (with the look at its streams) and each read of a packet
// may take before FFmpeg is told to give up. The check runs before every read
// of the file and in FFmpeg's own waiting loops; the file itself is opened
// without waiting, so a read that hangs inside the kernel (a dead network
// disk) is the only wait it cannot cut short.
inline constexpr std::int64_t kOpenTimeLimitMicroseconds = 15'000'000;
inline constexpr std::int64_t kReadTimeLimitMicroseconds = 5'000'000;

// What an open input refers to for as long as it is open: the chosen file,
// which this guard opened and hands to FFmpeg as the demuxer's only input,
// and the deadline that every read and FFmpeg's interrupt callback check.
class InputGuard {
 public:
  InputGuard() = default;
  ~InputGuard();  // closes the file; the demuxer must be gone by then
  InputGuard(const InputGuard&) = delete;
  InputGuard& operator=(const InputGuard&) = delete;

  void startNow(std::int64_t limitMicroseconds);
  // Also gives up at once while `flag` is set (null: only the deadline
  // counts). The flag must outlive the input.
  void stopWhen(const std::atomic<bool>* flag) { stopFlag_ = flag; }
  bool passed() const;
  // The interrupt callback: non-zero once the deadline of `self` has passed.
  static int Interrupted(void* self);

 private:
  friend InputFormatPtr OpenLocalInput(const std::string& path, InputGuard& guard);
  static int Read(void* self, std::uint8_t* buffer, int size);
  static std::int64_t Seek(void* self, std::int64_t offset, int whence);

  std::string url_;
  int fd_ = -1;
  AvioContextPtr io_;  // reads fd_
  std::atomic<std::int64_t> deadline_{0};
  const std::atomic<bool>* stopFlag_ = nullptr;
};

// Opens `path` for reading, or raises MediaError ("Cannot open "<path>": ...")
// through the usual cannot-open path, when:
// - it is not a regular file (a FIFO would block the open forever, a device
//   never ends);
// - the demuxer its first bytes and name call for would read other files or
//   addresses: one that does its own reading (numbered picture sequences,
//   RTP, RTSP, SAP) or one that follows what the file names (a concat list,
//   an HLS or DASH playlist, an IMF composition, an SDP description, a VobSub
//   index with its .sub beside it). That is decided from the probe, before
//   the demuxer opens anything.
// The file is opened once, without waiting, and handed to FFmpeg as its
// input; the path is never read as a URL, and any other file a demuxer asks
// for is refused. The guard must outlive the returned context; its deadline
// starts at kOpenTimeLimitMicroseconds and covers the probe too.
InputFormatPtr OpenLocalInput(const std::string& path, InputGuard& guard);

// The stream of `type` a reader plays: the one FFmpeg ranks best, unless that
// is an attached cover picture; then the first real stream of the type. -1
// when there is none.
int MainStream(AVFormatContext& format, AVMediaType type);

}  // namespace orlisk
