// The writer configuration as data: source facts and stored settings in, the
// writer calls (recorded by the null writer), OutputType and OutputExtension out.
#include <gtest/gtest.h>

#include <functional>

#include "burnin/writer/CodecLists.h"
#include "burnin/writer/ConfigureWriter.h"
#include "burnin/writer/NullVideoWriter.h"
#include "burnin/writer/WriterProfiles.h"

namespace orlisk {
namespace {

using Calls = std::vector<std::string>;

SourceFacts Source(const std::string& path) {
  SourceFacts facts;
  facts.Path = path;
  facts.Width = 640;
  facts.Height = 480;
  facts.FrameRate = 25;
  facts.AudioSampleRate = 44100;
  facts.AudioChannels = 2;
  facts.AudioBitRate = 128000;
  facts.AudioFormatName = "mp3";
  facts.VideoBitRate = 1'000'000;
  facts.VideoFormatName = "mpeg1 video";
  return facts;
}

struct ConfigureRow {
  std::string name;
  std::function<void(SourceFacts&)> source;
  std::function<void(OutputSettings&)> settings;
  int formatChoice;
  std::int32_t outputType;
  std::string extension;
  Calls calls;  // after AudioEnabled(1), VideoEnabled(1)
};

void PrintTo(const ConfigureRow& row, std::ostream* out) { *out << row.name; }

const auto kKeep = [](auto&) {};

class ConfigureWriterTest : public ::testing::TestWithParam<ConfigureRow> {};

TEST_P(ConfigureWriterTest, MakesTheWriterCallsAndNamesTheOutputType) {
  const ConfigureRow& row = GetParam();
  SourceFacts facts = Source("/clips/talk.avi");
  row.source(facts);
  OutputSettings settings;
  row.settings(settings);
  NullVideoWriter writer;
  const CodecLists codecs = FillCodecLists(writer);
  writer.Calls.clear();

  const WriterConfiguration configuration = ConfigureWriter(facts, settings, row.formatChoice, codecs);
  ApplyWriterConfiguration(configuration, writer);

  EXPECT_EQ(configuration.OutputType, row.outputType);
  EXPECT_EQ(configuration.OutputExtension, row.extension);
  Calls expected = {"AudioEnabled(1)", "VideoEnabled(1)"};
  for (const std::string& call : row.calls) {
    expected.push_back(call);
    // Every row's source has square pixels.
    if (call.rfind("SetSourceVideoFormat", 0) == 0) expected.push_back("SetSourcePixelAspect(1, 1)");
  }
  EXPECT_EQ(writer.Calls, expected);
}

const auto kOriginal = [](OutputSettings& s) { s.OutputMode = 0; };
const auto kCustom = [](OutputSettings& s) { s.OutputMode = 1; };
const std::string kSource = "SetSourceAudioFormat(44100, 2)";
const std::string kSourceVideo = "SetSourceVideoFormat(640, 480, 25)";

std::function<void(SourceFacts&)> Named(const std::string& path) {
  return [path](SourceFacts& f) { f.Path = path; };
}

std::function<void(SourceFacts&)> AviSound(const std::string& name) {
  return [name](SourceFacts& f) { f.AudioFormatName = name; };
}

INSTANTIATE_TEST_SUITE_P(
    Original, ConfigureWriterTest,
    ::testing::Values(
        ConfigureRow{"AviWithMp3SoundKeepsMp3", kKeep, kOriginal, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioMp3(128, 44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(640, 480, 25)"}},
        ConfigureRow{"AviWithWavSoundInCapitalsGivesPcm", AviSound("WAV"), kOriginal, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioPcm(44100, 2, 16)", kSource, kSourceVideo,
                      "SetAviVideoFormat(640, 480, 25)"}},
        ConfigureRow{"AviWithAdpcm", AviSound("adpcm"), kOriginal, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioAdpcm(44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(640, 480, 25)"}},
        ConfigureRow{"AviWithAlaw", AviSound("alaw"), kOriginal, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioAlaw(44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(640, 480, 25)"}},
        ConfigureRow{"AviWithUlaw", AviSound("ulaw"), kOriginal, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioUlaw(44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(640, 480, 25)"}},
        ConfigureRow{"AviWithGsm", AviSound("gsm"), kOriginal, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioGsm(44100)", kSource, kSourceVideo,
                      "SetAviVideoFormat(640, 480, 25)"}},
        ConfigureRow{"AviWithAacSoundGivesMp3", AviSound("aac"), kOriginal, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioMp3(128, 44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(640, 480, 25)"}},
        ConfigureRow{"UpperCaseMpgIsMpegVersion1", Named("/clips/Clip.MPG"), kOriginal, 0, kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(128, 44100, 2)", kSourceVideo,
                      "SetMpegVideoFormat(1, 1000, 640, 480, 25)"}},
        ConfigureRow{"Mpeg1VideoInCapitalsIsVersion1",
                     [](SourceFacts& f) {
                       f.Path = "/clips/a.mpeg";
                       f.VideoFormatName = "MPEG1 VIDEO";
                     },
                     kOriginal, 0, kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(128, 44100, 2)", kSourceVideo,
                      "SetMpegVideoFormat(1, 1000, 640, 480, 25)"}},
        ConfigureRow{"AnyOtherVideoNameIsVersion2",
                     [](SourceFacts& f) {
                       f.Path = "/clips/a.mpg";
                       f.VideoFormatName = "mpeg-1 video";
                     },
                     kOriginal, 0, kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(128, 44100, 2)", kSourceVideo,
                      "SetMpegVideoFormat(2, 1000, 640, 480, 25)"}},
        ConfigureRow{"MpegBitRateBelow750IsRaised",
                     [](SourceFacts& f) {
                       f.Path = "/clips/a.mpg";
                       f.VideoBitRate = 500'000;
                     },
                     kOriginal, 0, kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(128, 44100, 2)", kSourceVideo,
                      "SetMpegVideoFormat(1, 750, 640, 480, 25)"}},
        ConfigureRow{"MpegBitRateAbove2376IsLowered",
                     [](SourceFacts& f) {
                       f.Path = "/clips/a.mpg";
                       f.VideoBitRate = 9'000'000;
                     },
                     kOriginal, 0, kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(128, 44100, 2)", kSourceVideo,
                      "SetMpegVideoFormat(1, 2376, 640, 480, 25)"}},
        ConfigureRow{"MpegBitRateInBetweenIsTruncatedToKbps",
                     [](SourceFacts& f) {
                       f.Path = "/clips/a.mpg";
                       f.VideoBitRate = 1'500'999;
                     },
                     kOriginal, 0, kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(128, 44100, 2)", kSourceVideo,
                      "SetMpegVideoFormat(1, 1500, 640, 480, 25)"}},
        ConfigureRow{"WmvKeepsTheProfileChosenLast", Named("/clips/a.wmv"), kOriginal, 0, kOutputWmv, ".wmv",
                     {kSource, kSourceVideo}},
        ConfigureRow{"Mp4GetsH264AndAacNearTheSourceRates", Named("/clips/a.mp4"), kOriginal, 0, kOutputOther,
                     ".mp4", {kSource, kSourceVideo, "SetOtherFormat(mp4, h264, aac, 640, 480, 25, 1000, 128)"}},
        ConfigureRow{"UpperCaseMkvIsMatroska", Named("/clips/a.MKV"), kOriginal, 0, kOutputOther, ".mkv",
                     {kSource, kSourceVideo, "SetOtherFormat(matroska, h264, aac, 640, 480, 25, 1000, 128)"}},
        ConfigureRow{"WebmGetsVp9AndOpus", Named("/clips/a.webm"), kOriginal, 0, kOutputOther, ".webm",
                     {kSource, kSourceVideo, "SetOtherFormat(webm, vp9, opus, 640, 480, 25, 1000, 128)"}},
        ConfigureRow{"OgvGetsTheoraAndVorbis", Named("/clips/a.ogv"), kOriginal, 0, kOutputOther, ".ogv",
                     {kSource, kSourceVideo, "SetOtherFormat(ogg, theora, vorbis, 640, 480, 25, 1000, 128)"}},
        ConfigureRow{"M2tsStaysM2ts", Named("/clips/a.m2ts"), kOriginal, 0, kOutputOther, ".m2ts",
                     {kSource, kSourceVideo, "SetOtherFormat(mpegts, h264, aac, 640, 480, 25, 1000, 128)"}},
        ConfigureRow{"UnknownRatesAreLeftToTheWriterOrDefault",
                     [](SourceFacts& f) {
                       f.Path = "/clips/a.mov";
                       f.VideoBitRate = 0;
                       f.AudioBitRate = 0;
                     },
                     kOriginal, 0, kOutputOther, ".mov",
                     {kSource, kSourceVideo, "SetOtherFormat(mov, h264, aac, 640, 480, 25, 0, 128)"}},
        ConfigureRow{"NoExtensionUsesTheDetectedContainer",
                     [](SourceFacts& f) {
                       f.Path = "/clips/recording";
                       f.Container = "matroska,webm";
                     },
                     kOriginal, 0, kOutputOther, ".mkv",
                     {kSource, kSourceVideo, "SetOtherFormat(matroska, h264, aac, 640, 480, 25, 1000, 128)"}},
        ConfigureRow{"NoExtensionDetectedAsAvi",
                     [](SourceFacts& f) {
                       f.Path = "/clips/recording";
                       f.Container = "avi";
                     },
                     kOriginal, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioMp3(128, 44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(640, 480, 25)"}},
        ConfigureRow{"UnknownEverythingGivesMp4",
                     [](SourceFacts& f) {
                       f.Path = "/clips/a.xyz";
                       f.Container = "";
                     },
                     kOriginal, 0, kOutputOther, ".mp4",
                     {kSource, kSourceVideo, "SetOtherFormat(mp4, h264, aac, 640, 480, 25, 1000, 128)"}},
        ConfigureRow{"SourceWithoutSound",
                     [](SourceFacts& f) {
                       f.AudioSampleRate = 0;
                       f.AudioChannels = 0;
                       f.AudioFormatName = "";
                     },
                     kOriginal, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioMp3(128, 0, 2)", "SetSourceAudioFormat(0, 0)",
                      kSourceVideo, "SetAviVideoFormat(640, 480, 25)"}},
        ConfigureRow{"OddSizeAndAbsurdRatePassThroughToTheWriter",
                     [](SourceFacts& f) {
                       f.Width = 641;
                       f.Height = 359;
                       f.FrameRate = 1000;
                     },
                     kOriginal, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioMp3(128, 44100, 2)", kSource,
                      "SetSourceVideoFormat(641, 359, 1000)", "SetAviVideoFormat(641, 359, 1000)"}},
        ConfigureRow{"OutputModeOutsideItsListIsOriginal", kKeep, [](OutputSettings& s) { s.OutputMode = 7; }, 2,
                     kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioMp3(128, 44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(640, 480, 25)"}}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Custom, ConfigureWriterTest,
    ::testing::Values(
        ConfigureRow{"AviDefaults", kKeep, kCustom, 0, kOutputAvi, ".avi",
                     {"SelectAviCodec(2)", "SetAviAudioMp3(128, 44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(352, 240, 24)"}},
        ConfigureRow{"AviStoredChoices", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.AviCodec = 0;
                       s.AviAudio = kAviAudioGsm;
                       s.AviFrameRate = 2;
                       s.CustomWidth = 320;
                       s.CustomHeight = 180;
                     },
                     0, kOutputAvi, ".avi",
                     {"SelectAviCodec(1)", "SetAviAudioGsm(44100)", kSource, kSourceVideo,
                      "SetAviVideoFormat(320, 180, 22.54)"}},
        ConfigureRow{"AviIndexesOutsideTheirListsFallBackToDefaults", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.AviCodec = -1;
                       s.AviAudio = 9;
                       s.AviFrameRate = 99;
                     },
                     0, kOutputAvi, ".avi",
                     {"SelectAviCodec(2)", "SetAviAudioMp3(128, 44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(352, 240, 24)"}},
        ConfigureRow{"MpegDefaults", kKeep, kCustom, 1, kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(128, 44100, 2)", kSourceVideo,
                      "SetMpegVideoFormat(1, 1150, 352, 240, 25)"}},
        ConfigureRow{"MpegStoredChoices", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.MpegVersion = 1;
                       s.MpegVideoBitRate = 4;
                       s.MpegAudioBitRate = 9;
                       s.MpegChannels = 0;
                       s.MpegFrameRate = 2;
                       s.MpegAudioFrequency = 0;  // stored but not applied: the source's rate stays
                     },
                     1, kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(320, 44100, 1)", kSourceVideo,
                      "SetMpegVideoFormat(2, 2376, 352, 240, 29.97)"}},
        ConfigureRow{"MpegIndexesOutsideTheirListsFallBackToDefaults", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.MpegVersion = -1;
                       s.MpegVideoBitRate = 5;
                       s.MpegAudioBitRate = -1;
                       s.MpegChannels = 2;
                       s.MpegFrameRate = 4;
                     },
                     1, kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(128, 44100, 2)", kSourceVideo,
                      "SetMpegVideoFormat(1, 1150, 352, 240, 25)"}},
        ConfigureRow{"AviSizeOfZeroOrBelowWritesTheDefaultSize", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.CustomWidth = 0;
                       s.CustomHeight = -5;
                     },
                     0, kOutputAvi, ".avi",
                     {"SelectAviCodec(2)", "SetAviAudioMp3(128, 44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(352, 240, 24)"}},
        ConfigureRow{"MpegWidthOfZeroWritesTheDefaultWidth", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.CustomWidth = 0;
                       s.CustomHeight = 288;
                     },
                     1, kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(128, 44100, 2)", kSourceVideo,
                      "SetMpegVideoFormat(1, 1150, 352, 288, 25)"}},
        ConfigureRow{"WmvIgnoresTheCustomSize", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.CustomWidth = 1000;
                       s.CustomHeight = 1000;
                     },
                     2, kOutputWmv, ".wmv", {"SelectWmvProfile(38)", kSource, kSourceVideo}},
        ConfigureRow{"WmvWithoutSelectionTakesTheDefaultProfile", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.WmvProfile = -1;
                     },
                     2, kOutputWmv, ".wmv", {"SelectWmvProfile(38)", kSource, kSourceVideo}},
        ConfigureRow{"WmvStoredProfile", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.WmvProfile = 0;
                     },
                     2, kOutputWmv, ".wmv", {"SelectWmvProfile(1)", kSource, kSourceVideo}},
        ConfigureRow{"RmIgnoresTheCustomSize", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.CustomWidth = 1000;
                     },
                     3, kOutputRm, ".rm", {"SelectRmProfile(7)", kSource, kSourceVideo}},
        ConfigureRow{"RmProfileOutsideTheTableFallsBack", kKeep,
                     [](OutputSettings& s) {
                       s.OutputMode = 1;
                       s.RmProfile = 100;
                     },
                     3, kOutputRm, ".rm", {"SelectRmProfile(7)", kSource, kSourceVideo}},
        ConfigureRow{"FormatListWithoutSelectionIsAvi", kKeep, kCustom, -1, kOutputAvi, ".avi",
                     {"SelectAviCodec(2)", "SetAviAudioMp3(128, 44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(352, 240, 24)"}}),
    [](const auto& info) { return info.param.name; });

