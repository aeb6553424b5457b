// The FFmpeg writer fed directly with made-up frames and sound: values the
// codecs refuse, frame rate conversion, every profile of the tables, the AVI
// codec settings, positions, and the ways creating and writing can fail.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>

#include "WriterTestSupport.h"
#include "burnin/writer/AviEncoders.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "burnin/writer/WriterProfiles.h"
#include "playback/FfmpegVideoReader.h"
#include "media/MediaError.h"
#include "media/PictureAccess.h"
#include "tests/fixtures/TestClips.h"
#include "tests/support/SpecialFiles.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;
using writertest::DecodeToEnd;
using writertest::ProbeFile;

Frame GreyFrame(int width, int height, int shade) {
  Frame frame;
  frame.Width = width;
  frame.Height = height;
  frame.Stride = width * 4;
  frame.Pixels.assign(static_cast<std::size_t>(frame.Stride) * static_cast<std::size_t>(height),
                      static_cast<std::uint8_t>(shade));
  return frame;
}

// `ms` of a 440 Hz tone, interleaved 16-bit.
AudioBlock Tone(int sampleRate, int channels, int ms) {
  AudioBlock block;
  const int samples = sampleRate * ms / 1000;
  for (int i = 0; i < samples; ++i) {
    const auto value = static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * 440 * i / sampleRate));
    for (int c = 0; c < channels; ++c) {
      block.Bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
      block.Bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    }
  }
  return block;
}

std::string OutputPath(const std::string& name) { return testclips::TempFolder() + "/" + name; }

// `frames` grey frames of the source size, with sound in between when the
// source has some.
void Feed(VideoWriter& writer, int width, int height, double frameRate, int frames, int sampleRate = 0,
          int channels = 0) {
  for (int i = 0; i < frames; ++i) {
    writer.WriteFrame(GreyFrame(width, height, 16 + 8 * (i % 24)));
    if (sampleRate > 0) writer.WriteAudio(Tone(sampleRate, channels, static_cast<int>(1000 / frameRate)));
  }
}

// The catalogue number of an AVI encoder; 0 when it is not installed.
int AviCodecNumber(const std::string& encoder) {
  const auto encoders = AviEncoders();
  for (std::size_t i = 0; i < encoders.size(); ++i) {
    if (encoders[i].EncoderName == encoder) return static_cast<int>(i) + 1;
  }
  return 0;
}

int XvidOrFirstCodec() { return std::max(AviCodecNumber("libxvid"), 1); }

struct NearestRow {
  std::string name;
  std::int32_t outputType;
  std::function<void(VideoWriter&)> setup;
  int width;
  int height;
  double frameRate;
  int frames;  // 20 source frames at 1000 fps are 20 ms
};

void PrintTo(const NearestRow& row, std::ostream* out) { *out << row.name; }

class WriterNearestValueTest : public ::testing::TestWithParam<NearestRow> {};

