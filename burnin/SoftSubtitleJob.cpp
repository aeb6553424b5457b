#include "SoftSubtitleJob.h"

#include <algorithm>
#include <utility>

#include "StreamCopy.h"
#include "SubtitleTrack.h"
#include "subtitles/AssScript.h"

namespace orlisk {
namespace {

const char* MuxerOf(SoftContainer container) { return container == SoftContainer::Mp4 ? "mp4" : "matroska"; }
const char* EncoderOf(SoftContainer container) { return container == SoftContainer::Mp4 ? "mov_text" : "ass"; }

}  // namespace

std::string SoftContainerExtension(SoftContainer container) {
  return container == SoftContainer::Mp4 ? ".mp4" : ".mkv";
}

std::string SoftContainerRefusal(const std::string& videoPath, SoftContainer container) {
  return StreamCopyRefusal(videoPath, MuxerOf(container));
}

SoftSubtitleJob::SoftSubtitleJob(std::string videoPath, std::vector<SubtitleEntry> subtitles, SubtitleStyle inUse,
                                 SoftContainer container)
    : videoPath_(std::move(videoPath)), inUse_(std::move(inUse)), container_(container) {
  for (SubtitleEntry& entry : subtitles) {
    if (!entry.Text.empty() && entry.BeginTime < entry.EndTime) subtitles_.push_back(std::move(entry));
  }
  // A player takes a track's events in time order; the list's order breaks ties.
  std::stable_sort(subtitles_.begin(), subtitles_.end(),
                   [](const SubtitleEntry& a, const SubtitleEntry& b) { return a.BeginTime < b.BeginTime; });
}

SoftSubtitleJob::~SoftSubtitleJob() = default;

void SoftSubtitleJob::Start(OutputTarget target) {
  outputPath_ = target.Path;
  auto copy = std::make_unique<StreamCopy>(videoPath_, MuxerOf(container_));
  const AssCanvas canvas{.Width = copy->width(), .Height = copy->height()};
  auto track = std::make_unique<SubtitleTrack>(EncoderOf(container_), AssScriptHeader(inUse_, canvas));
  auto partial = std::make_unique<PartialOutput>(std::move(target));
  copy->Create(partial->path(), track->encoder());
  partial_ = std::move(partial);
  track_ = std::move(track);
  copy_ = std::move(copy);
  width_ = canvas.Width;
  height_ = canvas.Height;
  nextSubtitle_ = 0;
  state_ = State::Writing;
}

bool SoftSubtitleJob::Step() {
  if (state_ != State::Writing) return false;
  for (int n = 0; n < kPacketsPerStep; ++n) {
    const bool more = copy_->CopyNext();
    // Those beginning after the copied streams end are left out, as the
    // write job burns none of them.
    WriteSubtitlesBefore(copy_->position());
    if (!more) {
      state_ = State::Done;
      return false;
    }
  }
  return true;
}

void SoftSubtitleJob::WriteSubtitlesBefore(SubtitleTime until) {
  const AssCanvas canvas{.Width = width_, .Height = height_};
  for (; nextSubtitle_ < subtitles_.size() && subtitles_[nextSubtitle_].BeginTime < until; ++nextSubtitle_) {
    const SubtitleEntry& entry = subtitles_[nextSubtitle_];
    const std::string event =
        AssPacketText(static_cast<int>(nextSubtitle_), entry, entry.Text, inUse_, canvas);
    AvPacketPtr packet = track_->Encode(event, entry.BeginTime, entry.EndTime);
    copy_->WriteSubtitle(*packet);
  }
}

void SoftSubtitleJob::Finish() {
  if (state_ != State::Writing && state_ != State::Done) return;
  state_ = State::Finished;
  // Taken out first: whatever fails below, the partial goes with it.
  const std::unique_ptr<PartialOutput> partial = std::move(partial_);
  copy_->Close();
  outputPath_ = partial->Commit();
}

int SoftSubtitleJob::Progress() const {
  if (!copy_) return 0;
  if (state_ == State::Done || state_ == State::Finished) return 10000;
  const std::int64_t length = copy_->duration();
  if (length <= 0) return 0;
  return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{copy_->position()} * 10000 / length, 0, 10000));
}

std::int64_t SoftSubtitleJob::framesWritten() const { return copy_ ? copy_->picturesCopied() : 0; }

SubtitleTime SoftSubtitleJob::writtenUntil() const { return copy_ ? copy_->position() : 0; }

}  // namespace orlisk
