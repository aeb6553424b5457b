#include "DeliveryConfiguration.h"

#include <algorithm>
#include <array>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace orlisk {
namespace {

// What each container holds unchanged and players play from it. PCM is left
// out on purpose: encoding it keeps a published file small.
constexpr std::array<std::string_view, 4> kMp4Sound = {"aac", "mp3", "ac3", "eac3"};
constexpr std::array<std::string_view, 10> kMatroskaSound = {"aac", "mp3", "mp2",  "ac3", "eac3",
                                                             "opus", "vorbis", "flac", "dts", "alac"};

template <typename Values>
bool Holds(const Values& values, const std::string& name) {
  return std::find(values.begin(), values.end(), name) != values.end();
}

int IndexOr(std::int32_t stored, int count, int fallback) { return stored >= 0 && stored < count ? stored : fallback; }

}  // namespace

FrameSize CustomFrameSize(const OutputSettings& settings) {
  const int preset = IndexOr(settings.SizePreset, static_cast<int>(kSizePresets.size()), kSizePresetTyped);
  if (preset == kSizePresetTyped) {
    // A stored width or height of 0 (or below) cannot be written: the default
    // size stands in for it; the settings file keeps what the user typed.
    return {settings.CustomWidth > 0 ? settings.CustomWidth : OutputSettings{}.CustomWidth,
            settings.CustomHeight > 0 ? settings.CustomHeight : OutputSettings{}.CustomHeight};
  }
  const SizePresetEntry& entry = kSizePresets[static_cast<std::size_t>(preset)];
  return {entry.Width, entry.Height};
}

bool ContainerTakesSound(const std::string& container, const std::string& audioFormatName) {
  if (container == "mp4") return Holds(kMp4Sound, audioFormatName);
  if (container == "matroska") return Holds(kMatroskaSound, audioFormatName);
  return false;
}

DeliveryFormat ConfigureDelivery(const SourceFacts& source, const OutputSettings& settings, bool mkv) {
  DeliveryFormat format;
  format.Container = mkv ? "matroska" : "mp4";
  format.VideoCodec = mkv && settings.MkvVideo == kMkvVideoH265 ? "hevc" : "h264";
  format.AudioCodec = mkv && settings.MkvAudio == kMkvAudioOpus ? "opus" : "aac";
  format.AudioBitRateKbps = format.AudioCodec == "opus" ? 128 : 160;
  const FrameSize frame = CustomFrameSize(settings);
  format.Width = frame.Width;
  format.Height = frame.Height;
  const int defaultStep = OutputSettings{}.DeliveryQuality;
  const int quality = IndexOr(settings.DeliveryQuality, kQualityTargetBitRate + 1, defaultStep);
  if (quality == kQualityTargetBitRate) {
    format.VideoBitRateKbps =
        std::clamp(settings.DeliveryBitRate > 0 ? settings.DeliveryBitRate : OutputSettings{}.DeliveryBitRate, 100,
                   100000);
  } else {
    format.Crf = kQualitySteps[static_cast<std::size_t>(quality)].Crf;
  }
  const int speed = IndexOr(settings.DeliverySpeed, static_cast<int>(kEncoderSpeeds.size()),
                            OutputSettings{}.DeliverySpeed);
  format.Speed = kEncoderSpeeds[static_cast<std::size_t>(speed)].Preset;
  if (source.AudioSampleRate > 0 && ContainerTakesSound(format.Container, source.AudioFormatName)) {
    format.CopySoundFrom = source.Path;
  }
  return format;
}

bool H265EncoderInstalled() { return avcodec_find_encoder_by_name("libx265") != nullptr; }

}  // namespace orlisk
