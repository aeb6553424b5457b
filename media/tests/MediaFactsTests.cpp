#include "media/MediaFacts.h"

#include <gtest/gtest.h>

namespace orlisk {
namespace {

struct NameRow {
  AVCodecID codec;
  const char* name;
};

class AudioFormatNameTest : public ::testing::TestWithParam<NameRow> {};

TEST_P(AudioFormatNameTest, NamesTheFamilyTheWriterComparesWith) {
  EXPECT_EQ(AudioFormatName(GetParam().codec), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, AudioFormatNameTest,
    ::testing::Values(NameRow{AV_CODEC_ID_PCM_S16LE, "wav"}, NameRow{AV_CODEC_ID_PCM_U8, "wav"},
                      NameRow{AV_CODEC_ID_PCM_S24LE, "wav"}, NameRow{AV_CODEC_ID_PCM_F32LE, "wav"},
                      NameRow{AV_CODEC_ID_ADPCM_MS, "adpcm"}, NameRow{AV_CODEC_ID_ADPCM_IMA_WAV, "adpcm"},
                      NameRow{AV_CODEC_ID_ADPCM_IMA_QT, "adpcm"}, NameRow{AV_CODEC_ID_PCM_ALAW, "alaw"},
                      NameRow{AV_CODEC_ID_PCM_MULAW, "ulaw"}, NameRow{AV_CODEC_ID_GSM, "gsm"},
                      NameRow{AV_CODEC_ID_GSM_MS, "gsm"}, NameRow{AV_CODEC_ID_MP3, "mp3"},
                      NameRow{AV_CODEC_ID_AAC, "aac"}, NameRow{AV_CODEC_ID_MP2, "mp2"},
                      NameRow{AV_CODEC_ID_AMR_NB, "amr_nb"}, NameRow{AV_CODEC_ID_NONE, ""}));

class VideoFormatNameTest : public ::testing::TestWithParam<NameRow> {};

TEST_P(VideoFormatNameTest, IsLowerCaseWithMpeg1Special) {
  EXPECT_EQ(VideoFormatName(GetParam().codec), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Codecs, VideoFormatNameTest,
                         ::testing::Values(NameRow{AV_CODEC_ID_MPEG1VIDEO, "mpeg1 video"},
                                           NameRow{AV_CODEC_ID_MPEG2VIDEO, "mpeg-2 video"},
                                           NameRow{AV_CODEC_ID_MPEG4, "mpeg-4 part 2"},
                                           NameRow{AV_CODEC_ID_NONE, ""}));

}  // namespace
}  // namespace orlisk
