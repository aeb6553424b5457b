// SeekTo followed by ReadFrame to 50 random times of a 720p H.264 clip with a
// key frame every 10 seconds, against the floor of any frame-accurate seek:
// a demuxer seek to the key frame before the time, a decoder flush, decoding
// forward to the frame shown at the time and one colour conversion, with a
// decoder of the same kind on the same file. For each time the two take
// turns (the first alternating), so a passing load on the shared machine
// weighs on both. Prints median and 95th percentile of each and the ratio of
// the medians. Goal: at most 1.3.
//
// The reader does a little more than the floor by design: it also seeks the
// sound, decodes the frame after the one shown (to know where the shown one
// ends) and then decodes a few frames ahead on its thread; the pause after
// each reader seek lets that finish before the floor is timed.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "BenchClips.h"
#include "BenchClock.h"
#include "playback/FfmpegVideoReader.h"
#include "media/PictureConverter.h"
#include "playback/StreamDecoder.h"

namespace {

using namespace orlisk::bench;

constexpr double kGoalRatio = 1.3;
constexpr int kTargets = 50;

// Seeks with a decoder of its own, as directly as FFmpeg allows.
class FloorSeeker {
 public:
  explicit FloorSeeker(const std::string& path)
      : decoder_(orlisk::StreamDecoder::Open(path, AVMEDIA_TYPE_VIDEO, 0)), frame_(av_frame_alloc()) {
    decoder_->NextFrame(frame_.get());
    origin_ = frame_->best_effort_timestamp;
    const AVStream* stream = decoder_->Stream();
    frameStep_ = av_rescale_q(1, av_inv_q(stream->avg_frame_rate), stream->time_base);
  }

  // Seconds to reach and convert the frame shown at `ms`.
  double SeekTo(std::int32_t ms) {
    const AVRational timeBase = decoder_->Stream()->time_base;
    const std::int64_t target = origin_ + av_rescale_q(ms, {1, 1000}, timeBase);
    Stopwatch watch;
    decoder_->SeekBackwardTo(target);
    // The frame shown at the target is the one whose span holds it.
    while (decoder_->NextFrame(frame_.get())) {
      if (frame_->best_effort_timestamp + frameStep_ > target) break;
      av_frame_unref(frame_.get());
    }
    const orlisk::Frame converted = converter_.ToFrame(*frame_, frame_->width, frame_->height);
    av_frame_unref(frame_.get());
    const double seconds = watch.Seconds();
    if (converted.empty()) std::printf("the floor found no frame at %d ms\n", ms);
    return seconds;
  }

 private:
  std::unique_ptr<orlisk::StreamDecoder> decoder_;
  orlisk::AvFramePtr frame_;
  orlisk::PictureConverter converter_;
  std::int64_t origin_ = 0;
  std::int64_t frameStep_ = 1;
};

double ReaderSeek(orlisk::FfmpegVideoReader& reader, std::int32_t ms) {
  Stopwatch watch;
  reader.SeekTo(ms);
  const orlisk::Frame frame = reader.ReadFrame();
  const double seconds = watch.Seconds();
  if (frame.empty()) std::printf("the reader found no frame at %d ms\n", ms);
  // The reader decodes ahead after a seek; that must not run into the next timing.
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  return seconds;
}

}  // namespace

int main() {
  const std::string path = CachedClip(
      {.width = 1280, .height = 720, .fps = 25, .seconds = 20, .audio = true, .codec = "libx264",
       .container = "mp4", .audioCodec = "aac", .keyFrameInterval = 250,
       .picture = orlisk::testclips::Picture::TestPattern},
      "720p25-h264-aac-g250-20s.mp4");
  std::printf("SeekTo+ReadFrame, 1280x720 H.264, key frame every 10 s, %d random times; load average %s\n",
              kTargets, LoadAverage().c_str());

  orlisk::FfmpegVideoReader reader;
  reader.OpenSource(path);
  FloorSeeker floor(path);
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int32_t> anyTime(0, reader.GetDuration() - 1);
  std::vector<double> seeks, floors, ratios;
  for (int i = 0; i < kTargets; ++i) {
    const std::int32_t target = anyTime(random);
    double seek = 0, least = 0;
    if (i % 2 == 0) {
      least = floor.SeekTo(target);
      seek = ReaderSeek(reader, target);
    } else {
      seek = ReaderSeek(reader, target);
      least = floor.SeekTo(target);
    }
    seeks.push_back(seek);
    floors.push_back(least);
    ratios.push_back(seek / least);
  }

  const double seekMedian = Median(seeks);
  const double floorMedian = Median(floors);
  std::printf("  reader: median %7.1f ms  p95 %7.1f ms\n", 1000 * seekMedian, 1000 * Percentile(seeks, 0.95));
  std::printf("  floor:  median %7.1f ms  p95 %7.1f ms  (demuxer seek, flush, decode forward, one conversion)\n",
              1000 * floorMedian, 1000 * Percentile(floors, 0.95));
  std::printf("  ratio per time: median %.2f, from %.2f to %.2f\n", Median(ratios), Percentile(ratios, 0),
              Percentile(ratios, 1));
  PrintResult("seeking 720p, reader/floor", Format("at most %.1f (medians)", kGoalRatio),
              Format("%.2f (%.0f / %.0f ms)", seekMedian / floorMedian, 1000 * seekMedian, 1000 * floorMedian),
              seekMedian / floorMedian <= kGoalRatio);
  return 0;
}
