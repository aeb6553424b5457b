// SeekTo followed by ReadFrame to 50 random times of a 720p H.264 clip with a
// key frame every 10 seconds, against the floor: decoding the same frames
// forward from their key frame (timed in one pass with the same decoder) plus
// one colour conversion. Prints median and 95th percentile and the ratio of
// the medians (goal: at most 1.3).
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "playback/FfmpegVideoReader.h"
#include "media/PictureConverter.h"
#include "playback/StreamDecoder.h"
#include "tests/fixtures/TestClips.h"

namespace {

using orlisk::bench::Percentile;
using orlisk::bench::Stopwatch;

struct DecodedFrame {
  std::int32_t time;   // ms from the first frame
  bool key;
  double finishedAt;   // seconds since the pass started
};

// Decodes the whole file once, noting when each frame came out.
std::vector<DecodedFrame> DecodePass(const std::string& path) {
  auto decoder = orlisk::StreamDecoder::Open(path, AVMEDIA_TYPE_VIDEO, 0);
  orlisk::AvFramePtr frame(av_frame_alloc());
  std::vector<DecodedFrame> frames;
  std::int64_t origin = AV_NOPTS_VALUE;
  Stopwatch watch;
  while (decoder->NextFrame(frame.get())) {
    const double finished = watch.Seconds();
    if (origin == AV_NOPTS_VALUE) origin = frame->best_effort_timestamp;
    const auto time = static_cast<std::int32_t>(
        av_rescale_q(frame->best_effort_timestamp - origin, decoder->Stream()->time_base, {1, 1000}));
    frames.push_back({time, frame->key_frame != 0, finished});
    av_frame_unref(frame.get());
  }
  return frames;
}

// Seconds for one colour conversion of a frame of the file (best of 5).
double ConversionTime(const std::string& path) {
  auto decoder = orlisk::StreamDecoder::Open(path, AVMEDIA_TYPE_VIDEO, 0);
  orlisk::AvFramePtr frame(av_frame_alloc());
  orlisk::PictureConverter converter;
  decoder->NextFrame(frame.get());
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    Stopwatch watch;
    converter.ToFrame(*frame, frame->width, frame->height);
    best = std::min(best, watch.Seconds());
  }
  return best;
}

// Seconds to decode from the key frame before `target` up to the frame shown at it.
double FloorFor(const std::vector<DecodedFrame>& frames, std::int32_t target) {
  std::size_t shown = 0;
  while (shown + 1 < frames.size() && frames[shown + 1].time <= target) ++shown;
  std::size_t key = shown;
  while (key > 0 && !frames[key].key) --key;
  const double before = key == 0 ? 0.0 : frames[key - 1].finishedAt;
  return frames[shown].finishedAt - before;
}

}  // namespace

int main() {
  const std::string path = orlisk::testclips::MakeClip(
      {.width = 1280, .height = 720, .fps = 25, .seconds = 20, .audio = true, .codec = "libx264",
       .container = "mp4", .audioCodec = "aac", .keyFrameInterval = 250,
       .picture = orlisk::testclips::Picture::TestPattern});

  const double conversion = ConversionTime(path);
  const std::vector<DecodedFrame> frames = DecodePass(path);

  orlisk::FfmpegVideoReader reader;
  reader.OpenSource(path);
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int32_t> anyTime(0, reader.GetDuration() - 1);
  std::vector<double> seeks;
  std::vector<double> floors;
  for (int i = 0; i < 50; ++i) {
    const std::int32_t target = anyTime(random);
    Stopwatch watch;
    reader.SeekTo(target);
    const orlisk::Frame frame = reader.ReadFrame();
    seeks.push_back(watch.Seconds());
    if (frame.empty()) std::printf("no frame at %d ms\n", target);
    floors.push_back(FloorFor(frames, target) + conversion);
  }

  const double seekMedian = Percentile(seeks, 0.5);
  const double floorMedian = Percentile(floors, 0.5);
  std::printf("SeekTo+ReadFrame, 1280x720 H.264, key frame every 10 s, 50 random times\n");
  std::printf("  reader: median %7.1f ms  p95 %7.1f ms\n", 1000 * seekMedian, 1000 * Percentile(seeks, 0.95));
  std::printf("  floor:  median %7.1f ms  p95 %7.1f ms  (decode forward from the key frame + one conversion)\n",
              1000 * floorMedian, 1000 * Percentile(floors, 0.95));
  std::printf("  ratio of medians %.2f\n", seekMedian / floorMedian);
  return 0;
}