std::function<void(OutputSettings&)> Custom(std::function<void(OutputSettings&)> choose) {
  return [choose](OutputSettings& s) {
    s.OutputMode = 1;
    choose(s);
  };
}

// MP4 (4) and MKV (5), and the size presets of every custom format.
INSTANTIATE_TEST_SUITE_P(
    Delivery, ConfigureWriterTest,
    ::testing::Values(
        ConfigureRow{"Mp4DefaultsCopyMp3", kKeep, kCustom, 4, kOutputDelivery, ".mp4",
                     {kSource, kSourceVideo, "SetDeliveryFormat(mp4, h264, 352x240, crf 23, veryfast, copy /clips/talk.avi)"}},
        ConfigureRow{"Mp4VerticalHighThoroughEncodesPcm", AviSound("wav"), Custom([](OutputSettings& s) {
                       s.SizePreset = 4;
                       s.DeliveryQuality = 0;
                       s.DeliverySpeed = 3;
                     }),
                     4, kOutputDelivery, ".mp4",
                     {kSource, kSourceVideo, "SetDeliveryFormat(mp4, h264, 1080x1920, crf 18, slow, aac)"}},
        ConfigureRow{"Mp4TargetBitRateAtTheSourceSizeEncodesOpus", AviSound("opus"), Custom([](OutputSettings& s) {
                       s.SizePreset = 0;
                       s.DeliveryQuality = kQualityTargetBitRate;
                       s.DeliveryBitRate = 2500;
                     }),
                     4, kOutputDelivery, ".mp4",
                     {kSource, kSourceVideo, "SetDeliveryFormat(mp4, h264, 0x0, 2500 kbit/s, veryfast, aac)"}},
        ConfigureRow{"MkvH265CopiesOpus", AviSound("opus"), Custom([](OutputSettings& s) {
                       s.SizePreset = 5;
                       s.MkvVideo = kMkvVideoH265;
                       s.MkvAudio = kMkvAudioOpus;
                     }),
                     5, kOutputDelivery, ".mkv",
                     {kSource, kSourceVideo,
                      "SetDeliveryFormat(matroska, hevc, 1080x1080, crf 23, veryfast, copy /clips/talk.avi)"}},
        ConfigureRow{"MkvEncodesPcmAsOpus", AviSound("wav"), Custom([](OutputSettings& s) {
                       s.SizePreset = 2;
                       s.MkvAudio = kMkvAudioOpus;
                     }),
                     5, kOutputDelivery, ".mkv",
                     {kSource, kSourceVideo, "SetDeliveryFormat(matroska, h264, 1280x720, crf 23, veryfast, opus)"}},
        ConfigureRow{"DeliveryIndexesOutsideTheirListsFallBackToDefaults", AviSound("wav"), Custom([](OutputSettings& s) {
                       s.SizePreset = 99;
                       s.DeliveryQuality = 9;
                       s.DeliverySpeed = -1;
                       s.MkvVideo = 7;
                     }),
                     5, kOutputDelivery, ".mkv",
                     {kSource, kSourceVideo, "SetDeliveryFormat(matroska, h264, 352x240, crf 23, veryfast, aac)"}},
        ConfigureRow{"AviTakesTheSizePreset", kKeep, Custom([](OutputSettings& s) { s.SizePreset = 2; }), 0,
                     kOutputAvi, ".avi",
                     {"SelectAviCodec(2)", "SetAviAudioMp3(128, 44100, 2)", kSource, kSourceVideo,
                      "SetAviVideoFormat(1280, 720, 24)"}},
        ConfigureRow{"MpegAtTheSourceSize", kKeep, Custom([](OutputSettings& s) { s.SizePreset = 0; }), 1,
                     kOutputMpeg, ".mpeg",
                     {kSource, "SetMpegAudioFormat(128, 44100, 2)", kSourceVideo,
                      "SetMpegVideoFormat(1, 1150, 0, 0, 25)"}}),
    [](const auto& info) { return info.param.name; });

