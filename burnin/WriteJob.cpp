#include "WriteJob.h"

#include <filesystem>
#include <system_error>
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

WriteJob::WriteJob(WriteJobParts parts, std::vector<SubtitleEntry> subtitles, SubtitleFont font)
    : parts_(std::move(parts)), subtitles_(std::move(subtitles)), font_(std::move(font)) {}

WriteJob::~WriteJob() {
  if (state_ != State::Writing) return;
  try {
    Finish();
  } catch (...) {
    // Already leaving by another error, which is the one to report.
  }
}

void WriteJob::Start(const std::string& outputPath, std::int32_t outputType) {
  outputPath_ = outputPath;
  // The written video takes the source's pictures at their size, whatever
  // size playback asked the reader for.
  parts_.Reader.SetFrameSize(0, 0);
  parts_.Reader.SeekTo(0);
  // A file that was there before (a replacement the user asked for) is not
  // ours to remove.
  std::error_code ignored;
  const bool existedBefore = std::filesystem::exists(std::filesystem::symlink_status(outputPath, ignored));
  try {
    parts_.Writer.CreateOutput(outputPath, outputType);
  } catch (...) {
    if (!existedBefore) std::filesystem::remove(outputPath, ignored);
    throw;
  }
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
  Frame frame = parts_.Reader.ReadFrame();
  if (frame.empty()) {
    videoDone_ = true;
    return;
  }
  const int previewCount = static_cast<int>(subtitles_.size());
  Frame drawn = RenderPreviewFrame(parts_.Transform, frame, subtitles_, cursor_, previewCount,
                                   parts_.Reader.GetPosition(), font_);
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
  parts_.Writer.CloseSource();
}

int WriteJob::Progress() const {
  const VideoReader& r = parts_.Reader;
  return WriteProgress(r.GetPosition(), r.GetAudioPosition(), r.GetDuration(), r.GetAudioDuration());
}

}  // namespace orlisk
