#include "OutputPlan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "EncoderFit.h"
#include "WriterProfiles.h"
#include "media/MediaError.h"

namespace orlisk {
namespace {

constexpr int kMaxPictureSide = 8192;

const AVCodec* FirstEncoder(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (const AVCodec* codec = avcodec_find_encoder_by_name(name)) return codec;
  }
  return nullptr;
}

const AVCodec* RequireEncoder(std::initializer_list<const char*> names, const std::string& what) {
  if (const AVCodec* codec = FirstEncoder(names)) return codec;
  throw MediaError("Cannot write " + what + ": the installed FFmpeg has no encoder for it");
}

bool Named(const AVCodec* codec, const char* name) { return std::string(codec->name) == name; }

double ToDouble(AVRational rate) { return av_q2d(rate); }

// The containers that cannot say how wide a pixel is.
bool CarriesPixelAspect(const std::string& muxer) { return muxer != "rm"; }

// Size, pixel format and frame rate: the wanted values (0 or less: the
// source's) moved to the nearest the encoder accepts; the source's picture
// keeps its displayed shape in the frame (OutputPicture.h).
VideoPlan BasicVideo(const AVCodec* codec, int width, int height, double frameRate, const WriterState& state,
                     const std::string& muxer) {
  VideoPlan plan;
  plan.Encoder = codec;
  plan.PixelFormat = PickPixelFormat(codec);
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(plan.PixelFormat);
  int stepX = descriptor ? 1 << descriptor->log2_chroma_w : 2;
  int stepY = descriptor ? 1 << descriptor->log2_chroma_h : 2;
  int maximum = kMaxPictureSide;
  if (Named(codec, "rv10")) stepX = stepY = 16;
  if (Named(codec, "rv20")) stepX = stepY = std::max(stepX, 4);
  if (codec->id == AV_CODEC_ID_MPEG1VIDEO || codec->id == AV_CODEC_ID_MPEG2VIDEO) maximum = 4095;
  if (codec->id == AV_CODEC_ID_MPEG4) maximum = 8191;  // 13 bits for each side

  const VideoSetup& source = state.Source;
  const OutputPicture picture = PlanOutputPicture(source.Width, source.Height, state.SourceAspect, width, height,
                                                  CarriesPixelAspect(muxer), stepX, stepY, maximum);
  plan.Width = picture.Width;
  plan.Height = picture.Height;
  plan.Aspect = picture.Aspect;
  plan.Picture = picture.Picture;
  plan.FrameRate = PickFrameRate(codec, frameRate > 0 ? frameRate : source.FrameRate);
  return plan;
}

int QuantiserOf(int quality) {
  return 1 + static_cast<int>(std::lround((100 - std::clamp(quality, 1, 100)) * 30 / 99.0));
}
int CrfOf(int quality) { return static_cast<int>(std::lround((100 - std::clamp(quality, 1, 100)) * 51 / 99.0)); }

// Options that trade a little compression for speed where an encoder's own
// default is far too slow for a desktop tool.
void AddSpeedOptions(VideoPlan& plan) {
  if (Named(plan.Encoder, "libx264")) plan.Options.push_back({"preset", "veryfast"});
  if (Named(plan.Encoder, "libvpx-vp9")) {
    plan.Options.insert(plan.Options.end(), {{"deadline", "realtime"}, {"cpu-used", "8"}, {"row-mt", "1"}});
  }
  if (Named(plan.Encoder, "libvpx")) {
    plan.Options.insert(plan.Options.end(), {{"deadline", "realtime"}, {"cpu-used", "8"}});
  }
}

// The MPEG-4 family refuses intervals above 600 frames.
int KeyFramesEvery(double seconds, AVRational frameRate) {
  return std::clamp(static_cast<int>(std::lround(seconds * ToDouble(frameRate))), 1, 600);
}

// Rate and channels (0 or less: the source's) moved to what the encoder takes.
AudioPlan BasicAudio(const AVCodec* codec, int sampleRate, int channels, int kbps, const WriterState& state) {
  AudioPlan plan;
  plan.Encoder = codec;
  plan.SampleRate = NearestSampleRate(codec, sampleRate > 0 ? sampleRate : state.SourceSampleRate);
  plan.Channels = NearestChannelCount(codec, channels > 0 ? channels : state.SourceChannels);
  plan.SampleFormat = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
  plan.BitRate = AudioBitRate(codec, kbps, plan.SampleRate);
  return plan;
}

const AVCodec* AviAudioEncoder(const AviAudioSetup& audio) {
  switch (audio.Kind) {
    case AviAudioKind::Pcm:
      if (audio.BitsPerSample == 8) return RequireEncoder({"pcm_u8"}, "8-bit PCM sound");
      if (audio.BitsPerSample == 24) return RequireEncoder({"pcm_s24le"}, "24-bit PCM sound");
      if (audio.BitsPerSample == 32) return RequireEncoder({"pcm_s32le"}, "32-bit PCM sound");
      return RequireEncoder({"pcm_s16le"}, "PCM sound");
    case AviAudioKind::Mp3: return RequireEncoder({"libmp3lame"}, "MP3 sound");
    case AviAudioKind::Adpcm: return RequireEncoder({"adpcm_ms"}, "ADPCM sound");
    case AviAudioKind::Alaw: return RequireEncoder({"pcm_alaw"}, "A-law sound");
    case AviAudioKind::Ulaw: return RequireEncoder({"pcm_mulaw"}, "mu-law sound");
    case AviAudioKind::Gsm: return RequireEncoder({"libgsm_ms"}, "GSM sound");
  }
  return nullptr;
}

void PlanAvi(const WriterState& state, std::span<const AviEncoder> encoders, OutputPlan& plan) {
  plan.Muxer = "avi";
  if (state.Video) {
    if (encoders.empty()) throw MediaError("Cannot write AVI: the installed FFmpeg has no AVI video encoder");
    if (state.AviCodec < 1 || state.AviCodec > static_cast<int>(encoders.size())) {
      throw MediaError("There is no AVI codec number " + std::to_string(state.AviCodec));
    }
    const AviEncoder& chosen = encoders[static_cast<std::size_t>(state.AviCodec - 1)];
    const AVCodec* codec = RequireEncoder({chosen.EncoderName.c_str()}, chosen.LongName);
    plan.Video =
        BasicVideo(codec, state.AviVideo.Width, state.AviVideo.Height, state.AviVideo.FrameRate, state, plan.Muxer);
    const AviCodecSettings& settings = state.AviSettings;
    if (!settings.Lossless) {
      if (settings.Control == AviCodecSettings::RateControl::BitRate) {
        plan.Video->BitRate = std::int64_t{std::clamp(settings.BitRateKbps, 16, 200000)} * 1000;
      } else if (Named(codec, "libx264")) {
        plan.Video->Options.push_back({"crf", std::to_string(CrfOf(settings.Quality))});
      } else {
        plan.Video->Quantiser = QuantiserOf(settings.Quality);
      }
    }
    plan.Video->GopSize = std::max(1, settings.KeyFrameInterval);
    AddSpeedOptions(*plan.Video);
  }
  const AviAudioSetup& audio = state.AviAudio;
  if (plan.SourceSampleRate > 0) {
    plan.Audio = BasicAudio(AviAudioEncoder(audio), audio.SampleRate, audio.Channels, audio.BitRateKbps, state);
  }
}

void PlanMpeg(const WriterState& state, OutputPlan& plan) {
  const bool mpeg1 = state.MpegVideo.Version == 1;
  // MPEG-2 video goes into an MPEG-2 program stream, MPEG-1 into MPEG-1's.
  plan.Muxer = mpeg1 ? "mpeg" : "vob";
  if (state.Video) {
    const AVCodec* codec =
        mpeg1 ? RequireEncoder({"mpeg1video"}, "MPEG-1 video") : RequireEncoder({"mpeg2video"}, "MPEG-2 video");
    const MpegVideoSetup& video = state.MpegVideo;
    plan.Video = BasicVideo(codec, video.Width, video.Height, video.FrameRate, state, plan.Muxer);
    plan.Video->BitRate = std::int64_t{std::clamp(video.BitRateKbps, 100, 80000)} * 1000;
  }
  if (plan.SourceSampleRate > 0) {
    const MpegAudioSetup& audio = state.MpegAudio;
    plan.Audio =
        BasicAudio(RequireEncoder({"mp2"}, "MPEG audio"), audio.SampleRate, audio.Channels, audio.BitRateKbps, state);
  }
}

const WriterProfile& ProfileAt(std::span<const WriterProfile> profiles, int number, const char* what) {
  if (number < 1 || number > static_cast<int>(profiles.size())) {
    throw MediaError(std::string("There is no ") + what + " number " + std::to_string(number));
  }
  return profiles[static_cast<std::size_t>(number - 1)];
}

void PlanProfile(const WriterState& state, const WriterProfile& profile, const AVCodec* video, const AVCodec* audio,
                 OutputPlan& plan) {
  if (state.Video) {
    plan.Video = BasicVideo(video, profile.Width, profile.Height, profile.FrameRate, state, plan.Muxer);
    plan.Video->BitRate = std::int64_t{profile.VideoBitRateKbps} * 1000;
    plan.Video->GopSize = KeyFramesEvery(5.0, plan.Video->FrameRate);
  }
  if (plan.SourceSampleRate > 0) {
    plan.Audio = BasicAudio(audio, profile.AudioSampleRate, profile.AudioChannels, profile.AudioBitRateKbps, state);
  }
}

// RealMedia packets hold at most 64 kB and one packet holds one picture, so
// a detailed key frame at a high rate (or any at a large size) cannot be
// written unless the rate control keeps each picture smaller. Trellis
// quantisation with a lambda beyond the coarsest quantiser lets it go on
// shrinking where even that quantiser is not enough (noise); the size cap keeps
// the coarsest picture of the largest sources within the limit too.
constexpr int kRealMediaMaxPictureBytes = 60000;
constexpr int kRealMediaMaxWidth = 1920;
constexpr int kRealMediaMaxHeight = 1080;

void PlanRealMedia(const WriterState& state, OutputPlan& plan) {
  plan.Muxer = "rm";
  const WriterProfile& profile = ProfileAt(RmProfiles(), state.RmProfile, "RM profile");
  PlanProfile(state, profile, RequireEncoder({"rv20", "rv10"}, "RealVideo"),
              RequireEncoder({"ac3", "ac3_fixed"}, "AC-3 sound"), plan);
  if (!plan.Video) return;
  VideoPlan& video = *plan.Video;
  if (video.Width > kRealMediaMaxWidth || video.Height > kRealMediaMaxHeight) {
    // The source's shape, as large as fits.
    const double scale = std::min(static_cast<double>(kRealMediaMaxWidth) / video.Width,
                                  static_cast<double>(kRealMediaMaxHeight) / video.Height);
    const int step = Named(video.Encoder, "rv10") ? 16 : 4;
    video.Width = NearestMultiple(static_cast<int>(std::lround(video.Width * scale)), step, kRealMediaMaxWidth);
    video.Height = NearestMultiple(static_cast<int>(std::lround(video.Height * scale)), step, kRealMediaMaxHeight);
    video.Picture = {0, 0, video.Width, video.Height};  // the same shape, smaller
  }
  video.MaxPictureBytes = kRealMediaMaxPictureBytes;
  video.Options.insert(video.Options.end(), {{"trellis", "1"}, {"lmax", std::to_string(FF_QP2LAMBDA * 255)}});
}

const AVCodec* EncoderForCodec(const std::string& codec) {
  if (codec == "h264") return FirstEncoder({"libx264"});
  if (codec == "vp9") return FirstEncoder({"libvpx-vp9"});
  if (codec == "vp8") return FirstEncoder({"libvpx"});
  if (codec == "theora") return FirstEncoder({"libtheora"});
  if (codec == "aac") return FirstEncoder({"aac", "libfdk_aac"});
  if (codec == "opus") return FirstEncoder({"libopus"});  // FFmpeg's own is experimental
  if (codec == "vorbis") return FirstEncoder({"libvorbis"});
  const AVCodecDescriptor* descriptor = avcodec_descriptor_get_by_name(codec.c_str());
  return descriptor ? avcodec_find_encoder(descriptor->id) : nullptr;
}

// The codec asked for, or the container's other usual one.
const AVCodec* EncoderOrAlternative(const std::string& codec, const std::string& container) {
  if (const AVCodec* found = EncoderForCodec(codec)) return found;
  if (codec == "vp9") return EncoderForCodec("vp8");
  if (codec == "opus") return EncoderForCodec("vorbis");
  if (codec == "aac" && container == "matroska") return EncoderForCodec("vorbis");
  return nullptr;
}

void PlanOther(const WriterState& state, OutputPlan& plan) {
  const OtherFormat& other = state.Other;
  if (!av_guess_format(other.Container.c_str(), nullptr, nullptr)) {
    throw MediaError("Cannot write the container \"" + other.Container +
                     "\": the installed FFmpeg has no writer for it");
  }
  plan.Muxer = other.Container;
  if (other.Container == "mp4" || other.Container == "mov" || other.Container == "3gp") {
    // Fragments of at most a second, each with its own index, as screen
    // recorders write them: a file cut short by a kill or a power loss still
    // plays up to its last whole fragment. Without them the one index comes
    // last, and a cut file plays nowhere.
    plan.MuxerOptions = {{"movflags", "frag_keyframe+empty_moov+default_base_moof"}, {"frag_duration", "1000000"}};
  }
  if (state.Video) {
    const AVCodec* codec = EncoderOrAlternative(other.VideoCodec, other.Container);
    if (!codec)
      throw MediaError("Cannot write " + other.VideoCodec + " video: the installed FFmpeg has no encoder for it");
    plan.Video = BasicVideo(codec, other.Width, other.Height, other.FrameRate, state, plan.Muxer);
    int kbps = other.VideoBitRateKbps;
    if (kbps <= 0) {
      // A tenth of a bit per pixel and frame: near what the common encoders
      // need to look like their source.
      kbps = static_cast<int>(std::llround(static_cast<double>(plan.Video->Width) * plan.Video->Height *
                                           ToDouble(plan.Video->FrameRate) / 10000.0));
    }
    plan.Video->BitRate = std::int64_t{std::clamp(kbps, 100, 50000)} * 1000;
    AddSpeedOptions(*plan.Video);
  }
  if (plan.SourceSampleRate > 0) {
    const AVCodec* codec = EncoderOrAlternative(other.AudioCodec, other.Container);
    if (!codec)
      throw MediaError("Cannot write " + other.AudioCodec + " sound: the installed FFmpeg has no encoder for it");
    plan.Audio = BasicAudio(codec, 0, 0, other.AudioBitRateKbps, state);
  }
}

// x265's constant rate factor gives about the picture of x264's at five more
// (its own default, 28, matches x264's 23).
constexpr int kH265CrfOffset = 5;

void PlanDelivery(const WriterState& state, OutputPlan& plan) {
  const DeliveryFormat& delivery = state.Delivery;
  const bool hevc = delivery.VideoCodec == "hevc";
  plan.Muxer = delivery.Container;
  // The index first, so that a player on the web starts before the whole file is there.
  if (plan.Muxer == "mp4") plan.MuxerOptions = {{"movflags", "+faststart"}};
  if (state.Video) {
    const AVCodec* codec = hevc ? RequireEncoder({"libx265"}, "H.265 video") : RequireEncoder({"libx264"}, "H.264 video");
    plan.Video = BasicVideo(codec, delivery.Width, delivery.Height, 0, state, plan.Muxer);
    VideoPlan& video = *plan.Video;
    if (delivery.VideoBitRateKbps > 0) {
      video.BitRate = std::int64_t{std::clamp(delivery.VideoBitRateKbps, 100, 100000)} * 1000;
    } else {
      const int crf = std::clamp(delivery.Crf, 0, 51) + (hevc ? kH265CrfOffset : 0);
      video.Options.push_back({"crf", std::to_string(std::min(crf, 51))});
    }
    video.Options.push_back({"preset", delivery.Speed});
    // x265 reports every setting on stderr unless told otherwise.
    if (hevc) video.Options.push_back({"x265-params", "log-level=error"});
  }
  if (plan.SourceSampleRate <= 0) return;
  if (!delivery.CopySoundFrom.empty()) {
    plan.CopySoundFrom = delivery.CopySoundFrom;
    return;
  }
  const AVCodec* codec = EncoderOrAlternative(delivery.AudioCodec, delivery.Container);
  if (!codec) throw MediaError("Cannot write " + delivery.AudioCodec + " sound: the installed FFmpeg has no encoder for it");
  plan.Audio = BasicAudio(codec, 0, 0, delivery.AudioBitRateKbps, state);
}

}  // namespace

