#include "subtitles/CodePageDetection.h"

#include <uchardet/uchardet.h>

#include <array>
#include <memory>
#include <type_traits>
#include <utility>

namespace orlisk {
namespace {

struct DetectorDeleter {
  void operator()(uchardet_t detector) const { uchardet_delete(detector); }
};
using Detector = std::unique_ptr<std::remove_pointer_t<uchardet_t>, DetectorDeleter>;

// The detector's names whose bytes a larger, common set reads the same, and
// reads further: where the smaller set has controls or gaps, the larger one
// has the letters and signs files in the wild use.
constexpr std::array<std::pair<std::string_view, const char*>, 8> kWidened = {{
    {"ISO-8859-1", "WINDOWS-1252"},
    {"ISO-8859-9", "WINDOWS-1254"},
    {"ISO-8859-11", "WINDOWS-874"},
    {"TIS-620", "WINDOWS-874"},
    {"GB2312", "GB18030"},
    {"GBK", "GB18030"},
    {"EUC-KR", "UHC"},
    {"SHIFT_JIS", "CP932"},
}};

// The statistics settle long before this much text (a few hundred cues);
// reading further would only cost time: the detector's models for every
// 8-bit code page take about 0.25 ms per kilobyte.
constexpr std::size_t kSampleBytes = 32 * 1024;

}  // namespace

std::optional<std::string> DetectCodePage(std::string_view bytes) {
  const Detector detector(uchardet_new());
  const std::string_view sample = bytes.substr(0, kSampleBytes);
  if (!detector || uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) return std::nullopt;
  uchardet_data_end(detector.get());
  const char* found = uchardet_get_charset(detector.get());
  if (found == nullptr || *found == '\0') return std::nullopt;
  const std::string_view name(found);
  for (const auto& [narrow, wide] : kWidened) {
    if (name == narrow) return std::string(wide);
  }
  return std::string(name);
}

}  // namespace orlisk
