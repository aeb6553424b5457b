// The soft subtitle job on clips made here, read back with libavformat: the
// source's streams copied unchanged, the subtitles as an ASS or mov_text
// track at their times, time 0 at the first picture, MP4's limits told, and
// stopped and failed jobs leaving what a burn leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "burnin/SoftSubtitleJob.h"
#include "media/FfmpegPtr.h"
#include "media/MediaError.h"
#include "tests/fixtures/TestClips.h"
#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;

struct Cue {
  std::int64_t Begin;
  std::int64_t End;
  std::string Data;
};

struct ProbedStream {
  std::string Codec;
  std::string Language;
  bool Default = false;
  int Packets = 0;
  std::int64_t FirstMs = INT64_MAX;  // the earliest presentation time
  bool Reordered = false;            // some packet decodes before it shows (B-frames)
};

struct Probed {
  std::vector<ProbedStream> Streams;
  std::vector<Cue> Cues;  // the subtitle stream's packets
};

Probed Probe(const std::string& path) {
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) throw std::runtime_error("cannot open " + path);
  const InputFormatPtr input(raw);
  avformat_find_stream_info(input.get(), nullptr);
  Probed probed;
  for (unsigned i = 0; i < input->nb_streams; ++i) {
    const AVStream& s = *input->streams[i];
    const AVDictionaryEntry* language = av_dict_get(s.metadata, "language", nullptr, 0);
    probed.Streams.push_back({avcodec_get_name(s.codecpar->codec_id), language ? language->value : "",
                              (s.disposition & AV_DISPOSITION_DEFAULT) != 0});
  }
  AvPacketPtr packet(av_packet_alloc());
  while (av_read_frame(input.get(), packet.get()) >= 0) {
    const AVStream& s = *input->streams[packet->stream_index];
    ProbedStream& p = probed.Streams[packet->stream_index];
    ++p.Packets;
    const AVRational ms{1, 1000};
    if (packet->pts != AV_NOPTS_VALUE) p.FirstMs = std::min(p.FirstMs, av_rescale_q(packet->pts, s.time_base, ms));
    p.Reordered = p.Reordered || (packet->dts != AV_NOPTS_VALUE && packet->dts < packet->pts - packet->duration);
    if (s.codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE && packet->size > 2) {
      const std::int64_t begin = av_rescale_q(packet->pts, s.time_base, ms);
      probed.Cues.push_back({begin, begin + av_rescale_q(packet->duration, s.time_base, ms),
                             std::string(reinterpret_cast<const char*>(packet->data), packet->size)});
    }
    av_packet_unref(packet.get());
  }
  return probed;
}

SubtitleEntry Subtitle(SubtitleTime begin, SubtitleTime end, const std::string& text) {
  SubtitleEntry e;
  e.BeginTime = begin;
  e.EndTime = end;
  e.Text = text;
  e.Place = {.X = 40, .Y = 150, .DrawLevel = 240, .Centred = false};
  e.TextColor = 0x0000FFFF;
  e.Border = true;
  return e;
}

// Two subtitles in the track, and three the write job would not burn: no
// end, no text, beginning after the video.
std::vector<SubtitleEntry> Subtitles() {
  return {Subtitle(2500, 3200, "WORLD\r\nWIDE"), Subtitle(1000, 1800, "HELLO"), Subtitle(1900, 0, "NO END"),
          Subtitle(2000, 2100, ""), Subtitle(9000, 9500, "TOO LATE")};
}

std::string H264Clip(const std::string& container) {
  return testclips::MakeClip({.width = 320, .height = 240, .seconds = 4.0, .codec = "libx264",
                              .container = container, .audioCodec = "aac"});
}
std::string AviClip() { return testclips::MakeClip({.width = 320, .height = 240, .seconds = 4.0}); }

OutputTarget At(const fs::path& path) { return {.Path = path.string(), .ReplaceFile = false, .NextFreeName = {}}; }

std::string Write(const std::string& source, SoftContainer container, const fs::path& target) {
  SoftSubtitleJob job(source, Subtitles(), SubtitleStyle{}, container);
  job.Start(At(target));
  while (job.Step()) {
  }
  EXPECT_EQ(job.Progress(), 10000);
  job.Finish();
  return job.outputPath();
}

