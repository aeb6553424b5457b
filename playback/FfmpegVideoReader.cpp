#include "FfmpegVideoReader.h"

#include <mutex>

#include "media/MediaError.h"
#include "media/MediaFacts.h"
#include "media/PictureAccess.h"
#include "ReaderSource.h"

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

}  // namespace

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
    std::deque<QueuedPicture> passedOver;  // dropped after the lock
    std::unique_lock lock(source.queueMutex);
    if (source.SeekWithinQueue(ms, lock, passedOver)) {
      lock.unlock();
      source.queueChanged.notify_all();
      if (source.audio) source.audio->SeekTo(GetPosition());
      return;
    }
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
