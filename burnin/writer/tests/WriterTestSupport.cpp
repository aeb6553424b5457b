#include "WriterTestSupport.h"

#include <map>

#include "media/FfmpegPtr.h"

extern "C" {
#include <libavutil/video_enc_params.h>
}

namespace orlisk::writertest {
namespace {

InputFormatPtr OpenInput(const std::string& path) {
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, ("file:" + path).c_str(), nullptr, nullptr) < 0) return nullptr;
  InputFormatPtr format(raw);
  if (avformat_find_stream_info(format.get(), nullptr) < 0) return nullptr;
  return format;
}

std::string ErrorText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

}  // namespace

int CopyInterleaved(VideoReader& reader, VideoWriter& writer, int maxFrames) {
  constexpr int kAudioBlockBytes = 2304;
  bool videoDone = false;
  bool audioDone = false;
  int frames = 0;
  while (!(videoDone && audioDone)) {
    if (writer.GetPosition() >= reader.GetDuration()) videoDone = true;
    if (writer.GetAudioPosition() >= reader.GetAudioDuration()) audioDone = true;
    if (!videoDone && (reader.GetPosition() <= reader.GetAudioPosition() || audioDone)) {
      Frame frame = reader.ReadFrame();
      if (frame.empty()) {
        videoDone = true;
      } else {
        writer.WriteFrame(std::move(frame));
        if (++frames == maxFrames) break;
      }
    }
    if (!audioDone && (reader.GetPosition() >= reader.GetAudioPosition() || videoDone)) {
      const AudioBlock block = reader.ReadAudio(kAudioBlockBytes);
      if (block.empty()) {
        audioDone = true;
      } else {
        writer.WriteAudio(block);
      }
    }
  }
  return frames;
}

Probe ProbeFile(const std::string& path) {
  Probe probe;
  const InputFormatPtr format = OpenInput(path);
  if (!format) return probe;
  probe.Container = format->iformat->name;
  int videoIndex = -1;
  int soundIndex = -1;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVStream& stream = *format->streams[i];
    const AVCodecParameters& parameters = *stream.codecpar;
    if (parameters.codec_type == AVMEDIA_TYPE_VIDEO && videoIndex < 0) {
      videoIndex = static_cast<int>(i);
      probe.VideoCodec = avcodec_get_name(parameters.codec_id);
      probe.Width = parameters.width;
      probe.Height = parameters.height;
      const AVRational aspect = av_guess_sample_aspect_ratio(format.get(), format->streams[i], nullptr);
      probe.Aspect = MakePixelAspect(aspect.num, aspect.den);
      const AVRational rate = stream.avg_frame_rate.num > 0 ? stream.avg_frame_rate : stream.r_frame_rate;
      probe.FrameRate = av_q2d(rate);
    } else if (parameters.codec_type == AVMEDIA_TYPE_AUDIO && probe.AudioCodec.empty()) {
      soundIndex = static_cast<int>(i);
      probe.AudioCodec = avcodec_get_name(parameters.codec_id);
      probe.SampleRate = parameters.sample_rate;
      probe.Channels = parameters.ch_layout.nb_channels;
    }
  }
  const AvPacketPtr packet(av_packet_alloc());
  while (av_read_frame(format.get(), packet.get()) >= 0) {
    if (packet->stream_index == videoIndex) ++probe.VideoPackets;
    if (packet->stream_index == soundIndex) {
      ++probe.SoundPackets;
      // FNV-1a over every byte, in order.
      if (probe.SoundDigest == 0) probe.SoundDigest = 14695981039346656037ull;
      for (int i = 0; i < packet->size; ++i) probe.SoundDigest = (probe.SoundDigest ^ packet->data[i]) * 1099511628211ull;
    }
    av_packet_unref(packet.get());
  }
  return probe;
}

