// Fuzz target for the subtitle reader: the first two bytes say where the text
// file ends and the companion begins. The text is decoded as a file would be;
// the reader must never crash, must keep rows and entries paired, and a list
// it read must read back the same after saving it.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "subtitles/SubRipFile.h"
#include "subtitles/TextEncoding.h"

namespace {

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t split = std::min<std::size_t>((data[0] << 8 | data[1]), size - 2);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
  const auto page = (data[1] & 1) ? orlisk::LegacyCodePage::Gb18030 : orlisk::LegacyCodePage::Windows1252;
  const std::string text = orlisk::DecodeSubtitleText(bytes.substr(0, split), page).Text;
  if (!IsUtf8(text)) std::abort();

  orlisk::SubRipReadContext context;
  context.Placement.Y = 200;
  const auto result = orlisk::ReadSubRip(text, bytes.substr(split), context);
  if (result.Rows.size() != result.Entries.size()) std::abort();
  for (const auto& entry : result.Entries) {
    if (entry.Text.size() > orlisk::kMaxEntryTextBytes) std::abort();
  }

  // Saved and read again, the list keeps its rows, and its own companion is never stale. (A text of
  // more than four lines, which a file from elsewhere may have, is read back as four by this program's
  // own rules, and a fifth line that is a number can start a block of its own.)
  const std::string saved = orlisk::WriteSubRipText(result.Rows);
  const auto again = orlisk::ReadSubRip(
      saved, orlisk::WriteCompanion(result.Entries, static_cast<int>(result.Entries.size()), orlisk::PairCheck(saved)),
      context);
  const bool longText = std::any_of(result.Rows.begin(), result.Rows.end(), [](const orlisk::SubtitleRow& row) {
    return std::count(row.Subtitle.begin(), row.Subtitle.end(), '\n') >= 4;
  });
  if (again.StaleCompanion || (!longText && again.Rows.size() > result.Rows.size())) std::abort();
  return 0;
}
