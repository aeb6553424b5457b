#pragma once
// The write job as a step machine: it reads the source from its start, draws
// the subtitle due at each frame's time and hands pictures and sound to the
// writer interleaved in time order. A reader that gives decoded pictures
// (VideoReader::ReadsPictures) has them passed on in their own pixel format:
// the subtitle is drawn once by the renderer the preview uses and blended
// into each picture it is due on (SubtitleBurner), and a picture without
// text reaches the writer untouched. Other readers' frames are drawn on with
// RenderPreviewFrame. A window or a command line drives it: Start, then Step until it
// answers false or the driver wants to stop, then Finish. Between steps the
// driver is free to let its events through; the job holds no thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "subtitles/SubtitleStyle.h"
#include "OutputJob.h"
#include "SubtitleBurner.h"
#include "TextTransform.h"
#include "burnin/writer/PartialOutput.h"
#include "burnin/writer/VideoWriter.h"
#include "playback/VideoReader.h"
#include "subtitles/SubtitleEntry.h"

namespace orlisk {

// Sound is always read in blocks of this many bytes.
inline constexpr int kWriteAudioBlockBytes = 2304;

// Progress 0..10000 from the read positions: (video + audio position) * 10000
// / (video + audio length), rounded to the nearest; 0 when both lengths are 0.
int WriteProgress(std::int32_t videoPosition, std::int32_t audioPosition, std::int32_t videoDuration,
                  std::int32_t audioDuration);

struct WriteJobParts {
  VideoReader& Reader;
  VideoWriter& Writer;
  TextTransform& Transform;
  // Shown each written frame, text and all (the window's view); may be
  // empty. The frames come at ShowWidth x ShowHeight (0 x 0: the source's
  // size), converted on the reader's own thread as for playback, and their
  // text drawn on them at that size.
  std::function<void(const Frame&)> ShowFrame;
  int ShowWidth = 0;
  int ShowHeight = 0;
};

class WriteJob : public OutputJob {
 public:
  // `subtitles` and `inUse` (the font and backdrop) are copied: the list may
  // change while the job runs (the window lets commands through) without
  // changing the written video.
  WriteJob(WriteJobParts parts, std::vector<SubtitleEntry> subtitles, SubtitleStyle inUse);
  WriteJob(const WriteJob&) = delete;
  WriteJob& operator=(const WriteJob&) = delete;
  // A job left by an error before Finish failed: its output is closed and
  // its partial removed; the target stays as it was.
  ~WriteJob() override;

  // Seeks the reader to 0 and creates the output as a partial beside the
  // target (PartialOutput), which nothing at the target notices. When the
  // creation fails the partial goes and the error goes on.
  void Start(OutputTarget target, std::int32_t outputType);
  // One pass: at most one frame and one sound block.
  bool Step() override;
  void Finish() override;

  int Progress() const override;
  bool started() const override { return state_ == State::Writing; }
  std::int64_t framesWritten() const override { return framesWritten_; }
  // The later of the writer's two streams.
  SubtitleTime writtenUntil() const override;
  const std::string& outputPath() const override { return outputPath_; }

 private:
  enum class State { Idle, Writing, Finished };
  void VideoStep();
  // One frame read and drawn as a frame (readers without pictures).
  void FrameStep();
  void AudioStep();

  WriteJobParts parts_;
  std::vector<SubtitleEntry> subtitles_;
  SubtitleStyle inUse_;
  SubtitleBurner burner_;
  State state_ = State::Idle;
  std::string outputPath_;
  std::unique_ptr<PartialOutput> partial_;
  int cursor_ = 0;
  bool videoDone_ = false;
  bool audioDone_ = false;
  std::int64_t framesWritten_ = 0;
};

}  // namespace orlisk
