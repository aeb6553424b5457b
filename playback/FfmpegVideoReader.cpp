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
#include "VideoTrack.h"

extern "C" {
#include <libavutil/log.h>
}

namespace orlisk {
namespace {

// Converted frames kept ready: enough to ride over a slow frame (a key
// frame) without holding much memory at large sizes.
constexpr std::size_t kFramesAhead = 4;

// FFmpeg prints its own notes and warnings on stderr by default, which would
// fill the user's terminal for ordinary files; what goes wrong reaches the
// user as a MediaError instead. Errors are still printed for whoever looks.
void KeepFfmpegToErrors() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
}

}  // namespace

// One open file. The worker thread and the caller's thread share the video
// track under `decoderMutex` and the frame queue under `queueMutex`; when both
// are needed, `decoderMutex` is taken first. Every change of the track's
// position (a seek) happens under both, so the queue always holds frames that
// follow one another from the track's current position.
struct FfmpegVideoReader::Source {
  std::unique_ptr<VideoTrack> video;
  std::unique_ptr<AudioTrack> audio;  // null without sound

  // Facts read once at open: the worker uses the demuxer afterwards.
  std::int32_t duration = 0;
  double frameRate = 25.0;
  int width = 0;
  int height = 0;
  std::int64_t videoBitRate = 0;
  std::string videoFormatName;
  std::int64_t audioBitRate = 0;
  std::string audioFormatName;

  std::mutex decoderMutex;
  mutable std::mutex queueMutex;
  mutable std::condition_variable queueChanged;
  std::deque<TimedFrame> queue;
  bool videoEnded = false;
  std::int32_t endTime = 0;        // the position once the queue is used up
  std::exception_ptr failure;      // raised by the next ReadFrame
  bool seekWaiting = false;        // keeps the worker off the decoder
  bool stopping = false;
  std::thread worker;

  bool FrameOrEndReady() const { return !queue.empty() || videoEnded || failure; }

  void DecodeAhead();
  void Stop();
};

void FfmpegVideoReader::Source::DecodeAhead() {
  for (;;) {
    {
      std::unique_lock lock(queueMutex);
      queueChanged.wait(lock, [this] {
        return stopping || (!videoEnded && !failure && !seekWaiting && queue.size() < kFramesAhead);
      });
      if (stopping) return;
    }
    std::lock_guard decoderLock(decoderMutex);
    {
      // A seek may have run between the wait and taking the decoder.
      std::lock_guard lock(queueMutex);
      if (stopping) return;
      if (videoEnded || failure || queue.size() >= kFramesAhead) continue;
    }
    std::optional<TimedFrame> next;
    std::exception_ptr error;
    try {
      next = video->Next();
    } catch (...) {
      error = std::current_exception();
    }
    {
      std::lock_guard lock(queueMutex);
      if (next) {
        queue.push_back(std::move(*next));
      } else {
        failure = error;
        videoEnded = !error;
        endTime = video->EndTime();
      }
    }
    queueChanged.notify_all();
  }
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
  const StreamDecoder& videoDecoder = video.Decoder();
  source->videoBitRate = StreamBitRate(*videoDecoder.Format(), *videoDecoder.Stream());
  source->videoFormatName = VideoFormatName(videoDecoder.Stream()->codecpar->codec_id);
  if (source->audio) {
    const StreamDecoder& audioDecoder = source->audio->Decoder();
    source->audioBitRate = StreamBitRate(*audioDecoder.Format(), *audioDecoder.Stream());
    source->audioFormatName = AudioFormatName(audioDecoder.Stream()->codecpar->codec_id);
  }

  // The first picture was decoded while opening; it is ready at once.
  if (auto first = source->video->Next()) source->queue.push_back(std::move(*first));
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

std::int32_t FfmpegVideoReader::GetPosition() const {
  if (!source_) return 0;
  std::unique_lock lock(source_->queueMutex);
  source_->queueChanged.wait(lock, [this] { return source_->FrameOrEndReady(); });
  return source_->queue.empty() ? source_->endTime : source_->queue.front().Time;
}

void FfmpegVideoReader::SeekTo(std::int32_t ms) {
  if (!source_) throw MediaError("Cannot seek: no video is open");
  Source& source = *source_;
  {
    std::lock_guard lock(source.queueMutex);
    source.seekWaiting = true;
  }
  std::optional<TimedFrame> reached;
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
        source.queue.push_back(std::move(*reached));
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
  Source& source = *source_;
  std::unique_lock lock(source.queueMutex);
  source.queueChanged.wait(lock, [&source] { return source.FrameOrEndReady(); });
  if (!source.queue.empty()) {
    Frame frame = std::move(source.queue.front().Picture);
    source.queue.pop_front();
    lock.unlock();
    source.queueChanged.notify_all();
    return frame;
  }
  if (source.failure) {
    std::exception_ptr failure = source.failure;
    source.failure = nullptr;
    source.videoEnded = true;
    std::rethrow_exception(failure);
  }
  return {};
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
