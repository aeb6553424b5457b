#include "EncodingSession.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <utility>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "PartialOutput.h"
#include "media/MediaError.h"

namespace orlisk {
namespace {

void Check(int result, const std::string& context) {
  if (result < 0) throw MediaError::FromAv(context, result);
}

CodecContextPtr NewContext(const AVCodec* codec) {
  CodecContextPtr context(avcodec_alloc_context3(codec));
  if (!context) throw MediaError("Out of memory while setting up the encoder");
  return context;
}

using Options = std::vector<std::pair<std::string, std::string>>;

// FFmpeg takes options as a dictionary it may change: what it leaves in it
// went unused.
AVDictionary* NewDictionary(const Options& options) {
  AVDictionary* raw = nullptr;
  for (const auto& [key, value] : options) av_dict_set(&raw, key.c_str(), value.c_str(), 0);
  return raw;
}

void Open(AVCodecContext& context, const AVCodec* codec, const Options& options, const std::string& what) {
  AVDictionary* raw = NewDictionary(options);
  const int opened = avcodec_open2(&context, codec, &raw);
  const DictionaryPtr unused(raw);
  Check(opened, std::string("The ") + codec->name + " encoder refuses the " + what);
}

CodecContextPtr OpenVideoEncoder(const VideoPlan& plan, bool globalHeader) {
  CodecContextPtr context = NewContext(plan.Encoder);
  context->width = plan.Width;
  context->height = plan.Height;
  context->pix_fmt = plan.PixelFormat;
  context->framerate = plan.FrameRate;
  context->time_base = av_inv_q(plan.FrameRate);
  // The pixel aspect travels in the codec's headers where it has a place
  // for it (MPEG-1 and MPEG-2 only know a few, the nearest is taken).
  context->sample_aspect_ratio = {plan.Aspect.Num, plan.Aspect.Den};
  if (plan.BitRate > 0) context->bit_rate = plan.BitRate;
  if (plan.Quantiser > 0) {
    context->flags |= AV_CODEC_FLAG_QSCALE;
    context->global_quality = FF_QP2LAMBDA * plan.Quantiser;
  }
  if (plan.GopSize > 0) context->gop_size = plan.GopSize;
  if (plan.MaxPictureBytes > 0) {
    // A rate control buffer of that size, full again at every picture: it
    // bounds each picture and leaves the average to the bit rate.
    context->rc_buffer_size = plan.MaxPictureBytes * 8;
    context->rc_initial_buffer_occupancy = context->rc_buffer_size;
    context->rc_max_rate = av_rescale_q(context->rc_buffer_size, av_inv_q(context->time_base), {1, 1});
  }
  // As many threads as the machine has, where the encoder can use them.
  context->thread_count = 0;
  // Pictures come from BGRA through the BT.601 matrix, as the reader decodes
  // them; say so, so that players do not guess another.
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(plan.PixelFormat);
  if (descriptor && !(descriptor->flags & AV_PIX_FMT_FLAG_RGB)) {
    context->colorspace = AVCOL_SPC_SMPTE170M;
    context->color_primaries = AVCOL_PRI_SMPTE170M;
    context->color_trc = AVCOL_TRC_SMPTE170M;
    const bool fullRange = plan.PixelFormat == AV_PIX_FMT_YUVJ420P || plan.PixelFormat == AV_PIX_FMT_YUVJ422P ||
                           plan.PixelFormat == AV_PIX_FMT_YUVJ444P;
    context->color_range = fullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
  }
  if (globalHeader) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  // The size is what encoders refuse most; saying it beats FFmpeg's bare
  // "Invalid argument".
  char settings[96];
  std::snprintf(settings, sizeof settings, "video settings (a picture of %dx%d at %.3g frames/s)", plan.Width,
                plan.Height, av_q2d(plan.FrameRate));
  Open(*context, plan.Encoder, plan.Options, settings);
  return context;
}

CodecContextPtr OpenAudioEncoder(const AudioPlan& plan, bool globalHeader) {
  CodecContextPtr context = NewContext(plan.Encoder);
  context->sample_fmt = plan.SampleFormat;
  context->sample_rate = plan.SampleRate;
  av_channel_layout_default(&context->ch_layout, plan.Channels);
  if (plan.BitRate > 0) context->bit_rate = plan.BitRate;
  context->time_base = {1, plan.SampleRate};
  if (globalHeader) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Open(*context, plan.Encoder, {}, "sound settings");
  return context;
}

AVStream& NewStream(AVFormatContext& output, const AVCodecContext& encoder) {
  AVStream* stream = avformat_new_stream(&output, nullptr);
  if (!stream) throw MediaError("Out of memory while setting up the output file");
  Check(avcodec_parameters_from_context(stream->codecpar, &encoder), "Cannot set up the output file");
  stream->time_base = encoder.time_base;
  // What the encoder says about itself beyond the parameters (its rate
  // control buffer, above all): the MPEG muxer sizes its packets by it and
  // underflows without it.
  for (int i = 0; i < encoder.nb_coded_side_data; ++i) {
    const AVPacketSideData& side = encoder.coded_side_data[i];
    std::uint8_t* copy = av_stream_new_side_data(stream, side.type, side.size);
    if (!copy) throw MediaError("Out of memory while setting up the output file");
    std::memcpy(copy, side.data, side.size);
  }
  return *stream;
}

}  // namespace

EncodingSession::EncodingSession(const OutputPlan& plan, const std::string& path) {
  AVFormatContext* raw = nullptr;
  Check(avformat_alloc_output_context2(&raw, nullptr, plan.Muxer.c_str(), path.c_str()),
        "Cannot write " + plan.Muxer + " files");
  output_.reset(raw);
  const bool globalHeader = output_->oformat->flags & AVFMT_GLOBALHEADER;

  if (plan.Video) {
    CodecContextPtr encoder = OpenVideoEncoder(*plan.Video, globalHeader);
    AVStream& stream = NewStream(*output_, *encoder);
    stream.avg_frame_rate = plan.Video->FrameRate;
    // ... and in the container's (AVI, ASF, MP4, Matroska, ...).
    stream.sample_aspect_ratio = encoder->sample_aspect_ratio;
    // Players pick their MPEG-4 decoder by this tag; Xvid's own is best known.
    if (plan.Muxer == "avi" && std::string(plan.Video->Encoder->name) == "libxvid") {
      stream.codecpar->codec_tag = MKTAG('X', 'V', 'I', 'D');
    }
    video_ = std::make_unique<VideoStage>(StreamEncoder(std::move(encoder), stream, *output_, "video"),
                                          plan.SourceFrameRate, plan.Video->Picture);
  }
  if (plan.Audio) {
    CodecContextPtr encoder = OpenAudioEncoder(*plan.Audio, globalHeader);
    AVStream& stream = NewStream(*output_, *encoder);
    audio_ = std::make_unique<AudioStage>(StreamEncoder(std::move(encoder), stream, *output_, "sound"),
                                          plan.SourceSampleRate, plan.SourceChannels);
  }
  if (!plan.CopySoundFrom.empty() && plan.SourceSampleRate > 0) {
    soundCopy_ = std::make_unique<SoundCopy>(plan.CopySoundFrom, *output_);
    soundBytesPerSecond_ = plan.SourceSampleRate * plan.SourceChannels * 2;
  }
  // Program streams need room to interleave; 0.7 s is what the ffmpeg tool gives them.
  output_->max_delay = 700000;

  // Nothing but a regular file is opened: a pipe would block until someone
  // reads, a device would be written to. What was there is not ours to remove.
  if (const std::string refusal = RefusalOfTarget(path); !refusal.empty()) throw MediaError(refusal);
  std::error_code ignored;
  const bool existed = std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
  // "file:" keeps a name with a colon in it from being taken for a protocol.
  Check(avio_open(&output_->pb, ("file:" + path).c_str(), AVIO_FLAG_WRITE), "Cannot create " + path);
  // Each packet reaches the file as it is muxed, not a buffer of 256 kB later:
  // a burn that is killed leaves a partial that plays up to its last packet.
  output_->flush_packets = 1;
  AVDictionary* options = NewDictionary(plan.MuxerOptions);
  const int written = avformat_write_header(output_.get(), &options);
  const DictionaryPtr unused(options);
  if (written < 0) {
    output_.reset();
    if (!existed) std::filesystem::remove(path, ignored);
    throw MediaError::FromAv("Cannot write the header of " + path, written);
  }
}

EncodingSession::~EncodingSession() {
  try {
    Finish();
  } catch (...) {
    // A destructor has nobody to tell; CloseSource reports the same failure.
  }
}

void EncodingSession::WriteFrame(Frame frame) {
  if (video_) video_->Write(std::move(frame));
}

void EncodingSession::WritePicture(DecodedPicture picture) {
  if (video_) video_->Write(std::move(picture));
}

void EncodingSession::WriteAudio(const AudioBlock& block) {
  if (audio_) audio_->Write(block);
  if (soundCopy_) {
    soundBytes_ += static_cast<std::int64_t>(block.Bytes.size());
    soundCopy_->CopyUntil(SoundCopiedUntil());
  }
}

std::int64_t EncodingSession::SoundCopiedUntil() const {
  return av_rescale(soundBytes_, AV_TIME_BASE, soundBytesPerSecond_);
}

void EncodingSession::Finish() {
  if (finished_) return;
  finished_ = true;
  std::exception_ptr failure;
  try {
    if (video_) video_->Finish();
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    if (audio_) audio_->Finish();
    if (soundCopy_) soundCopy_->CopyUntil(SoundCopiedUntil());
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  // The trailer even after a failure: what was written stays playable.
  const int trailer = av_write_trailer(output_.get());
  const int closed = avio_closep(&output_->pb);
  if (!failure && trailer < 0)
    failure = std::make_exception_ptr(MediaError::FromAv("Cannot finish the output file", trailer));
  if (!failure && closed < 0)
    failure = std::make_exception_ptr(MediaError::FromAv("Cannot finish the output file", closed));
  if (failure) std::rethrow_exception(failure);
}

}  // namespace orlisk