TEST(ConfigureWriterTest, WithoutXvidOriginalAviUsesTheLastCodec) {
  NullVideoWriter writer({"MPEG-4 part 2", "Motion JPEG", "HuffYUV"});
  const CodecLists codecs = FillCodecLists(writer);
  EXPECT_EQ(codecs.XvidCodecIndex, 3);
  const WriterConfiguration configuration =
      ConfigureWriter(Source("/clips/talk.avi"), OutputSettings{}, 0, codecs);
  EXPECT_EQ(configuration.AviCodec, 3);
}

TEST(ConfigureWriterTest, WithoutAnyAviCodecNoneIsSelected) {
  NullVideoWriter writer(std::vector<std::string>{});
  const CodecLists codecs = FillCodecLists(writer);
  EXPECT_EQ(codecs.XvidCodecIndex, 0);
  OutputSettings custom;
  custom.OutputMode = 1;
  EXPECT_FALSE(ConfigureWriter(Source("/clips/talk.avi"), OutputSettings{}, 0, codecs).AviCodec);
  EXPECT_FALSE(ConfigureWriter(Source("/clips/talk.avi"), custom, 0, codecs).AviCodec);
}

TEST(FillCodecListsTest, LastXvidWinsAndTheFirstEntriesStaySelected) {
  NullVideoWriter writer({"libxvidcore MPEG-4 part 2", "MPEG-4 part 2", "My XVID copy", "Motion JPEG"});
  const CodecLists codecs = FillCodecLists(writer);
  EXPECT_EQ(codecs.AviCodecs,
            (Calls{"libxvidcore MPEG-4 part 2", "MPEG-4 part 2", "My XVID copy", "Motion JPEG"}));
  EXPECT_EQ(codecs.XvidCodecIndex, 3);
  ASSERT_EQ(codecs.WmvProfiles.size(), WmvProfiles().size());
  EXPECT_EQ(codecs.WmvProfiles[37], WmvProfiles()[37].Name);
  EXPECT_EQ(writer.GetVideoFormatName(), "libxvidcore MPEG-4 part 2");
  EXPECT_EQ(writer.WmvProfileName(), WmvProfiles()[0].Name);
}

TEST(WriterProfilesTest, TheDefaultsNameSensibleMidRateProfiles) {
  ASSERT_GE(WmvProfiles().size(), 38u);
  ASSERT_GE(RmProfiles().size(), 7u);
  for (const WriterProfile* profile : {&WmvProfiles()[37], &RmProfiles()[6]}) {
    EXPECT_GE(profile->VideoBitRateKbps, 500) << profile->Name;
    EXPECT_LE(profile->VideoBitRateKbps, 1000) << profile->Name;
    EXPECT_EQ(profile->Width, 0) << profile->Name << " keeps the source's size";
    EXPECT_GE(profile->AudioBitRateKbps, 96) << profile->Name;
  }
}

}  // namespace
}  // namespace orlisk
