#pragma once

// The reader's open file: the tracks, the facts read at open, and the queue of
// pictures a worker thread decodes (and converts) ahead of the caller. Only
// FfmpegVideoReader uses it.

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "AudioTrack.h"
#include "FfmpegVideoReader.h"
#include "media/PictureConverter.h"
#include "ReadAhead.h"
#include "VideoTrack.h"

namespace orlisk {

// One picture waiting in the queue. The worker converts it ahead when it has
// nothing to decode; a picture passed over by SkipFrame is never converted.
// The decoded picture stays until the picture leaves the queue, so that one
// converted at a size no longer wanted can be converted again.
struct QueuedPicture {
  std::uint64_t serial = 0;        // tells a picture apart after the queue moved
  std::int32_t time = 0;
  AvFramePtr decoded;              // never null
  std::optional<Frame> converted;
  std::exception_ptr conversionFailure;  // raised by ReadFrame
  bool converting = false;         // the worker converts a reference of its own

  bool ConvertedAt(int width, int height) const {
    return converted && converted->Width == width && converted->Height == height;
  }
};

// One open file. The worker thread and the caller's thread share the video
// track under `decoderMutex` and the picture queue under `queueMutex`; when
// both are needed, `decoderMutex` is taken first. Every change of the track's
// position (a seek) happens under both, so the queue always holds pictures
// that follow one another from the track's current position. Only the
// caller's thread removes pictures from the queue; the worker adds them at
// the back and converts them in place.
struct FfmpegVideoReader::Source {
  std::unique_ptr<VideoTrack> video;
  std::unique_ptr<AudioTrack> audio;  // null without sound

  // Facts read once at open: the worker uses the demuxer afterwards.
  std::int32_t duration = 0;
  double frameRate = 25.0;
  int width = 0;
  int height = 0;
  PixelAspect aspect;
  std::int64_t videoBitRate = 0;
  std::string videoFormatName;
  std::int64_t audioBitRate = 0;
  std::string audioFormatName;

  std::mutex decoderMutex;
  mutable std::mutex queueMutex;
  mutable std::condition_variable queueChanged;
  std::deque<QueuedPicture> queue;
  std::uint64_t nextSerial = 0;
  std::size_t decodedBytes = 0;    // of the latest decoded picture
  bool videoEnded = false;
  std::int32_t endTime = 0;        // the position once the queue is used up
  std::exception_ptr failure;      // raised by the next ReadFrame
  bool seekWaiting = false;        // keeps the worker off the decoder
  int frameWidth = 0;              // the size pictures are handed out at
  int frameHeight = 0;
  bool framesWanted = true;        // false: pictures are read as decoded, none converted ahead
  bool stopping = false;
  std::thread worker;
  // One converter per thread: a conversion context serves one thread at a time.
  PictureConverter workerConverter;
  PictureConverter callerConverter;

  bool FrameOrEndReady() const { return !queue.empty() || videoEnded || failure; }
  bool RoomToDecode() const { return !videoEnded && !failure && queue.size() < PicturesAhead(PictureBytes()); }
  // What a picture in the queue holds once converted: the decoded picture
  // stays beside the converted frame.
  std::size_t PictureBytes() const {
    return decodedBytes + static_cast<std::size_t>(frameWidth) * static_cast<std::size_t>(frameHeight) * 4;
  }
  QueuedPicture* FirstToConvert() {
    if (!framesWanted) return nullptr;
    for (QueuedPicture& picture : queue) {
      if (!picture.converting && !picture.conversionFailure && !picture.ConvertedAt(frameWidth, frameHeight))
        return &picture;
    }
    return nullptr;
  }
  // `decoded` converted to the size asked for, on either thread's converter.
  Frame Convert(PictureConverter& converter, const AVFrame& decoded, int toWidth, int toHeight) const {
    Frame frame = converter.ToFrame(decoded, toWidth, toHeight);
    frame.SourceWidth = width;
    frame.SourceHeight = height;
    frame.Aspect = aspect;
    return frame;
  }
  // Adds a decoded picture at the back; `queueMutex` held.
  void Push(TimedPicture decoded);
  // A seek to `ms` served from the pictures already decoded, as the track's
  // own seek would serve it: true when the picture at ms (the last one not
  // later than it) and the one after it are in the queue; the pictures before
  // it are moved to `passedOver`. It may wait for the worker to decode that
  // next one. Nothing changes when false. `lock` holds queueMutex.
  bool SeekWithinQueue(std::int32_t ms, std::unique_lock<std::mutex>& lock, std::deque<QueuedPicture>& passedOver);

  void DecodeAhead();
  void DecodeOne();
  // Converts the first unconverted picture; `lock` holds queueMutex.
  void ConvertOne(std::unique_lock<std::mutex>& lock);
  // The front picture, its conversion waited for; the caller's thread only.
  QueuedPicture TakeFront(std::unique_lock<std::mutex>& lock);
  // The front picture, waited for; nothing after the last one. The caller's
  // thread only; raises what failed while decoding.
  std::optional<QueuedPicture> ReadFront();
  // The picture as a frame at the size asked for: the one converted ahead, or
  // converted on the caller's thread.
  Frame FrameOf(QueuedPicture& picture);
  void Stop();
};

}  // namespace orlisk
