#include "ReaderSource.h"

#include <algorithm>

#include "media/MediaError.h"

namespace orlisk {
namespace {

// The bytes a decoded picture holds in its buffers (shared ones included).
std::size_t DecodedBytes(const AVFrame& picture) {
  std::size_t bytes = 0;
  for (const AVBufferRef* buffer : picture.buf) {
    if (buffer) bytes += buffer->size;
  }
  return bytes;
}

}  // namespace

void FfmpegVideoReader::Source::Push(TimedPicture decoded) {
  QueuedPicture picture;
  picture.serial = nextSerial++;
  picture.time = decoded.Time;
  picture.decoded = std::move(decoded.Picture);
  decodedBytes = DecodedBytes(*picture.decoded);
  queue.push_back(std::move(picture));
}

// Opening decodes ahead from the first picture, and both a write job and
// playback start with a seek to the start: without this, every start threw
// those pictures away and decoded them again.
bool FfmpegVideoReader::Source::SeekWithinQueue(std::int32_t ms, std::unique_lock<std::mutex>& lock,
                                                std::deque<QueuedPicture>& passedOver) {
  ms = std::max<std::int32_t>(0, ms);
  if (ms >= duration || queue.empty() || queue.front().time > ms) return false;
  std::size_t at = 0;  // the last picture not later than ms
  for (;;) {
    if (at + 1 == queue.size()) {
      // The one after it decides; only wait when the worker will decode it.
      if (!RoomToDecode() || seekWaiting) return false;
      queueChanged.wait(lock, [&] { return queue.size() > at + 1 || videoEnded || failure || stopping; });
      if (queue.size() <= at + 1) return false;
    }
    const QueuedPicture& next = queue[at + 1];
    // Times out of order are the track's to sort out.
    if (next.time <= queue[at].time) return false;
    if (next.time > ms) break;
    ++at;
  }
  // Nothing else changed the queue while waiting: only this thread removes pictures.
  for (; at > 0; --at) {
    passedOver.push_back(std::move(queue.front()));
    queue.pop_front();
  }
  return true;
}

// Decoding comes first, so that a caller falling behind finds the pictures
// it passes over decoded but not converted; converting fills the time when
// the queue is full.
void FfmpegVideoReader::Source::DecodeAhead() {
  for (;;) {
    std::unique_lock lock(queueMutex);
    queueChanged.wait(lock, [this] {
      return stopping || (!seekWaiting && (RoomToDecode() || FirstToConvert()));
    });
    if (stopping) return;
    if (RoomToDecode()) {
      lock.unlock();
      DecodeOne();
    } else {
      ConvertOne(lock);
    }
  }
}

void FfmpegVideoReader::Source::DecodeOne() {
  std::lock_guard decoderLock(decoderMutex);
  {
    // A seek may have run between the wait and taking the decoder.
    std::lock_guard lock(queueMutex);
    if (stopping || !RoomToDecode()) return;
  }
  std::optional<TimedPicture> next;
  std::exception_ptr error;
  try {
    next = video->Next();
  } catch (...) {
    error = std::current_exception();
  }
  {
    std::lock_guard lock(queueMutex);
    if (next) {
      Push(std::move(*next));
    } else {
      failure = error;
      videoEnded = !error;
      endTime = video->EndTime();
    }
  }
  queueChanged.notify_all();
}

void FfmpegVideoReader::Source::ConvertOne(std::unique_lock<std::mutex>& lock) {
  QueuedPicture* picture = FirstToConvert();
  const std::uint64_t serial = picture->serial;
  const int toWidth = frameWidth;
  const int toHeight = frameHeight;
  // A reference of the worker's own: SkipFrame may drop the queued one meanwhile.
  AvFramePtr decoded(av_frame_clone(picture->decoded.get()));
  picture->converting = true;
  lock.unlock();

  std::optional<Frame> converted;
  std::exception_ptr error;
  try {
    if (!decoded) throw MediaError::FromAv("Cannot convert a picture", AVERROR(ENOMEM));
    converted = Convert(workerConverter, *decoded, toWidth, toHeight);
  } catch (...) {
    error = std::current_exception();
  }
  decoded.reset();

  lock.lock();
  // The picture may have been skipped, read or sought away meanwhile.
  for (QueuedPicture& waiting : queue) {
    if (waiting.serial != serial) continue;
    waiting.converting = false;
    waiting.converted = std::move(converted);
    waiting.conversionFailure = error;
    break;
  }
  lock.unlock();
  queueChanged.notify_all();
}

QueuedPicture FfmpegVideoReader::Source::TakeFront(std::unique_lock<std::mutex>& lock) {
  // The worker only appends, so the front stays the same while it converts.
  queueChanged.wait(lock, [this] { return !queue.front().converting; });
  QueuedPicture front = std::move(queue.front());
  queue.pop_front();
  return front;
}

void FfmpegVideoReader::Source::Stop() {
  {
    std::lock_guard lock(queueMutex);
    stopping = true;
  }
  queueChanged.notify_all();
  if (worker.joinable()) worker.join();
}

std::optional<QueuedPicture> FfmpegVideoReader::Source::ReadFront() {
  std::unique_lock lock(queueMutex);
  queueChanged.wait(lock, [this] { return FrameOrEndReady(); });
  if (!queue.empty()) {
    QueuedPicture picture = TakeFront(lock);
    lock.unlock();
    queueChanged.notify_all();
    return picture;
  }
  if (failure) {
    std::exception_ptr raised = failure;
    failure = nullptr;
    videoEnded = true;
    std::rethrow_exception(raised);
  }
  return std::nullopt;
}

Frame FfmpegVideoReader::Source::FrameOf(QueuedPicture& picture) {
  int toWidth = 0;
  int toHeight = 0;
  {
    std::lock_guard lock(queueMutex);
    toWidth = frameWidth;
    toHeight = frameHeight;
  }
  if (picture.conversionFailure) std::rethrow_exception(picture.conversionFailure);
  if (picture.ConvertedAt(toWidth, toHeight)) return std::move(*picture.converted);
  // Not converted ahead (the caller is catching up, or frames were not
  // wanted ahead), or at another size: converted here.
  return Convert(callerConverter, *picture.decoded, toWidth, toHeight);
}
}  // namespace orlisk
