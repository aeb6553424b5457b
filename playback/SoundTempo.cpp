#include "SoundTempo.h"

#include <cstring>
#include <string>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
}

#include "media/FfmpegPtr.h"
#include "media/MediaError.h"

namespace orlisk {
namespace {

void Check(int result, const std::string& context) {
  if (result < 0) throw MediaError::FromAv(context, result);
}

AVFilterContext* AddFilter(AVFilterGraph& graph, const char* name, const std::string& arguments) {
  AVFilterContext* filter = nullptr;
  Check(avfilter_graph_create_filter(&filter, avfilter_get_by_name(name), name, arguments.c_str(), nullptr, &graph),
        std::string("Cannot set up the ") + name + " filter for playback at another speed");
  return filter;
}

}  // namespace

// abuffer -> atempo -> abuffersink, all in 16-bit interleaved samples.
struct SoundTempo::Graph {
  FilterGraphPtr graph;
  AVFilterContext* source = nullptr;  // owned by the graph
  AVFilterContext* sink = nullptr;
  int channels = 0;
  std::int64_t samplesIn = 0;  // the next input frame's time stamp, in samples
  std::vector<std::uint8_t> partialSample;
  bool flushed = false;

  std::size_t SampleBytes() const { return 2 * static_cast<std::size_t>(channels); }

  void Send(const std::uint8_t* bytes, std::size_t size) {
    const int count = static_cast<int>(size / SampleBytes());
    if (count == 0) return;
    AvFramePtr frame(av_frame_alloc());
    if (!frame) throw MediaError("Out of memory while playing at another speed");
    frame->format = AV_SAMPLE_FMT_S16;
    frame->nb_samples = count;
    frame->sample_rate = sink->inputs[0]->sample_rate;
    av_channel_layout_default(&frame->ch_layout, channels);
    Check(av_frame_get_buffer(frame.get(), 0), "Cannot make room for sound");
    std::memcpy(frame->data[0], bytes, static_cast<std::size_t>(count) * SampleBytes());
    frame->pts = samplesIn;
    samplesIn += count;
    Check(av_buffersrc_add_frame(source, frame.get()), "Cannot play the sound at another speed");
  }

  // Everything the sink has ready, appended to `out`.
  void Drain(AudioBlock& out) {
    AvFramePtr frame(av_frame_alloc());
    if (!frame) throw MediaError("Out of memory while playing at another speed");
    for (;;) {
      const int got = av_buffersink_get_frame(sink, frame.get());
      if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return;
      Check(got, "Cannot play the sound at another speed");
      const std::size_t bytes = static_cast<std::size_t>(frame->nb_samples) * SampleBytes();
      out.Bytes.insert(out.Bytes.end(), frame->data[0], frame->data[0] + bytes);
      av_frame_unref(frame.get());
    }
  }
};

SoundTempo::SoundTempo(int sampleRate, int channels, double speed) {
  if (!(speed >= kSlowest && speed <= kFastest)) {
    throw MediaError("Cannot play at " + std::to_string(speed) + " times the speed");
  }
  if (speed == 1.0) return;
  if (sampleRate <= 0 || channels <= 0) throw MediaError("Cannot play sound without a rate or channels");
  auto graph = std::make_unique<Graph>();
  graph->graph.reset(avfilter_graph_alloc());
  if (!graph->graph) throw MediaError("Out of memory while playing at another speed");
  graph->channels = channels;

  AVChannelLayout layout;
  av_channel_layout_default(&layout, channels);
  char layoutName[64] = {};
  Check(av_channel_layout_describe(&layout, layoutName, sizeof layoutName), "Cannot describe the sound's channels");
  const std::string rate = std::to_string(sampleRate);
  graph->source = AddFilter(*graph->graph, "abuffer",
                            "time_base=1/" + rate + ":sample_rate=" + rate + ":sample_fmt=s16:channel_layout=" +
                                layoutName);
  AVFilterContext* tempo = AddFilter(*graph->graph, "atempo", "tempo=" + std::to_string(speed));
  graph->sink = avfilter_graph_alloc_filter(graph->graph.get(), avfilter_get_by_name("abuffersink"), "sink");
  if (!graph->sink) throw MediaError("Out of memory while playing at another speed");
  const AVSampleFormat formats[] = {AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_NONE};
  Check(av_opt_set_int_list(graph->sink, "sample_fmts", formats, AV_SAMPLE_FMT_NONE, AV_OPT_SEARCH_CHILDREN),
        "Cannot set up playback at another speed");
  Check(avfilter_init_str(graph->sink, nullptr), "Cannot set up playback at another speed");
  Check(avfilter_link(graph->source, 0, tempo, 0), "Cannot set up playback at another speed");
  Check(avfilter_link(tempo, 0, graph->sink, 0), "Cannot set up playback at another speed");
  Check(avfilter_graph_config(graph->graph.get(), nullptr), "Cannot set up playback at another speed");
  graph_ = std::move(graph);
}

SoundTempo::~SoundTempo() = default;

AudioBlock SoundTempo::Process(const AudioBlock& block) {
  if (!graph_) return block;
  AudioBlock out;
  if (graph_->flushed) return out;
  // A sample split between two blocks is put together first.
  std::vector<std::uint8_t>& partial = graph_->partialSample;
  const std::size_t sampleBytes = graph_->SampleBytes();
  std::size_t used = 0;
  if (!partial.empty()) {
    used = std::min(sampleBytes - partial.size(), block.Bytes.size());
    partial.insert(partial.end(), block.Bytes.begin(), block.Bytes.begin() + static_cast<std::ptrdiff_t>(used));
    if (partial.size() < sampleBytes) return out;
    graph_->Send(partial.data(), partial.size());
    partial.clear();
  }
  const std::size_t whole = (block.Bytes.size() - used) / sampleBytes * sampleBytes;
  graph_->Send(block.Bytes.data() + used, whole);
  partial.assign(block.Bytes.begin() + static_cast<std::ptrdiff_t>(used + whole), block.Bytes.end());
  graph_->Drain(out);
  return out;
}

AudioBlock SoundTempo::Flush() {
  AudioBlock out;
  if (!graph_ || graph_->flushed) return out;
  graph_->flushed = true;
  Check(av_buffersrc_add_frame(graph_->source, nullptr), "Cannot play the sound at another speed");
  graph_->Drain(out);
  return out;
}

}  // namespace orlisk
