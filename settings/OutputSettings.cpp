#include "OutputSettings.h"

namespace orlisk {

OutputSettings ReadOutputSettings(const ProfileFile& settings) {
  const OutputSettings defaults;
  OutputSettings values;
  values.OutputMode = settings.readInteger("Video", "wh", defaults.OutputMode);
  values.CustomWidth = settings.readInteger("Video", "w", defaults.CustomWidth);
  values.CustomHeight = settings.readInteger("Video", "h", defaults.CustomHeight);
  values.AviFrameRate = settings.readInteger("AVI", "fram", defaults.AviFrameRate);
  values.AviCodec = settings.readInteger("AVI", "Code", defaults.AviCodec);
  values.AviAudio = settings.readInteger("AVI", "Audio", defaults.AviAudio);
  values.MpegFrameRate = settings.readInteger("MPEG", "fram", defaults.MpegFrameRate);
  values.MpegVideoBitRate = settings.readInteger("MPEG", "VBit", defaults.MpegVideoBitRate);
  values.MpegChannels = settings.readInteger("MPEG", "Cnannel", defaults.MpegChannels);
  values.MpegAudioBitRate = settings.readInteger("MPEG", "ABit", defaults.MpegAudioBitRate);
  values.MpegVersion = settings.readInteger("MPEG", "VS", defaults.MpegVersion);
  values.MpegAudioFrequency = settings.readInteger("MPEG", "Afre", defaults.MpegAudioFrequency);
  values.WmvProfile = settings.readInteger("WMV", "Code", defaults.WmvProfile);
  values.RmProfile = settings.readInteger("RM", "Code", defaults.RmProfile);
  return values;
}

}  // namespace orlisk
