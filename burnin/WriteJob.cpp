#include "WriteJob.h"

#include <algorithm>
#include <utility>

#include "FrameRenderer.h"

namespace orlisk {

int WriteProgress(std::int32_t videoPosition, std::int32_t audioPosition, std::int32_t videoDuration,
                  std::int32_t audioDuration) {
  const std::int64_t total = std::int64_t{videoDuration} + audioDuration;
  if (total <= 0) return 0;
  const std::int64_t done = (std::int64_t{videoPosition} + audioPosition) * 10000;
  // Rounded to the nearest, halves away from zero.
  const std::int64_t rounded = done >= 0 ? (done * 2 + total) / (total * 2) : -((-done * 2 + total) / (total * 2));
  return static_cast<int>(rounded);
}

WriteJob::WriteJob(WriteJobParts parts, std::vector<SubtitleEntry> subtitles, SubtitleStyle inUse)
    : parts_(std::move(parts)),
      subtitles_(std::move(subtitles)),
      inUse_(std::move(inUse)),
      burner_(parts_.Transform) {}

WriteJob::~WriteJob() {
  if (state_ != State::Writing) return;
  try {
    parts_.Writer.CloseSource();
  } catch (...) {
    // Already leaving by another error, which is the one to report.
  }
}

void WriteJob::Start(OutputTarget target, std::int32_t outputType) {
  outputPath_ = target.Path;
  // The written video takes the source's pictures at their size, whatever
  // size playback asked the reader for: as decoded, with frames wanted only
  // for showing, or as frames of the source's size.
  VideoReader& reader = parts_.Reader;
  if (reader.ReadsPictures()) {
    reader.SetFrameSize(parts_.ShowWidth, parts_.ShowHeight);
    reader.SetFramesWanted(static_cast<bool>(parts_.ShowFrame));
  } else {
    reader.SetFrameSize(0, 0);
  }
  reader.SeekTo(0);
  auto partial = std::make_unique<PartialOutput>(std::move(target));
  parts_.Writer.CreateOutput(partial->path(), outputType);
  partial_ = std::move(partial);
  state_ = State::Writing;
  cursor_ = 0;
  videoDone_ = false;
  audioDone_ = false;
}

bool WriteJob::Step() {
  if (state_ != State::Writing) return false;
  VideoReader& reader = parts_.Reader;
  if (parts_.Writer.GetPosition() >= reader.GetDuration()) videoDone_ = true;
  if (parts_.Writer.GetAudioPosition() >= reader.GetAudioDuration()) audioDone_ = true;
  // Whichever stream is behind (or level) is read next, so the writer gets
  // both in time order; once one has ended the other runs on alone.
  if (!videoDone_ && (reader.GetPosition() <= reader.GetAudioPosition() || audioDone_)) VideoStep();
  if (!audioDone_ && (reader.GetPosition() >= reader.GetAudioPosition() || videoDone_)) AudioStep();
  return !(videoDone_ && audioDone_);
}

void WriteJob::VideoStep() {
  VideoReader& reader = parts_.Reader;
  if (!reader.ReadsPictures()) return FrameStep();
  Frame shown;
  DecodedPicture picture = reader.ReadPicture(parts_.ShowFrame ? &shown : nullptr);
  if (picture.empty()) {
    videoDone_ = true;
    return;
  }
  const int previewCount = static_cast<int>(subtitles_.size());
  const SubtitleEntry* due = DueSubtitle(subtitles_, cursor_, previewCount, reader.GetPosition());
  // The view's small frame gets its text as playback's frames do.
  if (parts_.ShowFrame) parts_.ShowFrame(RenderSubtitleFrame(parts_.Transform, shown, due, inUse_));
  if (due && !burner_.Burn(picture, *due, static_cast<std::size_t>(due - subtitles_.data()), inUse_)) {
    // A pixel format text cannot be blended into: drawn as the preview draws.
    Frame drawn = RenderSubtitleFrame(parts_.Transform, burner_.ToFrame(picture), due, inUse_);
    picture = DecodedPicture{};
    parts_.Writer.WriteFrame(std::move(drawn));
  } else {
    parts_.Writer.WritePicture(std::move(picture));
  }
  ++framesWritten_;
}

void WriteJob::FrameStep() {
  Frame drawn;
  {
    // The source picture goes before the drawn one waits for room at the
    // writer: at large sizes each is hundreds of megabytes.
    const Frame frame = parts_.Reader.ReadFrame();
    if (frame.empty()) {
      videoDone_ = true;
      return;
    }
    const int previewCount = static_cast<int>(subtitles_.size());
    drawn = RenderPreviewFrame(parts_.Transform, frame, subtitles_, cursor_, previewCount,
                               parts_.Reader.GetPosition(), inUse_);
  }
  if (parts_.ShowFrame) parts_.ShowFrame(drawn);
  parts_.Writer.WriteFrame(std::move(drawn));
  ++framesWritten_;
}

void WriteJob::AudioStep() {
  AudioBlock block = parts_.Reader.ReadAudio(kWriteAudioBlockBytes);
  if (block.empty()) {
    audioDone_ = true;
    return;
  }
  parts_.Writer.WriteAudio(block);
}

void WriteJob::Finish() {
  if (state_ != State::Writing) return;
  state_ = State::Finished;
  // Taken out first: whatever fails below, the partial goes with it.
  const std::unique_ptr<PartialOutput> partial = std::move(partial_);
  parts_.Writer.CloseSource();
  outputPath_ = partial->Commit();
}

SubtitleTime WriteJob::writtenUntil() const {
  return std::max(parts_.Writer.GetPosition(), parts_.Writer.GetAudioPosition());
}

int WriteJob::Progress() const {
  const VideoReader& r = parts_.Reader;
  return WriteProgress(r.GetPosition(), r.GetAudioPosition(), r.GetDuration(), r.GetAudioDuration());
}

}  // namespace orlisk
