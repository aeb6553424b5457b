#include "app/skin/PlaybarWaveform.h"

#include <algorithm>

namespace orlisk {

namespace {

// Up to 2 MB of peaks: every step of a video up to almost three hours at
// 10 ms. A longer one (or a file that claims weeks) keeps the highest of
// every few steps instead: still hundreds of peaks to a pixel column.
constexpr std::size_t kMaxKeptPeaks = std::size_t{1} << 20;

std::size_t CeilDivide(std::size_t value, std::size_t by) { return (value + by - 1) / by; }

}  // namespace

void PlaybarWaveform::start(std::int32_t durationMs, int stepMs) {
  clear();
  duration_ = std::max<std::int32_t>(0, durationMs);
  stepMs_ = std::max(1, stepMs);
  // Exactly the steps the playbar can show: a sound that runs on past the
  // picture, or a broken time stamp, cannot make the store grow.
  const std::size_t steps = CeilDivide(static_cast<std::size_t>(duration_), static_cast<std::size_t>(stepMs_));
  stepsPerPeak_ = std::max<std::size_t>(1, CeilDivide(steps, kMaxKeptPeaks));
  peaks_.assign(CeilDivide(steps, stepsPerPeak_), 0);
}

void PlaybarWaveform::clear() {
  duration_ = 0;
  peaks_ = {};
  known_ = 0;
  stepsPerPeak_ = 1;
  spans_.clear();
  columns_ = {};
  changedFrom_ = kUnchanged;
  ++soundRevision_;
}

void PlaybarWaveform::addPeaks(std::size_t first, const std::vector<std::uint16_t>& peaks) {
  ++soundRevision_;
  changedFrom_ = std::min(changedFrom_, first / stepsPerPeak_);
  for (std::size_t i = 0; i < peaks.size(); ++i) {
    const std::size_t kept = (first + i) / stepsPerPeak_;
    if (kept >= peaks_.size()) break;
    peaks_[kept] = std::max(peaks_[kept], peaks[i]);
  }
  known_ = std::max(known_, std::min(peaks_.size(), CeilDivide(first + peaks.size(), stepsPerPeak_)));
}

bool PlaybarWaveform::setSpans(std::vector<TimeSpan> spans) {
  if (spans == spans_) return false;
  spans_ = std::move(spans);
  return true;
}

int PlaybarWaveform::spanAt(std::int32_t ms) const {
  int found = -1;
  for (int i = 0; i < static_cast<int>(spans_.size()); ++i) {
    const TimeSpan& span = spans_[static_cast<std::size_t>(i)];
    if (span.Begin <= ms && ms < span.End && (found < 0 || span.Begin > spans_[static_cast<std::size_t>(found)].Begin))
      found = i;
  }
  return found;
}

const std::vector<float>& PlaybarWaveform::columnLevels(int columns) const {
  columns = std::max(0, columns);
  const std::int64_t peakMs = std::int64_t{stepMs_} * static_cast<std::int64_t>(stepsPerPeak_);
  const auto count = static_cast<std::size_t>(columns);
  std::size_t firstChanged = 0;
  if (columns_.size() == count) {
    if (changedFrom_ == kUnchanged) return columns_;
    // Only the columns from the one holding the first changed peak on.
    if (duration_ > 0)
      firstChanged = static_cast<std::size_t>(static_cast<std::int64_t>(changedFrom_) * peakMs * columns / duration_);
  } else {
    columns_.assign(count, -1.0F);
  }
  const std::int64_t span = std::int64_t{duration_};
  for (std::size_t c = firstChanged; c < count && duration_ > 0; ++c) {
    const auto column = static_cast<std::int64_t>(c);
    const auto begin = static_cast<std::size_t>(column * span / (std::int64_t{columns} * peakMs));
    auto end = static_cast<std::size_t>(((column + 1) * span + std::int64_t{columns} * peakMs - 1) /
                                        (std::int64_t{columns} * peakMs));
    end = std::min(std::max(end, begin + 1), known_);
    if (begin >= end) {
      columns_[c] = -1.0F;
      continue;
    }
    const std::uint16_t highest = *std::max_element(peaks_.begin() + static_cast<std::ptrdiff_t>(begin),
                                                    peaks_.begin() + static_cast<std::ptrdiff_t>(end));
    columns_[c] = static_cast<float>(highest) / 65535.0F;
  }
  changedFrom_ = kUnchanged;
  return columns_;
}

std::size_t PlaybarWaveform::memoryBytes() const {
  return peaks_.capacity() * sizeof(std::uint16_t) + columns_.capacity() * sizeof(float) +
         spans_.capacity() * sizeof(TimeSpan);
}

}  // namespace orlisk
