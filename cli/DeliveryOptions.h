#pragma once
// The command line's size and quality of a custom output: --size and
// --quality, read into choices that replace what the settings file says.
#include <optional>
#include <string>

#include "burnin/writer/VideoWriter.h"
#include "settings/OutputSettings.h"

namespace orlisk {

// --size source|1080p|720p|480p|vertical|square|WxH.
struct SizeChoice {
  int Preset = kSizePresetTyped;  // index into kSizePresets
  int Width = 0;                  // with the typed size
  int Height = 0;
};

// --quality: a named step (high, good, standard, small, smallest), a
// constant rate factor 0..51 on x264's scale, or a bit rate "2500k".
struct QualityChoice {
  int Crf = 0;
  int BitRateKbps = 0;  // non-zero: a target bit rate instead of Crf
};

// Raise UsageError with what is wrong.
SizeChoice ParseSizeOption(const std::string& text);
QualityChoice ParseQualityOption(const std::string& text);

// The size into the settings (preset, and the typed size with it).
void ApplySizeChoice(const SizeChoice& size, OutputSettings& settings);
// The quality into a configured MP4 or MKV output.
void ApplyQualityChoice(const QualityChoice& quality, DeliveryFormat& format);

}  // namespace orlisk
