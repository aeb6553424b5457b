#include "SoundScanner.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <limits>
#include <optional>

#include "StreamDecoder.h"

namespace orlisk {
namespace {

using Clock = std::chrono::steady_clock;

// A piece goes to the caller when it holds this many steps (20 s of sound)
// or when this long has passed since the last: a fast scan hands over few
// large pieces, a slow one still shows progress several times a second.
constexpr std::size_t kPieceSteps = 2000;
constexpr auto kPieceInterval = std::chrono::milliseconds(150);
// A time stamp that jumps further ahead than this, or back by more than a
// second, is taken for a broken one (or a discontinuity of a broadcast
// stream): the sound is placed right after what came before instead, so that
// it can neither make a huge run of empty steps nor fall on steps already
// handed over.
constexpr std::int64_t kMaxGapSeconds = 60;
constexpr std::int64_t kMaxStepBackSeconds = 1;

// Where a frame starts, in samples at `rate` after the picture's time 0:
// where its time stamp says (`stamped`, if it has one), unless that is only
// rounding away from where the previous frame ended (`expected`, if there was
// one) or jumps implausibly far.
std::int64_t FrameStart(std::optional<std::int64_t> stamped, std::optional<std::int64_t> expected, int rate) {
  if (!expected) return stamped.value_or(0);
  if (!stamped) return *expected;
  const std::int64_t jump = *stamped - *expected;
  const bool rounding = std::llabs(jump) <= std::int64_t{rate} * kPeakStepMs / 1000;
  const bool plausible = jump <= kMaxGapSeconds * rate && jump >= -kMaxStepBackSeconds * rate;
  return rounding || !plausible ? *expected : *stamped;
}

// The highest magnitude among samples [from, to) of every channel, as a
// peak. `zero` is the silent value (128 for unsigned bytes); integer formats
// reach full scale at their most negative value.
template <typename Sample>
SoundPeak SamplePeak(const AVFrame& frame, bool planar, int channels, int from, int to, double fullScale,
                      double zero) {
  double highest = 0;
  const auto scan = [&](const std::uint8_t* data, int first, int last) {
    const auto* samples = reinterpret_cast<const Sample*>(data);
    for (int i = first; i < last; ++i) highest = std::max(highest, std::abs(static_cast<double>(samples[i]) - zero));
  };
  if (planar) {
    for (int c = 0; c < channels; ++c) scan(frame.extended_data[c], from, to);
  } else {
    scan(frame.extended_data[0], from * channels, to * channels);
  }
  return static_cast<SoundPeak>(std::lround(std::min(1.0, highest / fullScale) * kFullScalePeak));
}

SoundPeak FramePeak(const AVFrame& frame, int from, int to) {
  const auto format = static_cast<AVSampleFormat>(frame.format);
  const bool planar = av_sample_fmt_is_planar(format) != 0;
  const int channels = frame.ch_layout.nb_channels;
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
      return SamplePeak<std::uint8_t>(frame, planar, channels, from, to, 128.0, 128.0);
    case AV_SAMPLE_FMT_S16:
      return SamplePeak<std::int16_t>(frame, planar, channels, from, to, 32768.0, 0);
    case AV_SAMPLE_FMT_S32:
      return SamplePeak<std::int32_t>(frame, planar, channels, from, to, 2147483648.0, 0);
    case AV_SAMPLE_FMT_S64:
      return SamplePeak<std::int64_t>(frame, planar, channels, from, to, 9223372036854775808.0, 0);
    case AV_SAMPLE_FMT_FLT:
      return SamplePeak<float>(frame, planar, channels, from, to, 1.0, 0);
    case AV_SAMPLE_FMT_DBL:
      return SamplePeak<double>(frame, planar, channels, from, to, 1.0, 0);
    default:
      return 0;
  }
}

// Where the reader's time 0 lies on the file's clock: the first picture's
// time, as the stream says it (the start of the file for a sound-only one).
std::int64_t OriginMicroseconds(const AVFormatContext& format) {
  for (unsigned i = 0; i < format.nb_streams; ++i) {
    const AVStream* stream = format.streams[i];
    if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
    if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) continue;
    if (stream->start_time != AV_NOPTS_VALUE)
      return av_rescale_q(stream->start_time, stream->time_base, AV_TIME_BASE_Q);
    break;
  }
  return format.start_time == AV_NOPTS_VALUE ? 0 : format.start_time;
}

// The peaks of the steps not handed over yet, and the step the sound has
// reached. Steps before `first` are gone to the caller; a late sample that
// falls there (time stamps that overlap by a few samples) is dropped.
class StepPeaks {
 public:
  explicit StepPeaks(std::function<void(SoundPeakPiece)> handOver)
      : handOver_(std::move(handOver)), lastHandOver_(Clock::now()) {}

