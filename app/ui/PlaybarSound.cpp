#include "app/ui/PlaybarSound.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace orlisk {

PlaybarSound::PlaybarSound(PlaybarWaveform& picture, std::function<void()> redraw, UserInterfaceThread& uiThread)
    : picture_(picture), redraw_(std::move(redraw)), uiThread_(uiThread) {}

PlaybarSound::~PlaybarSound() { StopScan(); }

void PlaybarSound::StopScan() {
  // The scanner's destructor waits for its thread; a piece posted before that
  // finds another scan number, or this object gone, and is dropped.
  ++*currentScan_;
  scanner_.reset();
}

void PlaybarSound::showSoundOf(const std::string& videoPath, std::int32_t durationMs) {
  StopScan();
  picture_.start(durationMs, kPeakStepMs);
  redraw_();
  const std::uint64_t scan = *currentScan_;
  const std::weak_ptr<std::uint64_t> current = currentScan_;
  // Runs `task` on the user-interface thread if this scan is still the one shown then.
  auto postForThisScan = [this, scan, current](std::function<void()> task) {
    uiThread_.post([scan, current, task = std::move(task)] {
      const std::shared_ptr<std::uint64_t> now = current.lock();
      if (now && *now == scan) task();
    });
  };
  scanner_ = std::make_unique<SoundScanner>(
      videoPath, SoundScanner::Callbacks{
                     .PeaksFound =
                         [this, postForThisScan](SoundPeakPiece piece) {
                           postForThisScan([this, piece = std::move(piece)] {
                             picture_.addPeaks(piece.First, piece.Peaks);
                             redraw_();
                           });
                         },
                     .Ended =
                         [this, postForThisScan](bool foundSound) {
                           if (foundSound) return;
                           // Nothing to draw: the plain track, as for no video.
                           postForThisScan([this] {
                             picture_.clear();
                             redraw_();
                           });
                         }});
}

void PlaybarSound::forgetSound() {
  StopScan();
  picture_.clear();
  redraw_();
}

void PlaybarSound::followSubtitles(const SubtitleDocument& document) {
  const std::vector<SubtitleEntry>& entries = document.entries();
  const std::size_t count = std::min(static_cast<std::size_t>(document.rowCount()), entries.size());
  std::vector<TimeSpan> spans;
  spans.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (entries[i].EndTime > entries[i].BeginTime)
      spans.push_back({entries[i].BeginTime, entries[i].EndTime, static_cast<int>(i)});
  }
  if (picture_.setSpans(std::move(spans))) redraw_();
}

}  // namespace orlisk
