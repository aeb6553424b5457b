#include "ConfigureWriter.h"

#include <algorithm>
#include <filesystem>
#include <span>

#include "DeliveryConfiguration.h"
#include "WriterProfiles.h"
#include "media/MediaFacts.h"

namespace orlisk {
namespace {

// The families of containers an "Original" output can take.
enum class Family { Avi, Mpeg, Wmv, Rm, Mp4, Mov, Matroska, Webm, Ogg, Flv, MpegTs, ThreeGp };

struct ExtensionFamily {
  const char* extension;
  Family family;
};

constexpr ExtensionFamily kExtensions[] = {
    {".avi", Family::Avi},      {".divx", Family::Avi},    {".mpeg", Family::Mpeg},   {".mpg", Family::Mpeg},
    {".mpe", Family::Mpeg},     {".m1v", Family::Mpeg},    {".vob", Family::Mpeg},    {".dat", Family::Mpeg},
    {".wmv", Family::Wmv},      {".asf", Family::Wmv},     {".rm", Family::Rm},       {".rmvb", Family::Rm},
    {".mp4", Family::Mp4},      {".m4v", Family::Mp4},     {".mov", Family::Mov},     {".qt", Family::Mov},
    {".mkv", Family::Matroska}, {".webm", Family::Webm},   {".ogv", Family::Ogg},     {".ogg", Family::Ogg},
    {".flv", Family::Flv},      {".ts", Family::MpegTs},   {".m2ts", Family::MpegTs}, {".mts", Family::MpegTs},
    {".m2t", Family::MpegTs},   {".3gp", Family::ThreeGp}, {".3g2", Family::ThreeGp},
};

// The extension a family's output gets when the source's own says nothing.
std::string UsualExtension(Family family) {
  switch (family) {
    case Family::Avi: return ".avi";
    case Family::Mpeg: return ".mpeg";
    case Family::Wmv: return ".wmv";
    case Family::Rm: return ".rm";
    case Family::Mp4: return ".mp4";
    case Family::Mov: return ".mov";
    case Family::Matroska: return ".mkv";
    case Family::Webm: return ".webm";
    case Family::Ogg: return ".ogv";
    case Family::Flv: return ".flv";
    case Family::MpegTs: return ".ts";
    case Family::ThreeGp: return ".3gp";
  }
  return ".mp4";
}

// FFmpeg names a demuxer by a comma-separated list; its first name is enough.
Family FamilyOfContainer(const std::string& container) {
  const std::string first = container.substr(0, container.find(','));
  if (first == "avi") return Family::Avi;
  if (first == "mpeg" || first == "mpegvideo") return Family::Mpeg;
  if (first == "asf") return Family::Wmv;
  if (first == "rm") return Family::Rm;
  if (first == "matroska") return Family::Matroska;
  if (first == "ogg") return Family::Ogg;
  if (first == "flv") return Family::Flv;
  if (first == "mpegts") return Family::MpegTs;
  return Family::Mp4;  // "mov,mp4,..." and anything FFmpeg reads but we have no writer for
}

struct OriginalTarget {
  Family family;
  std::string extension;
};

OriginalTarget OriginalTargetOf(const SourceFacts& source) {
  const std::string extension = AsciiLowerCase(std::filesystem::path(source.Path).extension().string());
  for (const auto& known : kExtensions) {
    if (extension == known.extension) {
      switch (known.family) {
        case Family::Avi: return {Family::Avi, ".avi"};
        case Family::Mpeg: return {Family::Mpeg, ".mpeg"};
        case Family::Rm: return {Family::Rm, ".rm"};
        default: return {known.family, extension};
      }
    }
  }
  const Family family = FamilyOfContainer(source.Container);
  return {family, UsualExtension(family)};
}

// A stored list index, or the key's default when it is outside the list (and
// the last entry when even the default is); nullopt for an empty list.
std::optional<int> ListIndex(std::int32_t stored, int count, int fallback) {
  if (count <= 0) return std::nullopt;
  if (stored >= 0 && stored < count) return stored;
  if (fallback >= 0 && fallback < count) return fallback;
  return count - 1;
}

template <typename List>
auto FromList(const List& list, std::int32_t stored, int fallback) {
  return list[static_cast<std::size_t>(*ListIndex(stored, static_cast<int>(list.size()), fallback))];
}

std::optional<int> NumberOf(std::optional<int> index) { return index ? std::optional<int>(*index + 1) : std::nullopt; }

AviAudioSetup AviAudioFor(std::int32_t choice, int rate) {
  switch (choice) {
    case kAviAudioPcm: return {AviAudioKind::Pcm, 0, rate, 2, 16};
    case kAviAudioAdpcm: return {AviAudioKind::Adpcm, 0, rate, 2, 0};
    case kAviAudioAlaw: return {AviAudioKind::Alaw, 0, rate, 2, 0};
    case kAviAudioUlaw: return {AviAudioKind::Ulaw, 0, rate, 2, 0};
    case kAviAudioGsm: return {AviAudioKind::Gsm, 0, rate, 0, 0};
    default: return {AviAudioKind::Mp3, 128, rate, 2, 0};
  }
}

// Original AVI: the source's sound family decides, MP3 128 kbit/s otherwise.
AviAudioSetup OriginalAviAudio(const SourceFacts& source) {
  const std::string name = AsciiLowerCase(source.AudioFormatName);
  if (name == "wav") return AviAudioFor(kAviAudioPcm, source.AudioSampleRate);
  if (name == "adpcm") return AviAudioFor(kAviAudioAdpcm, source.AudioSampleRate);
  if (name == "alaw") return AviAudioFor(kAviAudioAlaw, source.AudioSampleRate);
  if (name == "ulaw") return AviAudioFor(kAviAudioUlaw, source.AudioSampleRate);
  if (name == "gsm") return AviAudioFor(kAviAudioGsm, source.AudioSampleRate);
  return AviAudioFor(kAviAudioMp3, source.AudioSampleRate);
}

int KbpsOf(std::int64_t bitsPerSecond) {
  return static_cast<int>(std::clamp<std::int64_t>(bitsPerSecond / 1000, 0, 1'000'000));
}

VideoSetup SourceVideoOf(const SourceFacts& source) { return {source.Width, source.Height, source.FrameRate}; }

void ConfigureOriginal(const SourceFacts& source, const CodecLists& codecs, WriterConfiguration& result) {
  const OriginalTarget target = OriginalTargetOf(source);
  result.OutputExtension = target.extension;
  switch (target.family) {
    case Family::Avi:
      result.OutputType = kOutputAvi;
      if (codecs.XvidCodecIndex > 0) result.AviCodec = codecs.XvidCodecIndex;
      result.AviAudio = OriginalAviAudio(source);
      result.AviVideo = SourceVideoOf(source);
      return;
    case Family::Mpeg: {
      result.OutputType = kOutputMpeg;
      const int version = AsciiLowerCase(source.VideoFormatName) == "mpeg1 video" ? 1 : 2;
      result.MpegAudio = MpegAudioSetup{KbpsOf(source.AudioBitRate), source.AudioSampleRate, source.AudioChannels};
      result.MpegVideo = MpegVideoSetup{version, std::clamp(KbpsOf(source.VideoBitRate), 750, 2376), source.Width,
                                        source.Height, source.FrameRate};
      return;
    }
    case Family::Wmv: result.OutputType = kOutputWmv; return;
    case Family::Rm: result.OutputType = kOutputRm; return;
    default: break;
  }
  OtherFormat other;
  switch (target.family) {
    case Family::Webm: other = {"webm", "vp9", "opus"}; break;
    case Family::Ogg: other = {"ogg", "theora", "vorbis"}; break;
    case Family::Mov: other = {"mov", "h264", "aac"}; break;
    case Family::Matroska: other = {"matroska", "h264", "aac"}; break;
    case Family::Flv: other = {"flv", "h264", "aac"}; break;
    case Family::MpegTs: other = {"mpegts", "h264", "aac"}; break;
    case Family::ThreeGp: other = {"3gp", "h264", "aac"}; break;
    default: other = {"mp4", "h264", "aac"}; break;
  }
  other.Width = source.Width;
  other.Height = source.Height;
  other.FrameRate = source.FrameRate;
  // Near the source's rates; an unknown video rate (0) lets the writer choose
  // from the size and frame rate.
  const int videoKbps = KbpsOf(source.VideoBitRate);
  other.VideoBitRateKbps = videoKbps > 0 ? std::clamp(videoKbps, 100, 50000) : 0;
  const int audioKbps = KbpsOf(source.AudioBitRate);
  other.AudioBitRateKbps = audioKbps > 0 ? std::clamp(audioKbps, 64, 320) : 128;
  result.OutputType = kOutputOther;
  result.Other = other;
}

void ConfigureCustom(const SourceFacts& source, const OutputSettings& settings, int formatChoice,
                     const CodecLists& codecs, WriterConfiguration& result) {
  const int rate = source.AudioSampleRate;
  const FrameSize frame = CustomFrameSize(settings);
  switch (formatChoice) {
    case 1:
      result.OutputType = kOutputMpeg;
      result.OutputExtension = ".mpeg";
      result.MpegAudio = MpegAudioSetup{FromList(kMpegAudioBitRates, settings.MpegAudioBitRate, 4), rate,
                                        *ListIndex(settings.MpegChannels, 2, 1) + 1};
      result.MpegVideo = MpegVideoSetup{
          *ListIndex(settings.MpegVersion, 2, 0) + 1, FromList(kMpegVideoBitRates, settings.MpegVideoBitRate, 1),
          frame.Width, frame.Height, FromList(kMpegFrameRates, settings.MpegFrameRate, 1)};
      return;
    case 2:
      result.OutputType = kOutputWmv;
      result.OutputExtension = ".wmv";
      result.WmvProfile = NumberOf(ListIndex(settings.WmvProfile, static_cast<int>(WmvProfiles().size()), 37));
      return;
    case 3:
      result.OutputType = kOutputRm;
      result.OutputExtension = ".rm";
      result.RmProfile = NumberOf(ListIndex(settings.RmProfile, static_cast<int>(RmProfiles().size()), 6));
      return;
    case kFormatChoiceMp4:
    case kFormatChoiceMkv:
      result.OutputType = kOutputDelivery;
      result.OutputExtension = formatChoice == kFormatChoiceMkv ? ".mkv" : ".mp4";
      result.Delivery = ConfigureDelivery(source, settings, formatChoice == kFormatChoiceMkv);
      return;
    default:
      result.OutputType = kOutputAvi;
      result.OutputExtension = ".avi";
      result.AviCodec = NumberOf(ListIndex(settings.AviCodec, static_cast<int>(codecs.AviCodecs.size()), 1));
      result.AviAudio = AviAudioFor(*ListIndex(settings.AviAudio, 6, kAviAudioMp3), rate);
      result.AviVideo =
          VideoSetup{frame.Width, frame.Height, FromList(kAviFrameRates, settings.AviFrameRate, 4)};
      return;
  }
}

}  // namespace

WriterConfiguration ConfigureWriter(const SourceFacts& source, const OutputSettings& settings, int formatChoice,
                                    const CodecLists& codecs) {
  WriterConfiguration result;
  result.SourceSampleRate = source.AudioSampleRate;
  result.SourceChannels = source.AudioChannels;
  result.SourceVideo = SourceVideoOf(source);
  result.SourceAspect = source.Aspect;
  if (*ListIndex(settings.OutputMode, 2, 0) == 0) {
    ConfigureOriginal(source, codecs, result);
  } else {
    ConfigureCustom(source, settings, *ListIndex(formatChoice, kFormatChoiceMkv + 1, 0), codecs, result);
  }
  return result;
}

void ApplyWriterConfiguration(const WriterConfiguration& configuration, VideoWriter& writer) {
  writer.AudioEnabled(true);
  writer.VideoEnabled(true);
  if (configuration.AviCodec) writer.SelectAviCodec(*configuration.AviCodec);
  if (configuration.WmvProfile) writer.SelectWmvProfile(*configuration.WmvProfile);
  if (configuration.RmProfile) writer.SelectRmProfile(*configuration.RmProfile);
  if (const auto& audio = configuration.AviAudio) {
    switch (audio->Kind) {
      case AviAudioKind::Pcm: writer.SetAviAudioPcm(audio->SampleRate, audio->Channels, audio->BitsPerSample); break;
      case AviAudioKind::Mp3: writer.SetAviAudioMp3(audio->BitRateKbps, audio->SampleRate, audio->Channels); break;
      case AviAudioKind::Adpcm: writer.SetAviAudioAdpcm(audio->SampleRate, audio->Channels); break;
      case AviAudioKind::Alaw: writer.SetAviAudioAlaw(audio->SampleRate, audio->Channels); break;
      case AviAudioKind::Ulaw: writer.SetAviAudioUlaw(audio->SampleRate, audio->Channels); break;
      case AviAudioKind::Gsm: writer.SetAviAudioGsm(audio->SampleRate); break;
    }
  }
  writer.SetSourceAudioFormat(configuration.SourceSampleRate, configuration.SourceChannels);
  if (const auto& audio = configuration.MpegAudio) {
    writer.SetMpegAudioFormat(audio->BitRateKbps, audio->SampleRate, audio->Channels);
  }
  const VideoSetup& source = configuration.SourceVideo;
  writer.SetSourceVideoFormat(source.Width, source.Height, source.FrameRate);
  writer.SetSourcePixelAspect(configuration.SourceAspect.Num, configuration.SourceAspect.Den);
  if (const auto& video = configuration.AviVideo) {
    writer.SetAviVideoFormat(video->Width, video->Height, video->FrameRate);
  }
  if (const auto& video = configuration.MpegVideo) {
    writer.SetMpegVideoFormat(video->Version, video->BitRateKbps, video->Width, video->Height, video->FrameRate);
  }
  if (configuration.Other) writer.SetOtherFormat(*configuration.Other);
  if (configuration.Delivery) writer.SetDeliveryFormat(*configuration.Delivery);
}

}  // namespace orlisk
