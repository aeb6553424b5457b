#pragma once
// Soft subtitles: a new video with the source's pictures and sound copied
// packet for packet (nothing decoded or encoded) and the subtitles added as
// a track a player can switch on and off. MKV gets an ASS track: each line's
// place, colours and outline as override tags, the font and backdrop in use
// as its one style, in the source's pixels. MP4 gets a mov_text track: text,
// line breaks, times and colours. Driven like the write job (OutputJob.h):
// Start, Step until false or a stop, Finish.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "OutputJob.h"
#include "burnin/writer/PartialOutput.h"
#include "subtitles/SubtitleEntry.h"
#include "subtitles/SubtitleStyle.h"

namespace orlisk {

class StreamCopy;
class SubtitleTrack;

enum class SoftContainer : std::int32_t { Mkv = 0, Mp4 = 1 };

// ".mkv" or ".mp4".
std::string SoftContainerExtension(SoftContainer container);
// Why `videoPath`'s pictures or sound cannot go into `container` unchanged
// ("The source's sound (pcm_s16le) cannot go into MP4 unchanged"); "" when
// they can. MKV takes what FFmpeg can copy at all.
std::string SoftContainerRefusal(const std::string& videoPath, SoftContainer container);

class SoftSubtitleJob : public OutputJob {
 public:
  // `subtitles` and `inUse` are copied, as the write job copies them. A
  // subtitle is in the track when it has text and ends after it begins,
  // the ones the write job would burn.
  SoftSubtitleJob(std::string videoPath, std::vector<SubtitleEntry> subtitles, SubtitleStyle inUse,
                  SoftContainer container);
  SoftSubtitleJob(const SoftSubtitleJob&) = delete;
  SoftSubtitleJob& operator=(const SoftSubtitleJob&) = delete;
  // A job left before Finish failed: its partial goes, the target stays.
  ~SoftSubtitleJob() override;

  // Opens the source, creates the output as a partial beside the target
  // (PartialOutput) and writes its header. Raises MediaError when the
  // source cannot be read or copied into the container (SoftContainerRefusal),
  // or the output cannot be made; the partial then goes.
  void Start(OutputTarget target);
  // Copies up to kPacketsPerStep packets, with the subtitles that begin
  // among them.
  bool Step() override;
  void Finish() override;

  int Progress() const override;
  bool started() const override { return state_ == State::Writing || state_ == State::Done; }
  // Pictures copied.
  std::int64_t framesWritten() const override;
  SubtitleTime writtenUntil() const override;
  const std::string& outputPath() const override { return outputPath_; }

  static constexpr int kPacketsPerStep = 64;

 private:
  enum class State { Idle, Writing, Done, Finished };
  // Adds every subtitle not yet written that begins before `until` (ms).
  void WriteSubtitlesBefore(SubtitleTime until);

  std::string videoPath_;
  std::vector<SubtitleEntry> subtitles_;  // those in the track, by begin time
  SubtitleStyle inUse_;
  SoftContainer container_;
  State state_ = State::Idle;
  std::string outputPath_;
  std::size_t nextSubtitle_ = 0;
  // Declared first, so the copy closes its file before the partial goes.
  std::unique_ptr<PartialOutput> partial_;
  std::unique_ptr<SubtitleTrack> track_;
  std::unique_ptr<StreamCopy> copy_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace orlisk
