#pragma once
// The encodings a user can read a subtitle file in: the open dialog's choice
// beside the file name and "Reopen with encoding...". "Automatic" comes first
// (the code page detected from the file), then the common ones by script.
#include <span>
#include <string>
#include <string_view>

#include "Seams.h"
#include "app/language/Language.h"

namespace orlisk {

struct SubtitleEncoding {
  const char* Charset;      // the iconv name; empty for "Automatic"
  const char* EnglishName;  // its name in the list, key Charset (or "Automatic") of section "Encodings"
};

std::span<const SubtitleEncoding> SubtitleEncodings();

// The list as the dialogs show it, in the interface's language, with
// `chosenCharset` chosen ("Automatic" for one not in the list).
EncodingList SubtitleEncodingList(const Language& lang, std::string_view chosenCharset = {});

// The iconv name of the list's entry `index`; empty for "Automatic" and for
// an index outside the list.
std::string SubtitleEncodingCharset(int index);

}  // namespace orlisk
