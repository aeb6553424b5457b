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

// Text read from a file, with the character set it was read in (an iconv
// name: "UTF-8", "UTF-16LE", "WINDOWS-1251", "GB18030", the locale's set).
struct DecodedText {
  std::string Text;
  std::string Charset;
};

// How much text the detection of a code page needs, in bytes above 0x7F.
// Below kBytesToDetect it guesses too often (one accented letter of French
// comes out as Vietnamese, one word of Arabic as Greek). Below
// kBytesToOutweighGb18030, text that is valid GB18030 stays GB18030 under the
// Chinese interface: a few Chinese characters are often taken for Greek.
inline constexpr std::size_t kBytesToDetect = 8;
inline constexpr std::size_t kBytesToOutweighGb18030 = 20;

// The bytes of a subtitle file, which may come from anywhere, to UTF-8. A
// byte-order mark always says the encoding. Otherwise, with `chosenCharset`
// empty (automatic), as DecodeText, except that bytes that are neither UTF-8
// (nor UTF-8 with a few stray bytes) nor valid in the locale's character set
// are read in the code page DetectCodePage finds, and in `fallback` only where
// that detection is unsure: it names no set, or one iconv cannot convert, or
// one the bytes are not valid in, or it had too little text to go by (above).
// With `chosenCharset` (an iconv name) the bytes are read in
// that set, each byte it refuses becoming U+FFFD; a set iconv does not know
// throws std::runtime_error.
DecodedText DecodeSubtitleText(std::string_view bytes, LegacyCodePage fallback, std::string_view chosenCharset = {});

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