Decoded DecodeToEnd(const std::string& path) {
  Decoded result;
  const InputFormatPtr format = OpenInput(path);
  if (!format) {
    result.Errors = 1;
    result.FirstError = "cannot open " + path;
    return result;
  }
  const auto fail = [&](const std::string& what, int error) {
    if (result.Errors++ == 0) result.FirstError = what + ": " + ErrorText(error);
  };
  std::map<int, CodecContextPtr> decoders;
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVCodecParameters& parameters = *format->streams[i]->codecpar;
    if (parameters.codec_type != AVMEDIA_TYPE_VIDEO && parameters.codec_type != AVMEDIA_TYPE_AUDIO) continue;
    const AVCodec* codec = avcodec_find_decoder(parameters.codec_id);
    CodecContextPtr context(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(context.get(), &parameters);
    context->err_recognition = AV_EF_EXPLODE;  // a damaged packet is an error, not a silent guess
    if (const int opened = avcodec_open2(context.get(), codec, nullptr); opened < 0) {
      fail("open decoder", opened);
      continue;
    }
    decoders.emplace(static_cast<int>(i), std::move(context));
  }
  const AvPacketPtr packet(av_packet_alloc());
  const AvFramePtr frame(av_frame_alloc());
  const auto drain = [&](AVCodecContext& context) {
    for (;;) {
      const int received = avcodec_receive_frame(&context, frame.get());
      if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return;
      if (received < 0) {
        fail("decode", received);
        return;
      }
      if (context.codec_type == AVMEDIA_TYPE_VIDEO) {
        ++result.Frames;
      } else {
        result.Samples += frame->nb_samples;
      }
      av_frame_unref(frame.get());
    }
  };
  for (;;) {
    const int read = av_read_frame(format.get(), packet.get());
    if (read == AVERROR_EOF) break;
    if (read < 0) {
      fail("read", read);
      break;
    }
    if (auto found = decoders.find(packet->stream_index); found != decoders.end()) {
      if (const int sent = avcodec_send_packet(found->second.get(), packet.get()); sent < 0) fail("send", sent);
      drain(*found->second);
    }
    av_packet_unref(packet.get());
  }
  for (auto& [index, context] : decoders) {
    avcodec_send_packet(context.get(), nullptr);
    drain(*context);
  }
  return result;
}

std::set<int> QuantisersOf(const std::string& path) {
  std::set<int> quantisers;
  const InputFormatPtr format = OpenInput(path);
  if (!format) return quantisers;
  const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0) return quantisers;
  const AVCodecParameters& parameters = *format->streams[index]->codecpar;
  const AVCodec* codec = avcodec_find_decoder(parameters.codec_id);
  CodecContextPtr context(avcodec_alloc_context3(codec));
  avcodec_parameters_to_context(context.get(), &parameters);
  context->export_side_data |= AV_CODEC_EXPORT_DATA_VIDEO_ENC_PARAMS;
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return quantisers;
  const AvPacketPtr packet(av_packet_alloc());
  const AvFramePtr frame(av_frame_alloc());
  const auto drain = [&] {
    while (avcodec_receive_frame(context.get(), frame.get()) >= 0) {
      if (const AVFrameSideData* side = av_frame_get_side_data(frame.get(), AV_FRAME_DATA_VIDEO_ENC_PARAMS)) {
        const auto* parameters = reinterpret_cast<const AVVideoEncParams*>(side->data);
        for (unsigned i = 0; i < parameters->nb_blocks; ++i) {
          quantisers.insert(parameters->qp + av_video_enc_params_block(const_cast<AVVideoEncParams*>(parameters), i)->delta_qp);
        }
      }
      av_frame_unref(frame.get());
    }
  };
  while (av_read_frame(format.get(), packet.get()) >= 0) {
    if (packet->stream_index == index && avcodec_send_packet(context.get(), packet.get()) >= 0) drain();
    av_packet_unref(packet.get());
  }
  avcodec_send_packet(context.get(), nullptr);
  drain();
  return quantisers;
}

}  // namespace orlisk::writertest
