#include "OutputSettings.h"

namespace orlisk {

const std::array<OutputSettingKey, 20> kOutputSettingKeys = {{
    {"Video", "w", &OutputSettings::CustomWidth, 352, 352, true},
    {"Video", "h", &OutputSettings::CustomHeight, 240, 240, true},
    {"Video", "wh", &OutputSettings::OutputMode, 0, 0, true},
    // The dialog's frame-rate lists start on other rows than a write job assumes.
    {"AVI", "fram", &OutputSettings::AviFrameRate, 4, 3, true},
    {"AVI", "Code", &OutputSettings::AviCodec, 1, 1, true},
    {"AVI", "Audio", &OutputSettings::AviAudio, kAviAudioMp3, kAviAudioMp3, true},
    {"MPEG", "fram", &OutputSettings::MpegFrameRate, 1, 0, true},
    {"MPEG", "VBit", &OutputSettings::MpegVideoBitRate, 1, 1, true},
    {"MPEG", "Cnannel", &OutputSettings::MpegChannels, 1, 1, true},
    {"MPEG", "ABit", &OutputSettings::MpegAudioBitRate, 4, 4, true},
    {"MPEG", "VS", &OutputSettings::MpegVersion, 0, 0, true},
    {"MPEG", "Afre", &OutputSettings::MpegAudioFrequency, 8, 8, true},
    {"WMV", "Code", &OutputSettings::WmvProfile, 37, 37, true},
    {"RM", "Code", &OutputSettings::RmProfile, 6, 6, false},
    {"Video", "Preset", &OutputSettings::SizePreset, kSizePresetTyped, kSizePresetTyped, true},
    {"Delivery", "Quality", &OutputSettings::DeliveryQuality, 2, 2, true},
    {"Delivery", "Bitrate", &OutputSettings::DeliveryBitRate, 4000, 4000, true},
    {"Delivery", "Speed", &OutputSettings::DeliverySpeed, 1, 1, true},
    {"MKV", "Video", &OutputSettings::MkvVideo, kMkvVideoH264, kMkvVideoH264, true},
    {"MKV", "Audio", &OutputSettings::MkvAudio, kMkvAudioAac, kMkvAudioAac, true},
}};

namespace {

OutputSettings Read(const ProfileFile& settings, std::int32_t OutputSettingKey::*missing) {
  OutputSettings values;
  for (const OutputSettingKey& key : kOutputSettingKeys)
    values.*key.Value = settings.readInteger(key.Section, key.Key, key.*missing);
  return values;
}

}  // namespace

OutputSettings ReadOutputSettings(const ProfileFile& settings) {
  return Read(settings, &OutputSettingKey::WriterDefault);
}

OutputSettings ReadShownOutputSettings(const ProfileFile& settings) {
  return Read(settings, &OutputSettingKey::ShownDefault);
}

OutputSettings ShownOutputDefaults() {
  OutputSettings values;
  for (const OutputSettingKey& key : kOutputSettingKeys) values.*key.Value = key.ShownDefault;
  return values;
}

void WriteDialogOutputSettings(ProfileFile& settings, const OutputSettings& values) {
  for (const OutputSettingKey& key : kOutputSettingKeys) {
    if (key.SetInDialog) settings.writeInteger(key.Section, key.Key, values.*key.Value);
  }
}

}  // namespace orlisk
