#pragma once
// Owning pointers for the FFmpeg objects only the writer uses; the reader's
// set is in playback/FfmpegPtr.h. Internal to the writer: never include this
// from a header that the application includes.
#include <memory>

#include "playback/FfmpegPtr.h"

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/dict.h>
}

namespace orlisk {

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
struct DictionaryDeleter {
  void operator()(AVDictionary* dictionary) const { av_dict_free(&dictionary); }
};

using OutputFormatPtr = std::unique_ptr<AVFormatContext, OutputFormatDeleter>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoDeleter>;
using DictionaryPtr = std::unique_ptr<AVDictionary, DictionaryDeleter>;

}  // namespace orlisk
