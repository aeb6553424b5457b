#pragma once
// Which code page a text in an older 8-bit or double-byte character set was
// written in, guessed from its bytes by uchardet (statistics of letters and
// letter pairs for each language and code page it knows).
#include <optional>
#include <string>
#include <string_view>

namespace orlisk {

// The iconv name of the character set the bytes (their first 32 KB) most
// likely are in ("WINDOWS-1251", "GB18030"), or nothing when the detector
// names none. A set that only ever appears as a part of a larger one is
// widened to that one, as web browsers do (ISO-8859-1 to WINDOWS-1252, GB2312
// to GB18030, SHIFT_JIS to CP932, ...), so that bytes the larger set adds
// ("œ", "€", rarer Chinese characters) read as its characters rather than as
// controls or refusals. A guess from a few bytes is often wrong;
// DecodeSubtitleText decides how much to trust it.
std::optional<std::string> DetectCodePage(std::string_view bytes);

}  // namespace orlisk