TEST_P(WriterNearestValueTest, OddSizesAndAbsurdRatesBecomeTheNearestTheCodecTakes) {
  const NearestRow& row = GetParam();
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(0, 0);
  writer.SetSourceVideoFormat(641, 359, 1000);
  row.setup(writer);
  const std::string path = OutputPath("nearest-" + row.name);
  writer.CreateOutput(path, row.outputType);
  Feed(writer, 641, 359, 1000, 20);
  writer.CloseSource();

  const writertest::Probe probe = ProbeFile(path);
  EXPECT_EQ(probe.Width, row.width);
  EXPECT_EQ(probe.Height, row.height);
  EXPECT_NEAR(probe.FrameRate, row.frameRate, 0.01);
  EXPECT_NEAR(probe.VideoPackets, row.frames, 1);
  EXPECT_EQ(probe.AudioCodec, "");
  EXPECT_EQ(DecodeToEnd(path).Errors, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WriterNearestValueTest,
    ::testing::Values(
        NearestRow{"AviKeepsTheRateAndEvensTheSize", kOutputAvi,
                   [](VideoWriter& w) {
                     w.SelectAviCodec(XvidOrFirstCodec());
                     w.SetAviVideoFormat(641, 359, 1000);
                   },
                   640, 358, 1000, 20},
        NearestRow{"Mpeg1TakesItsNearestStandardRate", kOutputMpeg,
                   [](VideoWriter& w) { w.SetMpegVideoFormat(1, 1150, 641, 359, 1000); }, 640, 358, 60, 2},
        NearestRow{"Mpeg2TakesItsNearestStandardRate", kOutputMpeg,
                   [](VideoWriter& w) { w.SetMpegVideoFormat(2, 1150, 641, 359, 22.54); }, 640, 358, 23.976, 1},
        NearestRow{"Rv20TakesMultiplesOfFour", kOutputRm, [](VideoWriter& w) { w.SelectRmProfile(7); }, 640, 360,
                   1000, 20},
        NearestRow{"WmvSourceSizeProfile", kOutputWmv, [](VideoWriter& w) { w.SelectWmvProfile(38); }, 640, 358,
                   1000, 20},
        NearestRow{"Mpeg4TakesAtMost8191APicturesSide", kOutputAvi,
                   [](VideoWriter& w) {
                     w.SelectAviCodec(AviCodecNumber("mpeg4"));
                     w.SetAviVideoFormat(8192, 8192, 25);
                   },
                   8190, 8190, 25, 1},
        NearestRow{"ZeroCustomSizeMeansTheSourceSize", kOutputAvi,
                   [](VideoWriter& w) {
                     w.SelectAviCodec(XvidOrFirstCodec());
                     w.SetAviVideoFormat(0, -5, 0);
                   },
                   640, 358, 1000, 20}),
    [](const auto& info) { return info.param.name; });

TEST(WriterFrameRateTest, ConvertsByTimeStampsUpAndDown) {
  for (const double outputRate : {10.0, 50.0}) {
    FfmpegVideoWriter writer;
    writer.SetSourceAudioFormat(0, 0);
    writer.SetSourceVideoFormat(64, 48, 25);
    writer.SelectAviCodec(XvidOrFirstCodec());
    writer.SetAviVideoFormat(64, 48, outputRate);
    const std::string path = OutputPath("rate-" + std::to_string(static_cast<int>(outputRate)) + ".avi");
    writer.CreateOutput(path, kOutputAvi);
    Feed(writer, 64, 48, 25, 50);
    EXPECT_EQ(writer.GetPosition(), 2000);  // the source's time line
    writer.CloseSource();
    EXPECT_EQ(ProbeFile(path).VideoPackets, static_cast<int>(2 * outputRate)) << outputRate;
  }
}

// Frame i of the timing test: 25 colours at least 60 apart on some channel,
// so a frame is known by its colour after any lossy round trip.
testclips::Rgb TimingColour(int i) { return {(i % 5) * 60 + 10, (i / 5 % 5) * 60 + 10, 128}; }

Frame Coloured(int width, int height, testclips::Rgb colour) {
  Frame frame = GreyFrame(width, height, 0);
  for (std::size_t at = 0; at < frame.Pixels.size(); at += 4) {
    frame.Pixels[at] = static_cast<std::uint8_t>(colour.blue);
    frame.Pixels[at + 1] = static_cast<std::uint8_t>(colour.green);
    frame.Pixels[at + 2] = static_cast<std::uint8_t>(colour.red);
    frame.Pixels[at + 3] = 0xFF;
  }
  return frame;
}

// Output frame j of a 25 to 10 fps conversion is the source frame on screen
// at its time, floor(j * 2.5), in its own colour: read back with the reader.
TEST(WriterFrameRateTest, EachOutputFrameIsTheSourceFrameShownAtItsTime) {
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(0, 0);
  writer.SetSourceVideoFormat(64, 48, 25);
  writer.SelectAviCodec(XvidOrFirstCodec());
  writer.SetAviVideoFormat(64, 48, 10);
  const std::string path = OutputPath("timing.avi");
  writer.CreateOutput(path, kOutputAvi);
  for (int i = 0; i < 25; ++i) writer.WriteFrame(Coloured(64, 48, TimingColour(i)));
  writer.CloseSource();

  FfmpegVideoReader reader;
  reader.OpenSource(path);
  EXPECT_DOUBLE_EQ(reader.GetFrameRate(), 10);
  for (int j = 0; j < 10; ++j) {
    const Frame frame = reader.ReadFrame();
    ASSERT_FALSE(frame.empty()) << j;
    const std::size_t at = static_cast<std::size_t>(frame.Height / 2) * frame.Stride + frame.Width / 2 * 4;
    const testclips::Rgb want = TimingColour(j * 5 / 2);
    EXPECT_NEAR(frame.Pixels[at + 2], want.red, 6) << "output frame " << j;
    EXPECT_NEAR(frame.Pixels[at + 1], want.green, 6) << "output frame " << j;
    EXPECT_NEAR(frame.Pixels[at], want.blue, 6) << "output frame " << j;
  }
  EXPECT_TRUE(reader.ReadFrame().empty());
}

// A decoded picture already in the encoder's pixel format and size reaches
// it as it is: through a lossless codec, every sample comes back unchanged
// (a way through 32-bit frames would change many by a level or two).
TEST(WriterPictureTest, APictureOfTheEncodersFormatAndSizeIsEncodedUnconverted) {
  const std::string clip = testclips::MakeClip({.width = 64, .height = 48, .fps = 25, .seconds = 0.2, .audio = false,
                                                .codec = "ffv1", .picture = testclips::Picture::TestPattern,
                                                .extraOptions = "-pix_fmt yuv420p"});
  ASSERT_GT(AviCodecNumber("ffv1"), 0);
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(0, 0);
  writer.SetSourceVideoFormat(64, 48, 25);
  writer.SelectAviCodec(AviCodecNumber("ffv1"));
  writer.SetAviVideoFormat(64, 48, 25);
  const std::string path = OutputPath("unconverted.avi");
  writer.CreateOutput(path, kOutputAvi);
  FfmpegVideoReader source;
  source.OpenSource(clip);
  for (DecodedPicture p = source.ReadPicture(nullptr); !p.empty(); p = source.ReadPicture(nullptr)) {
    writer.WritePicture(std::move(p));
  }
  writer.CloseSource();

  FfmpegVideoReader again;
  again.OpenSource(clip);
  FfmpegVideoReader written;
  written.OpenSource(path);
  int pictures = 0;
  for (DecodedPicture want = again.ReadPicture(nullptr); !want.empty(); want = again.ReadPicture(nullptr)) {
    const DecodedPicture got = written.ReadPicture(nullptr);
    ASSERT_FALSE(got.empty()) << pictures;
    const AVFrame& a = FrameOf(want);
    const AVFrame& b = FrameOf(got);
    ASSERT_EQ(b.format, a.format);
    for (int plane = 0; plane < 3; ++plane) {
      const int rows = plane == 0 ? 48 : 24, bytes = plane == 0 ? 64 : 32;
      for (int y = 0; y < rows; ++y) {
        ASSERT_EQ(0, std::memcmp(a.data[plane] + y * a.linesize[plane], b.data[plane] + y * b.linesize[plane], bytes))
            << "picture " << pictures << ", plane " << plane << ", row " << y;
      }
    }
    ++pictures;
  }
  EXPECT_EQ(pictures, 5);
}

// Every named profile must write a playable file: the tables are ours, and
// WMA 2 and AC-3 refuse many rate and bit rate pairs.
struct ProfileRow {
  std::int32_t outputType;
  int number;
};

class WriterProfileTest : public ::testing::TestWithParam<ProfileRow> {};

TEST_P(WriterProfileTest, WritesAPlayableFile) {
  const ProfileRow& row = GetParam();
  const WriterProfile& profile =
      (row.outputType == kOutputWmv ? WmvProfiles() : RmProfiles())[static_cast<std::size_t>(row.number - 1)];
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(44100, 2);
  writer.SetSourceVideoFormat(96, 64, 25);
  if (row.outputType == kOutputWmv) {
    writer.SelectWmvProfile(row.number);
    EXPECT_EQ(writer.WmvProfileName(), profile.Name);
  } else {
    writer.SelectRmProfile(row.number);
  }
  const std::string path = OutputPath("profile-" + std::to_string(row.outputType) + "-" + std::to_string(row.number));
  writer.CreateOutput(path, row.outputType);
  Feed(writer, 96, 64, 25, 10, 44100, 2);
  writer.CloseSource();

  const writertest::Probe probe = ProbeFile(path);
  EXPECT_EQ(probe.Width, profile.Width > 0 ? profile.Width : 96) << profile.Name;
  EXPECT_EQ(probe.Height, profile.Height > 0 ? profile.Height : 64) << profile.Name;
  EXPECT_EQ(probe.Channels, profile.AudioChannels) << profile.Name;
  EXPECT_EQ(DecodeToEnd(path).Errors, 0) << profile.Name;
}

std::vector<ProfileRow> AllProfiles() {
  std::vector<ProfileRow> rows;
  for (std::size_t i = 1; i <= WmvProfiles().size(); ++i) rows.push_back({kOutputWmv, static_cast<int>(i)});
  for (std::size_t i = 1; i <= RmProfiles().size(); ++i) rows.push_back({kOutputRm, static_cast<int>(i)});
  return rows;
}

INSTANTIATE_TEST_SUITE_P(Tables, WriterProfileTest, ::testing::ValuesIn(AllProfiles()),
                         [](const auto& info) {
                           return std::string(info.param.outputType == kOutputWmv ? "Wmv" : "Rm") +
                                  std::to_string(info.param.number);
                         });

// Every codec of the AVI catalogue writes a file that decodes to its end.
class WriterAviCodecTest : public ::testing::TestWithParam<int> {};

TEST_P(WriterAviCodecTest, WritesAPlayableFile) {
  const int number = GetParam();
  if (number > static_cast<int>(AviEncoders().size())) GTEST_SKIP() << "not installed here";
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(22050, 1);
  writer.SetSourceVideoFormat(96, 64, 25);
  writer.SelectAviCodec(number);
  writer.SetAviVideoFormat(96, 64, 25);
  writer.SetAviAudioMp3(64, 22050, 1);
  const std::string path = OutputPath("codec-" + std::to_string(number) + ".avi");
  writer.CreateOutput(path, kOutputAvi);
  Feed(writer, 96, 64, 25, 10, 22050, 1);
  writer.CloseSource();
  const writertest::Probe probe = ProbeFile(path);
  EXPECT_EQ(probe.Container, "avi") << writer.GetVideoFormatName();
  EXPECT_EQ(probe.VideoPackets, 10) << writer.GetVideoFormatName();
  const writertest::Decoded decoded = DecodeToEnd(path);
  EXPECT_EQ(decoded.Errors, 0) << writer.GetVideoFormatName() << ": " << decoded.FirstError;
  EXPECT_EQ(decoded.Frames, 10) << writer.GetVideoFormatName();
}

INSTANTIATE_TEST_SUITE_P(Catalogue, WriterAviCodecTest, ::testing::Range(1, 10));

TEST(WriterCatalogueTest, AviCodecsComeInTheFixedOrderWithXvidNamedAsSuch) {
  FfmpegVideoWriter writer;
  const auto encoders = AviEncoders();
  ASSERT_EQ(writer.AviCodecCount(), static_cast<int>(encoders.size()));
  ASSERT_GE(encoders.size(), 1u);
  const std::vector<std::string> order = {"libxvid", "mpeg4", "msmpeg4v2", "msmpeg4", "mjpeg",
                                          "libx264", "huffyuv", "ffv1", "utvideo"};
  std::size_t last = 0;
  for (int number = 1; number <= writer.AviCodecCount(); ++number) {
    writer.SelectAviCodec(number);
    const AviEncoder& encoder = encoders[static_cast<std::size_t>(number - 1)];
    EXPECT_EQ(writer.GetVideoFormatName(), encoder.LongName);
    const auto at = std::find(order.begin(), order.end(), encoder.EncoderName);
    ASSERT_NE(at, order.end()) << encoder.EncoderName;
    EXPECT_GE(static_cast<std::size_t>(at - order.begin()), last);
    last = static_cast<std::size_t>(at - order.begin());
    if (encoder.EncoderName == "libxvid") {
      EXPECT_NE(encoder.LongName.find("xvid"), std::string::npos);
    }
  }
  EXPECT_THROW(writer.SelectAviCodec(0), MediaError);
  EXPECT_THROW(writer.SelectAviCodec(writer.AviCodecCount() + 1), MediaError);
  EXPECT_THROW(writer.SelectWmvProfile(static_cast<int>(WmvProfiles().size()) + 1), MediaError);
}

TEST(WriterCodecSettingsTest, AreRememberedPerCodecAndUsed) {
  FfmpegVideoWriter writer;
  ASSERT_GE(writer.AviCodecCount(), 2);
  writer.SelectAviCodec(1);
  AviCodecSettings low = writer.GetAviCodecSettings();
  low.Control = AviCodecSettings::RateControl::BitRate;
  low.BitRateKbps = 100;
  low.KeyFrameInterval = 5;
  writer.SetAviCodecSettings(low);
  writer.SelectAviCodec(2);
  EXPECT_EQ(writer.GetAviCodecSettings().Control, AviCodecSettings::RateControl::Quality);
  writer.SelectAviCodec(1);
  EXPECT_EQ(writer.GetAviCodecSettings().BitRateKbps, 100);

  // Four times the bit rate gives a clearly bigger file of the same busy pictures.
  const auto sizeAt = [&](int kbps) {
    AviCodecSettings settings = writer.GetAviCodecSettings();
    settings.BitRateKbps = kbps;
    writer.SetAviCodecSettings(settings);
    writer.SetSourceAudioFormat(0, 0);
    writer.SetSourceVideoFormat(320, 240, 25);
    writer.SetAviVideoFormat(320, 240, 25);
    const std::string path = OutputPath("rate-" + std::to_string(kbps) + ".avi");
    writer.CreateOutput(path, kOutputAvi);
    for (int i = 0; i < 50; ++i) {
      Frame frame = GreyFrame(320, 240, 0);
      for (std::size_t at = 0; at < frame.Pixels.size(); ++at) {
        const std::size_t x = at % 1280 / 4;
        const std::size_t y = at / 1280;
        frame.Pixels[at] = static_cast<std::uint8_t>((x * x / 7 + y * 3 + i * 9 + at % 4 * 50) & 0xFF);
      }
      writer.WriteFrame(std::move(frame));
    }
    writer.CloseSource();
    return fs::file_size(path);
  };
  EXPECT_GT(sizeAt(800), sizeAt(200) * 2);
}

TEST(WriterPositionTest, CountsTheSourceTimeHandedOver) {
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(48000, 2);
  writer.SetSourceVideoFormat(64, 48, 30000.0 / 1001);
  writer.SelectWmvProfile(1);
  writer.CreateOutput(OutputPath("positions.wmv"), kOutputWmv);
  EXPECT_EQ(writer.GetPosition(), 0);
  EXPECT_EQ(writer.GetAudioPosition(), 0);
  Feed(writer, 64, 48, 30, 30);
  writer.WriteAudio(Tone(48000, 2, 500));
  writer.WriteAudio(AudioBlock{{1, 2, 3}});  // a sample split between two blocks
  writer.WriteAudio(AudioBlock{{4}});
  EXPECT_EQ(writer.GetPosition(), 1001);
  EXPECT_EQ(writer.GetAudioPosition(), 500);
  writer.CloseSource();
  writer.CloseSource();  // nothing open: nothing happens
}

TEST(WriterFailureTest, AFolderThatIsAFileGivesAReadableErrorAndLeavesNothing) {
  const std::string notAFolder = OutputPath("plain-file");
  std::ofstream(notAFolder) << "I am a file";
  const std::string path = notAFolder + "/out.avi";
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(44100, 2);
  writer.SetSourceVideoFormat(64, 48, 25);
  try {
    writer.CreateOutput(path, kOutputAvi);
    FAIL() << "created " << path;
  } catch (const MediaError& error) {
    EXPECT_NE(std::string(error.what()).find("Cannot create " + path), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("Not a directory"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(fs::exists(path));
  EXPECT_THROW(writer.WriteFrame(GreyFrame(64, 48, 0)), MediaError);
}

TEST(WriterFailureTest, AContainerThatRefusesItsCodecsRemovesTheNewFile) {
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(44100, 2);
  writer.SetSourceVideoFormat(64, 48, 25);
  writer.SetOtherFormat({"ogg", "h264", "aac"});  // Ogg holds neither
  const std::string path = OutputPath("refused.ogv");
  EXPECT_THROW(writer.CreateOutput(path, kOutputOther), MediaError);
  EXPECT_FALSE(fs::exists(path));
}

TEST(WriterFailureTest, MissingEncodersAndUnknownTypesAreRefusedBeforeAnyFileExists) {
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(44100, 2);
  writer.SetSourceVideoFormat(64, 48, 25);
  const std::string path = OutputPath("never.mp4");
  writer.SetOtherFormat({"mp4", "no-such-codec", "aac"});
  EXPECT_THROW(writer.CreateOutput(path, kOutputOther), MediaError);
  EXPECT_THROW(writer.CreateOutput(path, 0), MediaError);
  EXPECT_THROW(writer.CreateOutput(path, 9), MediaError);
  EXPECT_FALSE(fs::exists(path));
}

TEST(WriterFailureTest, ASourceWithoutPicturesIsRefused) {
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(44100, 2);
  writer.SetSourceVideoFormat(0, 0, 0);
  EXPECT_THROW(writer.CreateOutput(OutputPath("no-pictures.avi"), kOutputAvi), MediaError);
}

TEST(WriterFailureTest, AnEncodingErrorSurfacesAtTheNextCallOrAtClose) {
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(0, 0);
  writer.SetSourceVideoFormat(64, 48, 25);
  const std::string path = OutputPath("broken-frame.avi");
  writer.CreateOutput(path, kOutputAvi);
  writer.WriteFrame(GreyFrame(64, 48, 100));
  Frame broken = GreyFrame(64, 48, 100);
  broken.Pixels.resize(100);  // fewer pixels than its size says
  std::string message;
  try {
    writer.WriteFrame(std::move(broken));
    for (int i = 0; i < 100; ++i) writer.WriteFrame(GreyFrame(64, 48, 100));
    writer.CloseSource();
  } catch (const MediaError& error) {
    message = error.what();
  }
  EXPECT_NE(message.find("do not fill"), std::string::npos) << message;
  EXPECT_NO_THROW(writer.CloseSource());  // reported once; the file is closed
  EXPECT_EQ(ProbeFile(path).Container, "avi");
}

TEST(WriterFailureTest, AnEncoderThatRefusesItsPictureIsToldWithThePicturesSize) {
  FfmpegVideoWriter writer;
  writer.SetSourceAudioFormat(0, 0);
  writer.SetSourceVideoFormat(641, 359, 25);
  writer.SetOtherFormat({"3gp", "h263", "aac"});  // H.263 takes five sizes only
  try {
    writer.CreateOutput(OutputPath("refused-size.3gp"), kOutputOther);
    FAIL() << "H.263 took 640x358";
  } catch (const MediaError& error) {
    EXPECT_NE(std::string(error.what()).find("a picture of 640x358 at 25 frames/s"), std::string::npos)
        << error.what();
  }
}

// A pipe would hold the writer until someone reads it, a device would be
// written to: neither is opened, and both stay.
TEST(WriterTargetTest, APipeOrADeviceIsRefusedWithoutBeingOpened) {
  for (const testing::SpecialKind kind : {testing::SpecialKind::Pipe, testing::SpecialKind::FullDevice}) {
    const std::string path = OutputPath("special-" + std::to_string(static_cast<int>(kind)));
    if (const std::string why = testing::MakeSpecialFile(kind, path); !why.empty()) {
      std::cout << "[ skipped " << path << ": " << why << " ]\n";
      continue;
    }
    FfmpegVideoWriter writer;
    writer.SetSourceAudioFormat(0, 0);
    writer.SetSourceVideoFormat(64, 48, 25);
    auto created = std::async(std::launch::async, [&] { writer.CreateOutput(path, kOutputMpeg); });
    if (created.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
      ::close(::open(path.c_str(), O_RDONLY | O_NONBLOCK));  // a reader that leaves at once
      ADD_FAILURE() << path << " held the writer";
    }
    EXPECT_THROW(created.get(), MediaError) << path;
    writer.CloseSource();
    EXPECT_TRUE(testing::IsSpecialFile(kind, path)) << path;
  }
}

// Frames of 64 MB through an encoder slower than they come: the ones handed
// to the writer hold about one frame, not four queued and one being encoded. Measured in a child
// process of its own, whose peak is its own.
TEST(WriterMemoryTest, LargeFramesWaitForTheOneBeforeThemInsteadOfPilingUp) {
  constexpr int kSide = 4000;  // 64 MB a frame
  constexpr long kFrameMb = 64;
  int report[2];
  ASSERT_EQ(::pipe(report), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    const auto residentMb = [] {
      long pages = 0, resident = 0;
      std::ifstream("/proc/self/statm") >> pages >> resident;
      return resident * ::sysconf(_SC_PAGESIZE) / (1 << 20);
    };
    const long before = residentMb();
    FfmpegVideoWriter writer;
    writer.SetSourceAudioFormat(0, 0);
    writer.SetSourceVideoFormat(kSide, kSide, 25);
    // Scaled down to a small MPEG-1 picture: the encoder's own memory stays small.
    writer.SetMpegVideoFormat(1, 1150, 352, 240, 25);
    writer.CreateOutput(OutputPath("large-frames.mpeg"), kOutputMpeg);
    for (int i = 0; i < 8; ++i) writer.WriteFrame(GreyFrame(kSide, kSide, 20 * i));
    writer.CloseSource();
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const long grown = usage.ru_maxrss / 1024 - before;
    ::write(report[1], &grown, sizeof grown);
    ::_exit(0);
  }
  ::close(report[1]);
  long grownMb = -1;
  EXPECT_EQ(::read(report[0], &grownMb, sizeof grownMb), static_cast<ssize_t>(sizeof grownMb));
  ::close(report[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  std::cout << "[ peak grew by " << grownMb << " MB for frames of " << kFrameMb << " MB ]\n";
  // The frame being handed over and the one in flight; a queue of four
  // frames fills up here to well over three.
  EXPECT_GT(grownMb, kFrameMb);
  EXPECT_LT(grownMb, 3 * kFrameMb);
}

}  // namespace
}  // namespace orlisk
