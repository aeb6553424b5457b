#include "SubtitleEncodings.h"

namespace orlisk {
namespace {

constexpr const char* kSection = "Encodings";

// Where a common set has a larger twin that reads the same bytes and more,
// the twin is named (UHC for EUC-KR, CP932 for Shift_JIS), as the detection
// names it.
constexpr SubtitleEncoding kEncodings[] = {
    {"", "Automatic"},
    {"UTF-8", "Unicode (UTF-8)"},
    {"WINDOWS-1250", "Central European (Windows-1250)"},
    {"ISO-8859-2", "Central European (ISO-8859-2)"},
    {"WINDOWS-1251", "Cyrillic (Windows-1251)"},
    {"KOI8-R", "Cyrillic (KOI8-R)"},
    {"KOI8-U", "Ukrainian (KOI8-U)"},
    {"ISO-8859-5", "Cyrillic (ISO-8859-5)"},
    {"WINDOWS-1252", "Western (Windows-1252)"},
    {"ISO-8859-15", "Western (ISO-8859-15)"},
    {"WINDOWS-1253", "Greek (Windows-1253)"},
    {"ISO-8859-7", "Greek (ISO-8859-7)"},
    {"WINDOWS-1254", "Turkish (Windows-1254)"},
    {"WINDOWS-1255", "Hebrew (Windows-1255)"},
    {"WINDOWS-1256", "Arabic (Windows-1256)"},
    {"WINDOWS-1257", "Baltic (Windows-1257)"},
    {"WINDOWS-1258", "Vietnamese (Windows-1258)"},
    {"WINDOWS-874", "Thai (Windows-874)"},
    {"GB18030", "Chinese Simplified (GB18030)"},
    {"BIG5", "Chinese Traditional (Big5)"},
    {"CP932", "Japanese (Shift_JIS)"},
    {"EUC-JP", "Japanese (EUC-JP)"},
    {"UHC", "Korean (EUC-KR)"},
};

}  // namespace

std::span<const SubtitleEncoding> SubtitleEncodings() { return kEncodings; }

EncodingList SubtitleEncodingList(const Language& lang, std::string_view chosenCharset) {
  EncodingList list{.Label = lang.text(kSection, "Label", "Encoding:"), .Names = {}, .Chosen = 0};
  for (const SubtitleEncoding& encoding : kEncodings) {
    const std::string key = *encoding.Charset ? encoding.Charset : "Automatic";
    if (!chosenCharset.empty() && chosenCharset == encoding.Charset) list.Chosen = static_cast<int>(list.Names.size());
    list.Names.push_back(lang.text(kSection, key, encoding.EnglishName));
  }
  return list;
}

std::string SubtitleEncodingCharset(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kEncodings))) return {};
  return kEncodings[index].Charset;
}

}  // namespace orlisk
