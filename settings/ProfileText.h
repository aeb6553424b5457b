#pragma once
// The Windows profile-file rules over the bytes of an ini file: finding one
// value, and the bytes with one value set. Each is a single pass over the text
// that copies no lines, so a lookup costs little even in a large file.
#include <optional>
#include <string>
#include <string_view>

namespace orlisk {

// The value of `key` in the first section named `section` (names compare
// without regard to case), blanks trimmed and a pair of quotes removed; not
// yet cut to its longest length. nullopt when the section or key is missing.
std::optional<std::string_view> FindProfileValue(std::string_view bytes, std::string_view section,
                                                 std::string_view key);

// `bytes` with `key` of `section` set to `value`: an existing key line keeps
// its name and spacing, a new key goes after the last line of its section, a
// new section at the end of the file. Every other byte stays as it was. Line
// breaks inside the value become spaces, so a value never starts new lines.
std::string WithProfileValue(std::string_view bytes, std::string_view section, std::string_view key,
                             std::string_view value);

}  // namespace orlisk
