// libFuzzer entry: the first two bytes say where the text file ends and the
// companion begins; the reader must never crash and keep rows and entries paired.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "subtitles/SubRipFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t split = std::min<std::size_t>((data[0] << 8 | data[1]), size - 2);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

  orlisk::SubRipReadContext context;
  context.VideoWidth = 320;
  context.SubtitleY = 200;
  context.TextWidth = [](const std::string& line) { return static_cast<int>(line.size()) * 9; };
  const auto result = orlisk::ReadSubRip(bytes.substr(0, split), bytes.substr(split), context);
  if (result.Rows.size() != result.Entries.size()) std::abort();
  for (const auto& entry : result.Entries) {
    if (entry.Text.size() > orlisk::kMaxEntryTextBytes) std::abort();
  }
  return 0;
}
