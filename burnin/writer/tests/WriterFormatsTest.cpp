// Every output format, written by the FFmpeg writer from a clip made at test
// time through the writer configuration, then probed back: container, codecs,
// size, frame count, sound codec and rate, and a clean decode to the end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "WriterTestSupport.h"
#include "burnin/writer/CodecLists.h"
#include "burnin/writer/ConfigureWriter.h"
#include "burnin/writer/DeliveryConfiguration.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"

extern "C" {
#include <libavutil/log.h>
}

namespace orlisk {
namespace {

using testclips::ClipOptions;
using writertest::CopyInterleaved;
using writertest::DecodeToEnd;
using writertest::ProbeFile;

struct Expected {
  std::string container;
  std::string videoCodec;
  int width;
  int height;
  int frames;
  std::string audioCodec;
  int sampleRate;
  int channels;
};

struct FormatRow {
  std::string name;
  ClipOptions source;
  std::function<void(OutputSettings&)> settings;
  int formatChoice;
  std::string extension;
  Expected expected;
};

void PrintTo(const FormatRow& row, std::ostream* out) { *out << row.name; }

// A file named after the row, with the extension the configuration chose.
struct Written {
  std::string path;
  WriterConfiguration configuration;
};

Written WriteThroughTheWriter(const FormatRow& row, int maxFrames = -1) {
  FfmpegVideoReader reader;
  const std::string source = testclips::MakeClip(row.source);
  reader.OpenSource(source);
  FfmpegVideoWriter writer;
  const CodecLists codecs = FillCodecLists(writer);
  OutputSettings settings;
  row.settings(settings);
  Written written;
  written.configuration = ConfigureWriter(ReadSourceFacts(reader, source), settings, row.formatChoice, codecs);
  ApplyWriterConfiguration(written.configuration, writer);
  written.path = testclips::TempFolder() + "/" + row.name + (maxFrames >= 0 ? "-stopped" : "") +
                 written.configuration.OutputExtension;
  writer.CreateOutput(written.path, written.configuration.OutputType);
  CopyInterleaved(reader, writer, maxFrames);
  writer.CloseSource();
  return written;
}

class WriterFormatsTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(WriterFormatsTest, WritesWhatTheConfigurationAsks) {
  const FormatRow& row = GetParam();
  const Written written = WriteThroughTheWriter(row);
  EXPECT_EQ(written.configuration.OutputExtension, row.extension);

  const writertest::Probe probe = ProbeFile(written.path);
  const Expected& expected = row.expected;
  EXPECT_EQ(probe.Container, expected.container);
  EXPECT_EQ(probe.VideoCodec, expected.videoCodec);
  EXPECT_EQ(probe.Width, expected.width);
  EXPECT_EQ(probe.Height, expected.height);
  EXPECT_NEAR(probe.VideoPackets, expected.frames, 1);
  EXPECT_EQ(probe.AudioCodec, expected.audioCodec);
  EXPECT_EQ(probe.SampleRate, expected.sampleRate);
  EXPECT_EQ(probe.Channels, expected.channels);

