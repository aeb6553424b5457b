#include "OutputMeasures.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "BenchProcess.h"
#include "burnin/writer/tests/WriterTestSupport.h"
#include "media/FfmpegPtr.h"

namespace orlisk::bench {
namespace {

// x264 writes its options into the first picture as text; these decide how
// it spends bits (rate control and the preset's effort).
constexpr const char* kX264Keys[] = {"rc", "bitrate", "crf", "qp", "vbv_maxrate", "vbv_bufsize",
                                     "bframes", "ref", "subme", "me", "trellis"};

void AddX264Options(const std::string& packet, RateControl& facts) {
  const std::size_t at = packet.find("options: ");
  if (at == std::string::npos) return;
  std::istringstream words(packet.substr(at + 9, packet.find('\0', at) - at - 9));
  std::string word;
  while (words >> word) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = word.substr(0, equals);
    for (const char* wanted : kX264Keys) {
      if (key == wanted) facts["x264 " + key] = word.substr(equals + 1);
    }
  }
}

// What the container says of each stream's bit rate, and x264's options.
void AddDeclaredFacts(const std::string& path, RateControl& facts) {
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, ("file:" + path).c_str(), nullptr, nullptr) < 0) return;
  const InputFormatPtr format(raw);
  if (avformat_find_stream_info(format.get(), nullptr) < 0) return;
  // AVI and MP4 state the rate they measured, not the one asked for.
  const std::string container = format->iformat->name;
  const bool declaresVideoRate = container == "asf" || container == "rm" || container == "mpeg";
  int videoIndex = -1;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVCodecParameters& parameters = *format->streams[i]->codecpar;
    const std::string kbps = std::to_string(parameters.bit_rate / 1000);
    if (parameters.codec_type == AVMEDIA_TYPE_VIDEO && videoIndex < 0) {
      videoIndex = static_cast<int>(i);
      if (declaresVideoRate && parameters.bit_rate > 0) facts["video kbit/s"] = kbps;
    } else if (parameters.codec_type == AVMEDIA_TYPE_AUDIO && parameters.bit_rate > 0) {
      facts["sound kbit/s"] = kbps;
    }
  }
  const AvPacketPtr packet(av_packet_alloc());
  while (videoIndex >= 0 && av_read_frame(format.get(), packet.get()) >= 0) {
    const bool video = packet->stream_index == videoIndex;
    if (video && format->streams[videoIndex]->codecpar->codec_id == AV_CODEC_ID_H264) {
      AddX264Options(std::string(reinterpret_cast<const char*>(packet->data), static_cast<std::size_t>(packet->size)),
                     facts);
    }
    av_packet_unref(packet.get());
    if (video) break;
  }
}

bool WithinFivePercent(const std::string& a, const std::string& b) {
  const double x = std::atof(a.c_str());
  const double y = std::atof(b.c_str());
  return std::abs(x - y) <= 0.05 * std::max(x, y);
}

}  // namespace

RateControl DescribeRateControl(const std::string& path) {
  RateControl facts;
  const writertest::Probe probe = writertest::ProbeFile(path);
  facts["video"] = probe.VideoCodec + " " + std::to_string(probe.Width) + "x" + std::to_string(probe.Height);
  facts["sound"] = probe.AudioCodec + " " + std::to_string(probe.SampleRate) + " Hz " +
                   std::to_string(probe.Channels) + " ch";
  // One quantiser in every block means a fixed quantiser; which one matters.
  const std::set<int> quantisers = writertest::QuantisersOf(path);
  facts["quantiser"] = quantisers.size() == 1 ? "fixed " + std::to_string(*quantisers.begin())
                                              : (quantisers.empty() ? "not told" : "varies");
  AddDeclaredFacts(path, facts);
  return facts;
}

std::string RateControlDifferences(const RateControl& ours, const RateControl& theirs) {
  std::string differences;
  const auto compare = [&](const std::string& name, const std::string& our, const std::string& their) {
    const bool rate = name.find("kbit/s") != std::string::npos;
    if (our == their || (rate && WithinFivePercent(our, their))) return;
    differences += (differences.empty() ? "" : "; ") + name + ": ours " + (our.empty() ? "-" : our) + ", ffmpeg " +
                   (their.empty() ? "-" : their);
  };
  for (const auto& [name, value] : ours) {
    const auto found = theirs.find(name);
    compare(name, value, found == theirs.end() ? "" : found->second);
  }
  for (const auto& [name, value] : theirs) {
    if (!ours.count(name)) compare(name, "", value);
  }
  return differences;
}

double PsnrAgainstSource(const std::string& output, const std::string& source) {
  // Picture by picture in their order, not by time stamps: MPEG program
  // streams start later than 0, and ffmpeg leaves gaps in an AVI's stamps.
  const ProcessRun run = RunProcess({"ffmpeg", "-hide_banner", "-nostdin", "-i", output, "-i", source, "-lavfi",
                                     "[0:v]setpts=N/(25*TB),crop=iw:ih*3/4:0:0[a];"
                                     "[1:v]setpts=N/(25*TB),crop=iw:ih*3/4:0:0[b];[a][b]psnr",
                                     "-f", "null", "-"},
                                    {}, true);
  const std::size_t at = run.output.rfind("average:");
  if (!run.succeeded || at == std::string::npos) return -1;
  return std::atof(run.output.c_str() + at + 8);
}

}  // namespace orlisk::bench