  // A decoded frame at `sampleRate` whose first sample lies `firstSample`
  // samples (at that rate) after the picture's time 0 (negative: before it).
  void Add(const AVFrame& frame, int sampleRate, std::int64_t firstSample) {
    const int count = frame.nb_samples;
    int i = static_cast<int>(std::clamp<std::int64_t>(-firstSample, 0, count));
    while (i < count) {
      const std::int64_t sample = firstSample + i;
      const std::int64_t step = sample * 1000 / (std::int64_t{sampleRate} * kPeakStepMs);
      const std::int64_t stepEnd = ((step + 1) * sampleRate * kPeakStepMs + 999) / 1000;
      const int end = static_cast<int>(std::min<std::int64_t>(count, stepEnd - firstSample));
      Record(step, FramePeak(frame, i, end));
      i = end;
    }
    if (peaks_.size() > 1 && (peaks_.size() - 1 >= kPieceSteps || Clock::now() - lastHandOver_ >= kPieceInterval))
      HandOver(peaks_.size() - 1);  // the last step may still grow
  }

  // Everything left, at the end of the sound.
  void Finish() {
    if (!peaks_.empty()) HandOver(peaks_.size());
  }

  bool FoundAny() const { return handedOverAny_ || !peaks_.empty(); }

 private:
  void Record(std::int64_t step, SoundPeak peak) {
    if (step < static_cast<std::int64_t>(first_)) return;
    const auto index = static_cast<std::size_t>(step) - first_;
    if (index >= peaks_.size()) peaks_.resize(index + 1, 0);
    peaks_[index] = std::max(peaks_[index], peak);
  }

  void HandOver(std::size_t steps) {
    const auto end = peaks_.begin() + static_cast<std::ptrdiff_t>(steps);
    SoundPeakPiece piece{.First = first_, .Peaks = {peaks_.begin(), end}};
    peaks_.erase(peaks_.begin(), end);
    first_ += steps;
    handedOverAny_ = true;
    lastHandOver_ = Clock::now();
    handOver_(std::move(piece));
  }

  std::function<void(SoundPeakPiece)> handOver_;
  std::size_t first_ = 0;
  std::vector<SoundPeak> peaks_;
  bool handedOverAny_ = false;
  Clock::time_point lastHandOver_;
};

// The scan only fills a picture behind the playbar: it yields the processor
// to playback and typing whenever they want it.
// Named for whoever looks at the threads (top -H, a debugger).
void RunBehindEverythingElse() {
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
  pthread_setname_np(pthread_self(), "orlisk-waveform");
}

}  // namespace

SoundScanner::SoundScanner(std::string path, Callbacks callbacks) : callbacks_(std::move(callbacks)) {
  thread_ = std::thread([this, path = std::move(path)] { Scan(path); });
}

SoundScanner::~SoundScanner() {
  stopping_ = true;
  thread_.join();
}

void SoundScanner::Scan(const std::string& path) {
  RunBehindEverythingElse();
  bool foundSound = false;
  try {
    // One decoder thread: the scan must not crowd out the picture's decoder.
    std::unique_ptr<StreamDecoder> decoder = StreamDecoder::Open(path, AVMEDIA_TYPE_AUDIO, 1, &stopping_);
    const int sampleRate = decoder ? decoder->Codec()->sample_rate : 0;
    if (decoder && sampleRate > 0) {
      const AVStream* stream = decoder->Stream();
      const std::int64_t originSample = av_rescale(OriginMicroseconds(*decoder->Format()), sampleRate, 1'000'000);
      const AVRational sampleTime{1, sampleRate};
      StepPeaks peaks([this](SoundPeakPiece piece) {
        if (!stopping_) callbacks_.PeaksFound(std::move(piece));
      });
      AvFramePtr frame(av_frame_alloc());
      std::optional<std::int64_t> expected;  // where the previous frame ended
      while (!stopping_ && frame && decoder->NextFrame(frame.get())) {
        std::optional<std::int64_t> stamped;
        if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
          stamped = av_rescale_q(frame->best_effort_timestamp, stream->time_base, sampleTime) - originSample;
        const std::int64_t start = FrameStart(stamped, expected, sampleRate);
        // Counted at the stream's first rate; a stream that changes its rate
        // half way is measured at each frame's own.
        const int frameRate = frame->sample_rate > 0 ? frame->sample_rate : sampleRate;
        peaks.Add(*frame, frameRate, av_rescale(start, frameRate, sampleRate));
        expected = start + av_rescale(frame->nb_samples, sampleRate, frameRate);
        av_frame_unref(frame.get());
      }
      if (!stopping_) peaks.Finish();
      foundSound = peaks.FoundAny();
    }
  } catch (const std::exception&) {
    // A sound that cannot be decoded has no waveform; the video still plays.
  }
  if (stopping_) return;
  try {
    callbacks_.Ended(foundSound);
  } catch (const std::exception&) {
    // A failing callback has no one to tell on this thread.
  }
}

}  // namespace orlisk