  const writertest::Decoded decoded = DecodeToEnd(written.path);
  EXPECT_EQ(decoded.Errors, 0) << decoded.FirstError;
  EXPECT_NEAR(decoded.Frames, expected.frames, 1);
  // Two seconds of sound at the output's rate, give or take a codec frame.
  EXPECT_NEAR(decoded.Samples, 2 * expected.sampleRate, expected.sampleRate / 10);
}

// 160x120, 25 frames per second, two seconds, 44.1 kHz stereo PCM in AVI.
const ClipOptions kAviSource{};
const ClipOptions kMpgSource{.codec = "mpeg1video", .container = "mpg", .audioCodec = "mp2"};
const ClipOptions kWmvSource{.codec = "wmv2", .container = "wmv", .audioCodec = "wmav2"};
const ClipOptions kMp4Source{.codec = "libx264", .container = "mp4", .audioCodec = "aac"};
const ClipOptions kMkvSource{.codec = "libx264", .container = "mkv", .audioCodec = "aac"};
const ClipOptions kWebmSource{.codec = "libvpx-vp9", .container = "webm", .audioCodec = "libopus",
                              .sampleRate = 48000};
// Theora stores a picture that repeats the previous one as an empty packet,
// which the Ogg reader skips: a moving pattern keeps every frame distinct.
const ClipOptions kOgvSource{.codec = "libtheora", .container = "ogv", .audioCodec = "libvorbis",
                             .picture = testclips::Picture::TestPattern};

const ClipOptions kMovSource{.codec = "libx264", .container = "mov", .audioCodec = "aac"};
const ClipOptions kFlvSource{.codec = "libx264", .container = "flv", .audioCodec = "aac"};
const ClipOptions kTsSource{.codec = "libx264", .container = "ts", .audioCodec = "aac"};

const auto kOriginal = [](OutputSettings& s) { s.OutputMode = 0; };

std::function<void(OutputSettings&)> CustomAvi(AviAudioChoice audio) {
  return [audio](OutputSettings& s) {
    s.OutputMode = 1;
    s.AviCodec = 0;  // the first codec of the catalogue: Xvid where it is installed
    s.AviAudio = audio;
  };
}

std::function<void(OutputSettings&)> CustomMpeg(int version) {
  return [version](OutputSettings& s) {
    s.OutputMode = 1;
    s.MpegVersion = version;
  };
}

const auto kCustom = [](OutputSettings& s) { s.OutputMode = 1; };

// Custom AVI: 352x240 at 24 frames per second, so 50 source frames become 48.
INSTANTIATE_TEST_SUITE_P(
    Custom, WriterFormatsTest,
    ::testing::Values(
        FormatRow{"AviPcm", kAviSource, CustomAvi(kAviAudioPcm), 0, ".avi",
                  {"avi", "mpeg4", 352, 240, 48, "pcm_s16le", 44100, 2}},
        FormatRow{"AviMp3", kAviSource, CustomAvi(kAviAudioMp3), 0, ".avi",
                  {"avi", "mpeg4", 352, 240, 48, "mp3", 44100, 2}},
        FormatRow{"AviAdpcm", kAviSource, CustomAvi(kAviAudioAdpcm), 0, ".avi",
                  {"avi", "mpeg4", 352, 240, 48, "adpcm_ms", 44100, 2}},
        FormatRow{"AviAlaw", kAviSource, CustomAvi(kAviAudioAlaw), 0, ".avi",
                  {"avi", "mpeg4", 352, 240, 48, "pcm_alaw", 44100, 2}},
        FormatRow{"AviUlaw", kAviSource, CustomAvi(kAviAudioUlaw), 0, ".avi",
                  {"avi", "mpeg4", 352, 240, 48, "pcm_mulaw", 44100, 2}},
        FormatRow{"AviGsmIsResampledTo8kHzMono", kAviSource, CustomAvi(kAviAudioGsm), 0, ".avi",
                  {"avi", "mpeg4", 352, 240, 48, "gsm_ms", 8000, 1}},
        FormatRow{"Mpeg1", kAviSource, CustomMpeg(0), 1, ".mpeg",
                  {"mpeg", "mpeg1video", 352, 240, 50, "mp2", 44100, 2}},
        FormatRow{"Mpeg2", kAviSource, CustomMpeg(1), 1, ".mpeg",
                  {"mpeg", "mpeg2video", 352, 240, 50, "mp2", 44100, 2}},
        FormatRow{"WmvDefaultProfileKeepsSourceSize", kAviSource, kCustom, 2, ".wmv",
                  {"asf", "wmv2", 160, 120, 50, "wmav2", 44100, 2}},
        FormatRow{"RmDefaultProfileKeepsSourceSize", kAviSource, kCustom, 3, ".rm",
                  {"rm", "rv20", 160, 120, 50, "ac3", 44100, 2}}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Original, WriterFormatsTest,
    ::testing::Values(FormatRow{"AviWavSoundStaysPcm", kAviSource, kOriginal, 0, ".avi",
                                {"avi", "mpeg4", 160, 120, 50, "pcm_s16le", 44100, 2}},
                      FormatRow{"Mpg", kMpgSource, kOriginal, 0, ".mpeg",
                                {"mpeg", "mpeg1video", 160, 120, 50, "mp2", 44100, 2}},
                      FormatRow{"Wmv", kWmvSource, kOriginal, 0, ".wmv",
                                {"asf", "wmv2", 160, 120, 50, "wmav2", 44100, 2}},
                      FormatRow{"Mp4", kMp4Source, kOriginal, 0, ".mp4",
                                {"mov,mp4,m4a,3gp,3g2,mj2", "h264", 160, 120, 50, "aac", 44100, 2}},
                      FormatRow{"Mkv", kMkvSource, kOriginal, 0, ".mkv",
                                {"matroska,webm", "h264", 160, 120, 50, "aac", 44100, 2}},
                      FormatRow{"Webm", kWebmSource, kOriginal, 0, ".webm",
                                {"matroska,webm", "vp9", 160, 120, 50, "opus", 48000, 2}},
                      FormatRow{"Ogv", kOgvSource, kOriginal, 0, ".ogv",
                                {"ogg", "theora", 160, 120, 50, "vorbis", 44100, 2}},
                      FormatRow{"Mov", kMovSource, kOriginal, 0, ".mov",
                                {"mov,mp4,m4a,3gp,3g2,mj2", "h264", 160, 120, 50, "aac", 44100, 2}},
                      FormatRow{"Flv", kFlvSource, kOriginal, 0, ".flv",
                                {"flv", "h264", 160, 120, 50, "aac", 44100, 2}},
                      FormatRow{"Ts", kTsSource, kOriginal, 0, ".ts",
                                {"mpegts", "h264", 160, 120, 50, "aac", 44100, 2}}),
    [](const auto& info) { return info.param.name; });

// MP4 and MKV for publishing, in every size preset: the codecs, the frame,
// its pixel aspect, every frame, and the source's sound copied packet for
// packet where the container takes it (else encoded).
struct DeliveryRow {
  FormatRow format;
  PixelAspect aspect;
  bool soundCopied;
};

void PrintTo(const DeliveryRow& row, std::ostream* out) { *out << row.format.name; }

class DeliveryFormatsTest : public ::testing::TestWithParam<DeliveryRow> {};

TEST_P(DeliveryFormatsTest, WritesTheChosenCodecsFrameAndSound) {
  const DeliveryRow& row = GetParam();
  const Expected& expected = row.format.expected;
  if (expected.videoCodec == "hevc" && !H265EncoderInstalled()) GTEST_SKIP() << "no H.265 encoder installed";
  const Written written = WriteThroughTheWriter(row.format);
  EXPECT_EQ(written.configuration.OutputExtension, row.format.extension);
  const writertest::Probe probe = ProbeFile(written.path);
  EXPECT_EQ(probe.Container, expected.container);
  EXPECT_EQ(probe.VideoCodec, expected.videoCodec);
  EXPECT_EQ(probe.Width, expected.width);
  EXPECT_EQ(probe.Height, expected.height);
  EXPECT_EQ(probe.Aspect, row.aspect);
  EXPECT_EQ(probe.VideoPackets, expected.frames);
  EXPECT_EQ(probe.AudioCodec, expected.audioCodec);
  EXPECT_EQ(probe.SampleRate, expected.sampleRate);
  const writertest::Probe source = ProbeFile(testclips::MakeClip(row.format.source));
  EXPECT_EQ(probe.SoundDigest == source.SoundDigest, row.soundCopied);
  const writertest::Decoded decoded = DecodeToEnd(written.path);
  EXPECT_EQ(decoded.Errors, 0) << decoded.FirstError;
  EXPECT_NEAR(decoded.Samples, expected.frames / 25.0 * expected.sampleRate, expected.sampleRate / 10);
}

// One second of AAC in MP4 (or Opus in WebM) beside H.264 (VP9) at 160x120.
const ClipOptions kShortMp4{.seconds = 1.0, .codec = "libx264", .container = "mp4", .audioCodec = "aac"};
const ClipOptions kShortWebm{.seconds = 1.0, .codec = "libvpx-vp9", .container = "webm", .audioCodec = "libopus",
                             .sampleRate = 48000};
// 160x120 samples shown 16:9 wide: each sample is 4:3.
const ClipOptions kWideSamples{.seconds = 1.0, .codec = "libx264", .container = "mkv", .audioCodec = "aac",
                               .extraOptions = "-aspect 16:9"};

std::function<void(OutputSettings&)> Delivery(int preset, std::function<void(OutputSettings&)> more = {}) {
  return [preset, more](OutputSettings& s) {
    s.OutputMode = 1;
    s.SizePreset = preset;
    s.DeliverySpeed = 0;  // the fastest: large frames in little time
    if (more) more(s);
  };
}

const std::string kMp4Probe = "mov,mp4,m4a,3gp,3g2,mj2";
const std::string kMkvProbe = "matroska,webm";
constexpr int kMp4 = kFormatChoiceMp4;
constexpr int kMkv = kFormatChoiceMkv;

INSTANTIATE_TEST_SUITE_P(
    Presets, DeliveryFormatsTest,
    ::testing::Values(
        DeliveryRow{{"Mp4SourceSizePcmSoundIsEncoded", kAviSource, Delivery(0), kMp4, ".mp4",
                     {kMp4Probe, "h264", 160, 120, 50, "aac", 44100, 2}}, {1, 1}, false},
        DeliveryRow{{"Mp41080p", kShortMp4, Delivery(1), kMp4, ".mp4",
                     {kMp4Probe, "h264", 1920, 1080, 25, "aac", 44100, 2}}, {1, 1}, true},
        DeliveryRow{{"Mp4720p", kShortMp4, Delivery(2), kMp4, ".mp4",
                     {kMp4Probe, "h264", 1280, 720, 25, "aac", 44100, 2}}, {1, 1}, true},
        DeliveryRow{{"Mp4480p", kShortMp4, Delivery(3), kMp4, ".mp4",
                     {kMp4Probe, "h264", 854, 480, 25, "aac", 44100, 2}}, {1, 1}, true},
        DeliveryRow{{"Mp4Vertical", kShortMp4, Delivery(4), kMp4, ".mp4",
                     {kMp4Probe, "h264", 1080, 1920, 25, "aac", 44100, 2}}, {1, 1}, true},
        DeliveryRow{{"Mp4Square", kShortMp4, Delivery(5), kMp4, ".mp4",
                     {kMp4Probe, "h264", 1080, 1080, 25, "aac", 44100, 2}}, {1, 1}, true},
        DeliveryRow{{"Mp4TypedOddSizeFallsOnWholeChroma", kShortMp4, Delivery(kSizePresetTyped, [](OutputSettings& s) {
                       s.CustomWidth = 321;
                       s.CustomHeight = 241;
                     }), kMp4, ".mp4", {kMp4Probe, "h264", 320, 240, 25, "aac", 44100, 2}}, {1, 1}, true},
        DeliveryRow{{"Mp4OpusSoundIsEncodedAsAac", kShortWebm, Delivery(0), kMp4, ".mp4",
                     {kMp4Probe, "h264", 160, 120, 25, "aac", 48000, 2}}, {1, 1}, false},
        DeliveryRow{{"Mp4WideSamplesKeepTheirAspectAtTheSourceSize", kWideSamples, Delivery(0), kMp4, ".mp4",
                     {kMp4Probe, "h264", 160, 120, 25, "aac", 44100, 2}}, {4, 3}, true},
        DeliveryRow{{"Mp4WideSamplesFill720pWithSquarePixels", kWideSamples, Delivery(2), kMp4, ".mp4",
                     {kMp4Probe, "h264", 1280, 720, 25, "aac", 44100, 2}}, {1, 1}, true},
        DeliveryRow{{"MkvH264CopiesAac", kShortMp4, Delivery(0), kMkv, ".mkv",
                     {kMkvProbe, "h264", 160, 120, 25, "aac", 44100, 2}}, {1, 1}, true},
        DeliveryRow{{"MkvCopiesOpus", kShortWebm, Delivery(0), kMkv, ".mkv",
                     {kMkvProbe, "h264", 160, 120, 25, "opus", 48000, 2}}, {1, 1}, true},
        DeliveryRow{{"MkvH265WithPcmEncodedAsOpus", kAviSource, Delivery(3, [](OutputSettings& s) {
                       s.MkvVideo = kMkvVideoH265;
                       s.MkvAudio = kMkvAudioOpus;
                     }), kMkv, ".mkv", {kMkvProbe, "hevc", 854, 480, 50, "opus", 48000, 2}}, {1, 1}, false}),
    [](const auto& info) { return info.param.format.name; });

// Closing half way (a stopped write job) leaves a file that plays to where it
// stopped: the container's trailer is there and every packet decodes.
class WriterStopTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(WriterStopTest, AFileClosedHalfWayDecodesToItsEnd) {
  const FormatRow& row = GetParam();
  const Written written = WriteThroughTheWriter(row, 25);
  const writertest::Decoded decoded = DecodeToEnd(written.path);
  EXPECT_EQ(decoded.Errors, 0) << decoded.FirstError;
  EXPECT_NEAR(decoded.Frames, row.expected.frames, 1);
  EXPECT_GT(decoded.Samples, 0);
  EXPECT_EQ(ProbeFile(written.path).Container, row.expected.container);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WriterStopTest,
    ::testing::Values(FormatRow{"Avi", kAviSource, CustomAvi(kAviAudioMp3), 0, ".avi", {"avi", "", 0, 0, 24, "", 0, 0}},
                      FormatRow{"Mpeg", kAviSource, CustomMpeg(0), 1, ".mpeg", {"mpeg", "", 0, 0, 25, "", 0, 0}},
                      FormatRow{"Wmv", kAviSource, kCustom, 2, ".wmv", {"asf", "", 0, 0, 25, "", 0, 0}},
                      FormatRow{"Rm", kAviSource, kCustom, 3, ".rm", {"rm", "", 0, 0, 25, "", 0, 0}},
                      FormatRow{"Mp4", kMp4Source, kOriginal, 0, ".mp4",
                                {"mov,mp4,m4a,3gp,3g2,mj2", "", 0, 0, 25, "", 0, 0}},
                      FormatRow{"Mp4CopyingItsSound", kMp4Source, Delivery(0), kMp4, ".mp4",
                                {kMp4Probe, "", 0, 0, 25, "", 0, 0}},
                      FormatRow{"MkvEncodingItsSound", kAviSource, Delivery(0), kMkv, ".mkv",
                                {kMkvProbe, "", 0, 0, 25, "", 0, 0}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace orlisk

namespace orlisk {
namespace {

int gMuxerErrors = 0;

void CountErrors(void*, int level, const char*, va_list) {
  if (level <= AV_LOG_ERROR) ++gMuxerErrors;
}

// A busy picture at a low MPEG rate has peaks far above the average; the
// program stream must still be interleaved without the muxer's complaints.
TEST(WriterMuxTest, ABusyMpegProgramStreamIsWrittenWithoutMuxerErrors) {
  const FormatRow row{"BusyMpeg",
                      {.width = 640, .height = 480, .picture = testclips::Picture::TestPattern},
                      [](OutputSettings& s) {
                        s.OutputMode = 1;
                        s.MpegVideoBitRate = 0;
                        s.CustomWidth = 640;
                        s.CustomHeight = 480;
                      },
                      1,
                      ".mpeg",
                      {}};
  testclips::MakeClip(row.source);
  gMuxerErrors = 0;
  av_log_set_callback(CountErrors);
  const Written written = WriteThroughTheWriter(row);
  av_log_set_callback(av_log_default_callback);
  EXPECT_EQ(gMuxerErrors, 0);
  EXPECT_EQ(DecodeToEnd(written.path).Errors, 0);
}

TEST(WriterOriginalTest, ASourceWithoutExtensionIsWrittenInTheContainerFoundInIt) {
  const std::string source = testclips::TempFolder() + "/recording";
  std::filesystem::copy_file(testclips::MakeClip(kMkvSource), source,
                             std::filesystem::copy_options::overwrite_existing);
  FfmpegVideoReader reader;
  reader.OpenSource(source);
  const SourceFacts facts = ReadSourceFacts(reader, source);
  EXPECT_EQ(facts.Container, "matroska,webm");
  FfmpegVideoWriter writer;
  const WriterConfiguration configuration = ConfigureWriter(facts, OutputSettings{}, 0, FillCodecLists(writer));
  ApplyWriterConfiguration(configuration, writer);
  EXPECT_EQ(configuration.OutputExtension, ".mkv");
  const std::string output = testclips::TempFolder() + "/recording-out" + configuration.OutputExtension;
  writer.CreateOutput(output, configuration.OutputType);
  CopyInterleaved(reader, writer);
  writer.CloseSource();
  const writertest::Probe probe = ProbeFile(output);
  EXPECT_EQ(probe.Container, "matroska,webm");
  EXPECT_EQ(probe.VideoPackets, 50);
}

}  // namespace
}  // namespace orlisk
