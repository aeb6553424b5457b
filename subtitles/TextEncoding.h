#pragma once
// Text inside the program is UTF-8. Files and language files arrive as bytes in
// the locale's character set, or in an older 8-bit one. The plain C locale
// (7-bit ASCII) counts as UTF-8, so no text is lost where no locale is set up.
#include <cstddef>
#include <string>
#include <string_view>

namespace orlisk {

// Which legacy code page a file that is not valid in the locale's character set
// is read in: Windows-1252, or GB18030 (superset of code page 936) while the
// Chinese interface is active.
enum class LegacyCodePage { Windows1252, Gb18030 };

// Bytes from a file to UTF-8. A UTF-16 or UTF-32 byte-order mark says how the
// rest is encoded; a UTF-8 one is skipped. Otherwise valid UTF-8 stays as it
// is, bytes valid in the locale's character set are converted from it, UTF-8
// with a few bytes that are not keeps its UTF-8 and reads only those bytes in
// the legacy code page, and anything else is read in the legacy code page.
// Never fails.
std::string DecodeText(std::string_view bytes, LegacyCodePage fallback);

// UTF-8 to the locale's character set, for writing files. Characters the
// locale's set cannot hold become "?".
std::string EncodeText(std::string_view utf8);

// Converts bytes from a named character set (iconv name, e.g. "GBK") to UTF-8.
// A byte the set does not allow becomes U+FFFD; an unknown set throws
// std::runtime_error.
std::string ConvertToUtf8(std::string_view bytes, const char* fromCharset);

// UTF-8 to a named character set; characters the set cannot hold become "?".
std::string ConvertFromUtf8(std::string_view utf8, const char* toCharset);

// The first `maxBytes` bytes of a UTF-8 text, never splitting a character.
std::string CutUtf8(std::string_view utf8, std::size_t maxBytes);

}  // namespace orlisk
