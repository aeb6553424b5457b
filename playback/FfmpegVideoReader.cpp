#include "FfmpegVideoReader.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "AudioTrack.h"
#include "media/MediaError.h"
#include "media/MediaFacts.h"
#include "media/PictureAccess.h"
#include "media/PictureConverter.h"
#include "ReadAhead.h"
#include "VideoTrack.h"

extern "C" {
#include <libavutil/log.h>
}

namespace orlisk {
namespace {

// FFmpeg prints its own notes and warnings on stderr by default, which would
// fill the user's terminal for ordinary files; what goes wrong reaches the
// user as a MediaError instead. Errors are still printed for whoever looks.
void KeepFfmpegToErrors() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
}

// The bytes a decoded picture holds in its buffers (shared ones included).
std::size_t DecodedBytes(const AVFrame& picture) {
  std::size_t bytes = 0;
  for (const AVBufferRef* buffer : picture.buf) {
    if (buffer) bytes += buffer->size;
  }
  return bytes;
}

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

}  // namespace

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
  void Push(TimedPicture decoded) {
    QueuedPicture picture;
    picture.serial = nextSerial++;
    picture.time = decoded.Time;
    picture.decoded = std::move(decoded.Picture);
    decodedBytes = DecodedBytes(*picture.decoded);
    queue.push_back(std::move(picture));
  }

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

FfmpegVideoReader::FfmpegVideoReader() { KeepFfmpegToErrors(); }

FfmpegVideoReader::~FfmpegVideoReader() { CloseSource(); }

void FfmpegVideoReader::OpenSource(const std::string& path) {
  CloseSource();
  auto source = std::make_unique<Source>();
  source->video = std::make_unique<VideoTrack>(path);
  const VideoTrack& video = *source->video;
  try {
    source->audio = AudioTrack::Open(path, video.OriginMicroseconds());
  } catch (const MediaError&) {
    // Sound that cannot be decoded leaves a video that plays silently.
    source->audio.reset();
  }

  source->duration = video.Duration();
  source->frameRate = video.FrameRate();
  source->width = video.Width();
  source->height = video.Height();
  source->aspect = video.Aspect();
  source->frameWidth = source->width;
  source->frameHeight = source->height;
  const StreamDecoder& videoDecoder = video.Decoder();
  source->videoBitRate = StreamBitRate(*videoDecoder.Format(), *videoDecoder.Stream());
  source->videoFormatName = VideoFormatName(videoDecoder.Stream()->codecpar->codec_id);
  if (source->audio) {
    const StreamDecoder& audioDecoder = source->audio->Decoder();
    source->audioBitRate = StreamBitRate(*audioDecoder.Format(), *audioDecoder.Stream());
    source->audioFormatName = AudioFormatName(audioDecoder.Stream()->codecpar->codec_id);
  }

  // The first picture was decoded while opening; it is ready at once.
  if (auto first = source->video->Next()) source->Push(std::move(*first));
  Source* running = source.get();
  source->worker = std::thread([running] { running->DecodeAhead(); });
  source_ = std::move(source);
}

void FfmpegVideoReader::CloseSource() {
  if (!source_) return;
  source_->Stop();
  source_.reset();
}

std::int32_t FfmpegVideoReader::GetDuration() const { return source_ ? source_->duration : 0; }
double FfmpegVideoReader::GetFrameRate() const { return source_ ? source_->frameRate : 0.0; }
int FfmpegVideoReader::GetWidth() const { return source_ ? source_->width : 0; }
int FfmpegVideoReader::GetHeight() const { return source_ ? source_->height : 0; }
PixelAspect FfmpegVideoReader::GetPixelAspect() const { return source_ ? source_->aspect : PixelAspect{}; }

std::int32_t FfmpegVideoReader::GetPosition() const {
  if (!source_) return 0;
  std::unique_lock lock(source_->queueMutex);
  source_->queueChanged.wait(lock, [this] { return source_->FrameOrEndReady(); });
  return source_->queue.empty() ? source_->endTime : source_->queue.front().time;
}

