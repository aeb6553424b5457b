// Fuzz target for the skin file parser: any text either parses into a skin
// with exactly one form object or is refused with a SkinError; nothing else
// may happen.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/skin/SkinFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    orlisk::SkinDocument document = orlisk::ParseSkin(text, QStringLiteral("fuzz.skn"));
    int forms = 0;
    for (const auto& object : document.objects) forms += object.kind == orlisk::SkinKind::Form ? 1 : 0;
    if (forms != 1) std::abort();
  } catch (const orlisk::SkinError&) {
  }
  return 0;
}
