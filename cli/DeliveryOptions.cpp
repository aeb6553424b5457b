#include "DeliveryOptions.h"

#include <cctype>
#include <charconv>

#include "BurnOptions.h"

namespace orlisk {
namespace {

// A whole decimal number and nothing else; nullopt for anything else.
std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::string LowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

constexpr int kLargestSide = 8192;

}  // namespace

SizeChoice ParseSizeOption(const std::string& text) {
  const std::string name = LowerCase(text);
  for (std::size_t i = 0; i < kSizePresets.size(); ++i) {
    if (static_cast<int>(i) != kSizePresetTyped && name == kSizePresets[i].Name) return {static_cast<int>(i)};
  }
  const std::size_t x = name.find('x');
  if (x != std::string::npos) {
    const std::optional<int> width = WholeNumber(std::string_view(name).substr(0, x));
    const std::optional<int> height = WholeNumber(std::string_view(name).substr(x + 1));
    if (width && height && *width >= 16 && *height >= 16 && *width <= kLargestSide && *height <= kLargestSide) {
      return {kSizePresetTyped, *width, *height};
    }
  }
  throw UsageError("unknown size \"" + text +
                   "\" (source, 1080p, 720p, 480p, vertical, square, or WIDTHxHEIGHT from 16x16 to 8192x8192)");
}

QualityChoice ParseQualityOption(const std::string& text) {
  const std::string name = LowerCase(text);
  for (const QualityStep& step : kQualitySteps) {
    if (name == LowerCase(step.Name)) return {step.Crf, 0};
  }
  if (name.size() > 1 && name.back() == 'k') {
    const std::optional<int> kbps = WholeNumber(std::string_view(name).substr(0, name.size() - 1));
    if (kbps && *kbps >= 100 && *kbps <= 100000) return {0, *kbps};
  } else if (const std::optional<int> crf = WholeNumber(name); crf && *crf >= 0 && *crf <= 51) {
    return {*crf, 0};
  }
  throw UsageError("unknown quality \"" + text +
                   "\" (high, good, standard, small, smallest, a number 0..51, or a bit rate from 100k to 100000k)");
}

void ApplySizeChoice(const SizeChoice& size, OutputSettings& settings) {
  settings.SizePreset = size.Preset;
  if (size.Preset == kSizePresetTyped) {
    settings.CustomWidth = size.Width;
    settings.CustomHeight = size.Height;
  }
}

void ApplyQualityChoice(const QualityChoice& quality, DeliveryFormat& format) {
  format.Crf = quality.Crf;
  format.VideoBitRateKbps = quality.BitRateKbps;
}

}  // namespace orlisk