void FfmpegVideoReader::SeekTo(std::int32_t ms) {
  if (!source_) throw MediaError("Cannot seek: no video is open");
  Source& source = *source_;
  {
    std::lock_guard lock(source.queueMutex);
    source.seekWaiting = true;
  }
  std::optional<TimedPicture> reached;
  {
    std::lock_guard decoderLock(source.decoderMutex);
    {
      std::lock_guard lock(source.queueMutex);
      source.seekWaiting = false;
      source.queue.clear();
      source.failure = nullptr;
      source.videoEnded = false;
    }
    std::exception_ptr error;
    try {
      reached = source.video->SeekTo(ms);
    } catch (...) {
      error = std::current_exception();
    }
    {
      std::lock_guard lock(source.queueMutex);
      if (reached) {
        source.Push(std::move(*reached));
      } else {
        // A failed seek leaves the reader at the end rather than half way.
        source.videoEnded = true;
        source.endTime = source.video->EndTime();
      }
    }
    source.queueChanged.notify_all();
    if (error) std::rethrow_exception(error);
  }
  // The sound restarts where the picture actually is.
  if (source.audio) source.audio->SeekTo(GetPosition());
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

Frame FfmpegVideoReader::ReadFrame() {
  if (!source_) throw MediaError("Cannot read a frame: no video is open");
  std::optional<QueuedPicture> picture = source_->ReadFront();
  if (!picture) return {};
  // The decoded picture is dropped outside the lock.
  return source_->FrameOf(*picture);
}

DecodedPicture FfmpegVideoReader::ReadPicture(Frame* frame) {
  if (!source_) throw MediaError("Cannot read a picture: no video is open");
  std::optional<QueuedPicture> picture = source_->ReadFront();
  if (!picture) return {};
  if (frame) *frame = source_->FrameOf(*picture);
  return PictureOf(std::move(picture->decoded));
}

void FfmpegVideoReader::SkipFrame() {
  if (!source_) throw MediaError("Cannot skip a frame: no video is open");
  Source& source = *source_;
  std::unique_lock lock(source.queueMutex);
  source.queueChanged.wait(lock, [&source] { return source.FrameOrEndReady(); });
  if (source.queue.empty()) return;
  // Not waiting for a conversion under way: the worker holds its own picture
  // and drops the result when it finds the picture gone. Dropped outside the
  // lock: a decoded picture can take a while to free.
  QueuedPicture passedOver = std::move(source.queue.front());
  source.queue.pop_front();
  lock.unlock();
  source.queueChanged.notify_all();
}

void FfmpegVideoReader::SetFrameSize(int width, int height) {
  if (!source_) return;
  Source& source = *source_;
  {
    std::lock_guard lock(source.queueMutex);
    const bool sourceSize = width <= 0 || height <= 0;
    source.frameWidth = sourceSize ? source.width : width;
    source.frameHeight = sourceSize ? source.height : height;
  }
  // Pictures converted ahead at the old size are converted again.
  source.queueChanged.notify_all();
}

void FfmpegVideoReader::SetFramesWanted(bool wanted) {
  if (!source_) return;
  {
    std::lock_guard lock(source_->queueMutex);
    source_->framesWanted = wanted;
  }
  source_->queueChanged.notify_all();
}

AudioBlock FfmpegVideoReader::ReadAudio(int requestedBytes) {
  if (!source_) throw MediaError("Cannot read sound: no video is open");
  if (!source_->audio) return {};
  return source_->audio->Read(requestedBytes);
}

int FfmpegVideoReader::GetAudioChannels() const {
  return source_ && source_->audio ? source_->audio->Channels() : 0;
}
int FfmpegVideoReader::GetAudioSampleRate() const {
  return source_ && source_->audio ? source_->audio->SampleRate() : 0;
}
std::int64_t FfmpegVideoReader::GetAudioBitRate() const { return source_ ? source_->audioBitRate : 0; }
std::int32_t FfmpegVideoReader::GetAudioPosition() const {
  return source_ && source_->audio ? source_->audio->Position() : 0;
}
std::int32_t FfmpegVideoReader::GetAudioDuration() const {
  return source_ && source_->audio ? source_->audio->Duration() : 0;
}
std::string FfmpegVideoReader::GetAudioFormatName() const {
  return source_ ? source_->audioFormatName : std::string();
}
std::int64_t FfmpegVideoReader::GetVideoBitRate() const { return source_ ? source_->videoBitRate : 0; }
std::string FfmpegVideoReader::GetVideoFormatName() const {
  return source_ ? source_->videoFormatName : std::string();
}

}  // namespace orlisk
