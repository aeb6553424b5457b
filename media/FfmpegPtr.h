#pragma once
// Owning pointers for FFmpeg objects: each deleter is declared here once, so
// no other code calls a *_free function. Internal to the media code: never
// include this from a header that the application includes.
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/dict.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace orlisk {

struct InputFormatDeleter {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecContextDeleter {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct AvFrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct AvPacketDeleter {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct SwsContextDeleter {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};
struct SwrContextDeleter {
  void operator()(SwrContext* context) const { swr_free(&context); }
};

// An output file's muxer context: closes its file (if it opened one) and
// frees the context. Writing the trailer is the owner's business.
struct OutputFormatDeleter {
  void operator()(AVFormatContext* context) const {
    if (context->pb && !(context->oformat->flags & AVFMT_NOFILE)) avio_closep(&context->pb);
    avformat_free_context(context);
  }
};
struct AudioFifoDeleter {
  void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
};
// A reading context made with avio_alloc_context over the caller's own
// source: its buffer (which FFmpeg may have replaced) goes with it.
struct AvioContextDeleter {
  void operator()(AVIOContext* context) const {
    av_freep(&context->buffer);
    avio_context_free(&context);
  }
};
struct BufferPoolDeleter {
  // The pool's buffers still in use are freed as they come back.
  void operator()(AVBufferPool* pool) const { av_buffer_pool_uninit(&pool); }
};
struct DictionaryDeleter {
  void operator()(AVDictionary* dictionary) const { av_dict_free(&dictionary); }
};
struct FilterGraphDeleter {
  // Its filters go with it.
  void operator()(AVFilterGraph* graph) const { avfilter_graph_free(&graph); }
};

using InputFormatPtr = std::unique_ptr<AVFormatContext, InputFormatDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using AvFramePtr = std::unique_ptr<AVFrame, AvFrameDeleter>;
using AvPacketPtr = std::unique_ptr<AVPacket, AvPacketDeleter>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextDeleter>;
using SwrContextPtr = std::unique_ptr<SwrContext, SwrContextDeleter>;
using OutputFormatPtr = std::unique_ptr<AVFormatContext, OutputFormatDeleter>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoDeleter>;
using BufferPoolPtr = std::unique_ptr<AVBufferPool, BufferPoolDeleter>;
using DictionaryPtr = std::unique_ptr<AVDictionary, DictionaryDeleter>;
using AvioContextPtr = std::unique_ptr<AVIOContext, AvioContextDeleter>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphDeleter>;

}  // namespace orlisk
