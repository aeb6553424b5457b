#include "SubtitleImport.h"

#include <cctype>
#include <cmath>
#include <string>

namespace orlisk {

SubtitleFileFormat SubtitleFileFormatOf(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".vtt") return SubtitleFileFormat::WebVtt;
  if (extension == ".ass" || extension == ".ssa") return SubtitleFileFormat::Ass;
  return SubtitleFileFormat::SubRip;
}

int TextBlockHeight(int lines, const SubtitleFont& font) {
  // Arial's cell (ascent and descent) and line spacing per pixel of character size.
  constexpr double kLineSpacingPerEm = 2355.0 / 2048.0;
  const double em = font.Height < 0 ? -font.Height : font.Height / kMetricTwinCellPerEm;
  return static_cast<int>(std::lround(em * (kMetricTwinCellPerEm + (std::max(lines, 1) - 1) * kLineSpacingPerEm)));
}

}  // namespace orlisk