TEST(SoftSubtitleJob, CopiesTheStreamsUnchangedAndAddsTheSubtitlesAsTheDefaultTrack) {
  struct Row {
    std::string source;
    SoftContainer container;
    const char* subtitleCodec;
  };
  const Row rows[] = {
      {H264Clip("mp4"), SoftContainer::Mkv, "ass"},
      {H264Clip("mp4"), SoftContainer::Mp4, "mov_text"},
      {AviClip(), SoftContainer::Mkv, "ass"},
  };
  for (const Row& row : rows) {
    testing::TempFolder folder;
    const std::string written = Write(row.source, row.container, folder / ("out" + SoftContainerExtension(row.container)));
    const Probed source = Probe(row.source);
    const Probed copy = Probe(written);
    ASSERT_EQ(copy.Streams.size(), source.Streams.size() + 1) << written;
    for (std::size_t i = 0; i < source.Streams.size(); ++i) {
      EXPECT_EQ(copy.Streams[i].Codec, source.Streams[i].Codec) << written;
      EXPECT_EQ(copy.Streams[i].Packets, source.Streams[i].Packets) << written << " stream " << i;
    }
    const ProbedStream& track = copy.Streams.back();
    EXPECT_EQ(track.Codec, row.subtitleCodec);
    EXPECT_TRUE(track.Default);
    ASSERT_EQ(copy.Cues.size(), 2u) << written;
    // The muxer may move every stream alike to keep times above 0.
    const std::int64_t zero = copy.Streams[0].FirstMs;
    EXPECT_LT(zero, 100);
    EXPECT_EQ(copy.Cues[0].Begin - zero, 1000) << written;
    EXPECT_EQ(copy.Cues[0].End - zero, 1800);
    EXPECT_NE(copy.Cues[0].Data.find("HELLO"), std::string::npos) << copy.Cues[0].Data;
    EXPECT_EQ(copy.Cues[1].Begin - zero, 2500);
    EXPECT_EQ(copy.Cues[1].End - zero, 3200);
    EXPECT_NE(copy.Cues[1].Data.find("WIDE"), std::string::npos) << copy.Cues[1].Data;
    if (row.container == SoftContainer::Mkv) {
      EXPECT_NE(copy.Cues[0].Data.find("\\pos(40,150)"), std::string::npos) << copy.Cues[0].Data;
    }
  }
}

TEST(SoftSubtitleJob, TimeZeroIsTheFirstPictureWhereverTheSourceStartsAndBFramesKeepTheirOrder) {
  // An MPEG transport stream starts at 1.4 s; x264 reorders its pictures.
  const std::string source = H264Clip("ts");
  ASSERT_TRUE(Probe(source).Streams[0].Reordered);
  ASSERT_GE(Probe(source).Streams[0].FirstMs, 1000);
  testing::TempFolder folder;
  const Probed copy = Probe(Write(source, SoftContainer::Mkv, folder / "out.mkv"));
  EXPECT_LT(copy.Streams[0].FirstMs, 100);
  EXPECT_TRUE(copy.Streams[0].Reordered);
  ASSERT_FALSE(copy.Cues.empty());
  EXPECT_EQ(copy.Cues[0].Begin - copy.Streams[0].FirstMs, 1000);
}

TEST(SoftSubtitleJob, Mp4RefusesSoundItCannotHoldAndNamesItBeforeAnythingIsWritten) {
  EXPECT_EQ(SoftContainerRefusal(AviClip(), SoftContainer::Mp4),
            "The source's sound (pcm_s16le) cannot go into MP4 unchanged");
  EXPECT_EQ(SoftContainerRefusal(AviClip(), SoftContainer::Mkv), "");
  EXPECT_EQ(SoftContainerRefusal(H264Clip("mp4"), SoftContainer::Mp4), "");
  testing::TempFolder folder;
  SoftSubtitleJob job(AviClip(), Subtitles(), SubtitleStyle{}, SoftContainer::Mp4);
  EXPECT_THROW(job.Start(At(folder / "out.mp4")), MediaError);
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST(SoftSubtitleJob, AStoppedJobPlaysToWhereItStoppedAndOneLeftByAnErrorLeavesNothing) {
  testing::TempFolder folder;
  const std::string source = H264Clip("mp4");
  {
    SoftSubtitleJob job(source, Subtitles(), SubtitleStyle{}, SoftContainer::Mp4);
    job.Start(At(folder / "stopped.mp4"));
    ASSERT_TRUE(job.Step());
    EXPECT_GT(job.Progress(), 0);
    EXPECT_LT(job.Progress(), 10000);
    job.Finish();
    const Probed stopped = Probe(job.outputPath());
    EXPECT_GT(stopped.Streams[0].Packets, 0);
    EXPECT_LT(stopped.Streams[0].Packets, Probe(source).Streams[0].Packets);
  }
  {
    SoftSubtitleJob job(source, Subtitles(), SubtitleStyle{}, SoftContainer::Mkv);
    job.Start(At(folder / "failed.mkv"));
    job.Step();
  }
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder.path())) names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"stopped.mp4"});
}

}  // namespace
}  // namespace orlisk