OutputPlan PlanOutput(const WriterState& state, int outputType, std::span<const AviEncoder> aviEncoders) {
  OutputPlan plan;
  plan.SourceFrameRate = FrameRateFraction(state.Source.FrameRate);
  if (state.Audio && state.SourceSampleRate > 0 && state.SourceChannels > 0) {
    plan.SourceSampleRate = state.SourceSampleRate;
    plan.SourceChannels = state.SourceChannels;
  }
  if (state.Video && (state.Source.Width <= 0 || state.Source.Height <= 0)) {
    throw MediaError("Cannot write a video: the source has no pictures");
  }
  switch (outputType) {
    case kOutputAvi: PlanAvi(state, aviEncoders, plan); break;
    case kOutputMpeg: PlanMpeg(state, plan); break;
    case kOutputWmv:
      plan.Muxer = "asf";
      PlanProfile(state, ProfileAt(WmvProfiles(), state.WmvProfile, "WMV profile"),
                  RequireEncoder({"wmv2"}, "WMV video"), RequireEncoder({"wmav2"}, "WMA sound"), plan);
      break;
    case kOutputRm: PlanRealMedia(state, plan); break;
    case kOutputOther: PlanOther(state, plan); break;
    case kOutputDelivery: PlanDelivery(state, plan); break;
    default: throw MediaError("Unknown output format " + std::to_string(outputType));
  }
  if (!plan.Video && !plan.Audio && plan.CopySoundFrom.empty()) throw MediaError("Cannot write a video with neither pictures nor sound");
  return plan;
}

}  // namespace orlisk
