#pragma once
// What the playbar's track and the timing strip show while a video is open:
// the sound's loudness over the whole video, arriving in pieces while it is
// measured, and the subtitles' spans. Plain data with the playbar's
// per-column loudness cached for drawing; user-interface thread only.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orlisk {

// A subtitle's time on the video, in ms; End after Begin. Row is its place
// in the list (0 for the first), which the timing strip numbers it by.
struct TimeSpan {
  std::int32_t Begin = 0;
  std::int32_t End = 0;
  int Row = 0;
  bool operator==(const TimeSpan&) const = default;
};

class PlaybarWaveform {
 public:
  // A video of `durationMs` whose loudness will come as peaks of `stepMs`
  // each (0 silence .. 65535 full scale), step 0 at time 0. Room for all of
  // them is taken at once, at most 2 MB (a longer video keeps the highest of
  // every few steps); peaks past the video's end are not kept.
  void start(std::int32_t durationMs, int stepMs);
  // No video, or a video without sound: the plain track. Forgets the spans.
  void clear();
  // Peaks of the steps first, first + 1, ...; pieces come in order.
  void addPeaks(std::size_t first, const std::vector<std::uint16_t>& peaks);
  // Whether any loudness has arrived: until then the plain track shows.
  bool hasSound() const { return known_ > 0; }
  std::int32_t duration() const { return duration_; }

  // The subtitles' spans; false when they are the same as before.
  bool setSpans(std::vector<TimeSpan> spans);
  const std::vector<TimeSpan>& spans() const { return spans_; }
  // The current subtitle at `ms`: of the spans that hold it, the one that
  // began last (the first of those in the list on a tie); -1 for none.
  int spanAt(std::int32_t ms) const;

  // The loudness (0..1) of each of `columns` equal slices of the video, the
  // highest peak in the slice; -1 for a slice the measuring has not reached.
  const std::vector<float>& columnLevels(int columns) const;

  // The kept peaks, each the highest of `peakMs()` of sound from its index
  // times that on; only the first `knownPeaks()` have arrived.
  const std::vector<std::uint16_t>& peaks() const { return peaks_; }
  std::size_t knownPeaks() const { return known_; }
  std::int64_t peakMs() const { return std::int64_t{stepMs_} * static_cast<std::int64_t>(stepsPerPeak_); }
  // Changes whenever the loudness does (a start, a clear, a piece), so a
  // drawing of it knows when to work its columns out again.
  std::uint64_t soundRevision() const { return soundRevision_; }

  // What the peaks and the column cache take, in bytes.
  std::size_t memoryBytes() const;

 private:
  std::int32_t duration_ = 0;
  int stepMs_ = 1;
  std::size_t stepsPerPeak_ = 1;      // steps merged into one kept peak
  std::vector<std::uint16_t> peaks_;  // sized for the whole video at start
  std::size_t known_ = 0;             // kept peaks [0, known_) have (some of) their steps
  std::vector<TimeSpan> spans_;
  std::uint64_t soundRevision_ = 0;

  // The column cache, and the first kept peak changed since it was worked out.
  static constexpr std::size_t kUnchanged = static_cast<std::size_t>(-1);
  mutable std::vector<float> columns_;
  mutable std::size_t changedFrom_ = kUnchanged;
};

}  // namespace orlisk
