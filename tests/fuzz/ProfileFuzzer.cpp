// Fuzz target for the settings file's rules: the input is an ini file, and
// its first bytes pick a section, key and value. Looking up keys must never
// crash; setting a value must make exactly that value readable and leave every
// other key as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/ProfileText.h"
#include "subtitles/SubtitleTime.h"

namespace {

// Names the program writes: letters only, as in the settings file's keys.
constexpr std::string_view kSections[] = {"Output", "Video", "Color", "Update", "SaveDialog1", "AVI", "MPEG", "wmv"};
constexpr std::string_view kKeys[] = {"Path", "wh", "w", "borderColor", "Bool", "InitialDir", "Code", "fram"};

std::string_view Trimmed(std::string_view value) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; };
  while (!value.empty() && blank(value.front())) value.remove_prefix(1);
  while (!value.empty() && blank(value.back())) value.remove_suffix(1);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::string_view section = kSections[data[0] % std::size(kSections)];
  const std::string_view key = kKeys[data[1] % std::size(kKeys)];
  const std::size_t valueLength = std::min<std::size_t>(data[2], size - 3);
  const std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
  std::string value(rest.substr(0, valueLength));
  for (char& c : value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  const std::string_view file = rest.substr(valueLength);

  for (const auto s : kSections) {
    for (const auto k : kKeys) {
      if (const auto found = orlisk::FindProfileValue(file, s, k)) orlisk::ParseTimeInteger(*found);
    }
  }

  const std::string written = orlisk::WithProfileValue(file, section, key, value);
  const auto readBack = orlisk::FindProfileValue(written, section, key);
  if (!readBack || *readBack != Trimmed(value)) std::abort();
  for (const auto s : kSections) {
    for (const auto k : kKeys) {
      if (s == section && k == key) continue;
      if (orlisk::FindProfileValue(file, s, k) != orlisk::FindProfileValue(written, s, k)) std::abort();
    }
  }
  return 0;
}
