#pragma once
// The value a captured subtitle keeps in its Font field: a stable 32-bit
// identity of the subtitle font (FNV-1a over its face and style). Nothing reads
// it back to draw; it only has to stay the same for the same font.
#include <cstdint>
#include <string_view>

#include "burnin/SubtitleFont.h"

namespace orlisk {

inline std::uint32_t FontId(const SubtitleFont& font) {
  std::uint32_t hash = 2166136261u;
  auto mix = [&hash](std::string_view bytes) {
    for (unsigned char b : bytes) {
      hash ^= b;
      hash *= 16777619u;
    }
  };
  auto mixInt = [&mix](std::int64_t v) {
    char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    mix(std::string_view(bytes, 8));
  };
  mix(font.Face);
  mixInt(font.Height);
  mixInt(font.PointSize);
  mixInt((font.Bold ? 1 : 0) | (font.Italic ? 2 : 0) | (font.Underline ? 4 : 0) |
         (font.StrikeOut ? 8 : 0));
  return hash;
}

}  // namespace orlisk
