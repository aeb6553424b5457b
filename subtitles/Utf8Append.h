#pragma once
// Writing one code point as UTF-8, for the text decoders.
#include <string>

namespace orlisk {

// Appends the UTF-8 bytes of the code point `c` (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace orlisk
