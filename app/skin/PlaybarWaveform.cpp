#include "app/skin/PlaybarWaveform.h"

#include <algorithm>

namespace orlisk {

void PlaybarWaveform::start(std::int32_t durationMs, int stepMs) {
  clear();
  duration_ = std::max<std::int32_t>(0, durationMs);
  stepMs_ = std::max(1, stepMs);
  // Exactly the steps the playbar can show: a sound that runs on past the
  // picture, or a broken time stamp, cannot make the store grow.
  const std::size_t steps = (static_cast<std::size_t>(duration_) + static_cast<std::size_t>(stepMs_) - 1) /
                            static_cast<std::size_t>(stepMs_);
  peaks_.assign(steps, 0);
}

void PlaybarWaveform::clear() {
  duration_ = 0;
  peaks_ = {};
  known_ = 0;
  spans_.clear();
  columns_ = {};
  columnsKnown_ = 0;
}

void PlaybarWaveform::addPeaks(std::size_t first, const std::vector<std::uint16_t>& peaks) {
  if (first >= peaks_.size()) {
    known_ = std::max(known_, peaks_.size());
    return;
  }
  const std::size_t count = std::min(peaks.size(), peaks_.size() - first);
  std::copy_n(peaks.begin(), count, peaks_.begin() + static_cast<std::ptrdiff_t>(first));
  known_ = std::max(known_, first + count);
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
  const auto count = static_cast<std::size_t>(columns);
  std::size_t firstChanged = 0;
  if (columns_.size() == count && columnsKnown_ <= known_) {
    if (columnsKnown_ == known_) return columns_;
    // Only the columns from the one holding the first new step on change.
    if (duration_ > 0)
      firstChanged = static_cast<std::size_t>(static_cast<std::int64_t>(columnsKnown_) * stepMs_ * columns / duration_);
  } else {
    columns_.assign(count, -1.0F);
  }
  const std::int64_t span = std::int64_t{duration_};
  for (std::size_t c = firstChanged; c < count && duration_ > 0; ++c) {
    const auto column = static_cast<std::int64_t>(c);
    const auto begin = static_cast<std::size_t>(column * span / (std::int64_t{columns} * stepMs_));
    auto end = static_cast<std::size_t>(((column + 1) * span + std::int64_t{columns} * stepMs_ - 1) /
                                        (std::int64_t{columns} * stepMs_));
    end = std::min(std::max(end, begin + 1), known_);
    if (begin >= end) {
      columns_[c] = -1.0F;
      continue;
    }
    const std::uint16_t highest = *std::max_element(peaks_.begin() + static_cast<std::ptrdiff_t>(begin),
                                                    peaks_.begin() + static_cast<std::ptrdiff_t>(end));
    columns_[c] = static_cast<float>(highest) / 65535.0F;
  }
  columnsKnown_ = known_;
  return columns_;
}

std::size_t PlaybarWaveform::memoryBytes() const {
  return peaks_.capacity() * sizeof(std::uint16_t) + columns_.capacity() * sizeof(float) +
         spans_.capacity() * sizeof(TimeSpan);
}

}  // namespace orlisk
