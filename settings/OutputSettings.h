#pragma once
// The output settings of orlisk.ini: how written videos are made. The keys are
// read at the moment a write job starts (ReadOutputSettings) and kept as
// stored: an index may be -1 or outside its list after a hand edit, and the
// writer configuration decides what such a value means. The fixed value lists
// the indexes point into are here too, for the configuration and the dialog.
#include <array>
#include <cstdint>

#include "ProfileFile.h"

namespace orlisk {

// "AVI"/"fram": frames per second.
inline constexpr std::array<double, 8> kAviFrameRates = {10.00, 15.00, 22.54, 23.97, 24.00, 25.00, 29.97, 30.00};
// "MPEG"/"fram": frames per second.
inline constexpr std::array<double, 4> kMpegFrameRates = {24.00, 25.00, 29.97, 30.00};
// "MPEG"/"VBit": kbit/s.
inline constexpr std::array<int, 5> kMpegVideoBitRates = {750, 1150, 1500, 1950, 2376};
// "MPEG"/"ABit": kbit/s.
inline constexpr std::array<int, 10> kMpegAudioBitRates = {64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
// "MPEG"/"Afre": Hz. Stored by the dialog; MPEG audio keeps the source's rate.
inline constexpr std::array<int, 10> kMpegAudioFrequencies = {6000,  8000,  11025, 12000, 16000,
                                                              22050, 24000, 32000, 44100, 48000};

// "AVI"/"Audio": the AVI audio format.
enum AviAudioChoice : std::int32_t {
  kAviAudioPcm = 0,
  kAviAudioMp3 = 1,
  kAviAudioAdpcm = 2,
  kAviAudioAlaw = 3,
  kAviAudioUlaw = 4,
  kAviAudioGsm = 5,
};

// "Video"/"Preset": the frame of a custom output. A side of 0 is the
// source's; the last entry is the size typed into "Video"/"w" and "h". The
// picture keeps its shape inside any of them, between black bars.
struct SizePresetEntry {
  const char* Name;  // as the command line and the dialog name it
  int Width;
  int Height;
};
inline constexpr std::array<SizePresetEntry, 7> kSizePresets = {{{"source", 0, 0},
                                                                  {"1080p", 1920, 1080},
                                                                  {"720p", 1280, 720},
                                                                  {"480p", 854, 480},
                                                                  {"vertical", 1080, 1920},
                                                                  {"square", 1080, 1080},
                                                                  {"typed", 0, 0}}};
inline constexpr std::int32_t kSizePresetTyped = 6;

// "Delivery"/"Quality": MP4 and MKV pictures at a constant quality, each step
// a constant rate factor on x264's scale (lower: better and larger); the
// entry after the steps asks for the bit rate "Delivery"/"Bitrate" instead.
struct QualityStep {
  const char* Name;
  int Crf;
};
inline constexpr std::array<QualityStep, 5> kQualitySteps = {
    {{"High", 18}, {"Good", 21}, {"Standard", 23}, {"Small", 26}, {"Smallest", 28}}};
inline constexpr std::int32_t kQualityTargetBitRate = 5;

// "Delivery"/"Speed": how long the H.264/H.265 encoder looks for a smaller
// file at the same quality (its preset).
struct EncoderSpeed {
  const char* Name;
  const char* Preset;
};
inline constexpr std::array<EncoderSpeed, 4> kEncoderSpeeds = {
    {{"Fastest", "ultrafast"}, {"Fast", "veryfast"}, {"Balanced", "medium"}, {"Thorough", "slow"}}};

// "MKV"/"Video" and "MKV"/"Audio": the codecs of a Matroska output (the sound
// one only when the source's cannot be copied).
enum MkvVideoChoice : std::int32_t { kMkvVideoH264 = 0, kMkvVideoH265 = 1 };
enum MkvAudioChoice : std::int32_t { kMkvAudioAac = 0, kMkvAudioOpus = 1 };

// The values as stored; each member starts at the default the writer
// configuration uses for a missing key (the dialog shows 3 and 0 for the two
// frame rates instead).
struct OutputSettings {
  std::int32_t OutputMode = 0;           // "Video"/"wh": 0 "Original", 1 "Custom:"
  std::int32_t CustomWidth = 352;        // "Video"/"w", pixels
  std::int32_t CustomHeight = 240;       // "Video"/"h", pixels
  std::int32_t AviFrameRate = 4;         // "AVI"/"fram", index into kAviFrameRates
  std::int32_t AviCodec = 1;             // "AVI"/"Code", index into the AVI codec list
  std::int32_t AviAudio = kAviAudioMp3;  // "AVI"/"Audio", AviAudioChoice
  std::int32_t MpegFrameRate = 1;        // "MPEG"/"fram", index into kMpegFrameRates
  std::int32_t MpegVideoBitRate = 1;     // "MPEG"/"VBit", index into kMpegVideoBitRates
  std::int32_t MpegChannels = 1;         // "MPEG"/"Cnannel": 0 mono, 1 stereo
  std::int32_t MpegAudioBitRate = 4;     // "MPEG"/"ABit", index into kMpegAudioBitRates
  std::int32_t MpegVersion = 0;          // "MPEG"/"VS": 0 MPEG-1, 1 MPEG-2
  std::int32_t MpegAudioFrequency = 8;   // "MPEG"/"Afre", index into kMpegAudioFrequencies
  std::int32_t WmvProfile = 37;          // "WMV"/"Code", index into the WMV profiles
  std::int32_t RmProfile = 6;            // "RM"/"Code", index into the RM profiles
  std::int32_t SizePreset = kSizePresetTyped;  // "Video"/"Preset", index into kSizePresets
  std::int32_t DeliveryQuality = 2;      // "Delivery"/"Quality", index into kQualitySteps or kQualityTargetBitRate
  std::int32_t DeliveryBitRate = 4000;   // "Delivery"/"Bitrate", kbit/s of the pictures
  std::int32_t DeliverySpeed = 1;        // "Delivery"/"Speed", index into kEncoderSpeeds
  std::int32_t MkvVideo = kMkvVideoH264;  // "MKV"/"Video", MkvVideoChoice
  std::int32_t MkvAudio = kMkvAudioAac;   // "MKV"/"Audio", MkvAudioChoice

  bool operator==(const OutputSettings&) const = default;
};

// Where each value is stored, with the default a write job takes for a missing
// key and the one the output settings dialog shows for it (side by side where
// they differ), and whether the dialog stores it.
struct OutputSettingKey {
  const char* Section;
  const char* Key;
  std::int32_t OutputSettings::*Value;
  std::int32_t WriterDefault;  // as OutputSettings{} holds it
  std::int32_t ShownDefault;
  bool SetInDialog;
};
extern const std::array<OutputSettingKey, 20> kOutputSettingKeys;

// Reads every key above from the settings file at this moment, a missing key
// as a write job takes it.
OutputSettings ReadOutputSettings(const ProfileFile& settings);
// The same, a missing key as the output settings dialog shows it.
OutputSettings ReadShownOutputSettings(const ProfileFile& settings);
// What the dialog shows for every key missing.
OutputSettings ShownOutputDefaults();
// Stores the keys the dialog sets.
void WriteDialogOutputSettings(ProfileFile& settings, const OutputSettings& values);

}  // namespace orlisk
