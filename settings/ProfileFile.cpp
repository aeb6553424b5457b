#include "settings/ProfileFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <exception>
#include <optional>
#include <system_error>

#include "settings/ProfileText.h"
#include "files/SafeFile.h"
#include "files/WholeFile.h"
#include "subtitles/SubtitleTime.h"

namespace orlisk {
namespace fs = std::filesystem;

namespace {

// The file's bytes, or nothing when it is missing, is not a regular file (a
// folder or FIFO in its place), is larger than the cap, or cannot be read:
// the rules then give every key its default.
std::optional<std::string> ReadProfileBytes(const fs::path& file) {
  try {
    return ReadRegularFile(file, kMaxProfileFileBytes);
  } catch (const FileReadError&) {
    return std::nullopt;
  }
}

// Writes the new contents beside the file and renames it over the old one, so
// a failure part-way leaves the old settings whole.
void ReplaceFileContents(const fs::path& file, const std::string& bytes) {
  std::error_code error;
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  fs::create_directories(folder, error);
  if (error) throw ProfileWriteError(file);
  try {
    ReplaceFilesTogether({{file, bytes}});
  } catch (const std::exception&) {
    throw ProfileWriteError(file);
  }
}

}  // namespace

ProfileWriteError::ProfileWriteError(const fs::path& file)
    : std::runtime_error("Unable to write to " + file.string()) {}

std::string ProfileFile::readString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
  const auto bytes = ReadProfileBytes(file_);
  if (!bytes) return defaultValue;
  const auto found = FindProfileValue(*bytes, section, key);
  if (!found) return defaultValue;
  return std::string(found->substr(0, kMaxProfileValue));
}

std::int32_t ProfileFile::readInteger(const std::string& section, const std::string& key,
                                      std::int32_t defaultValue) const {
  std::string text = readString(section, key, "");
  // "0x" counts as a hexadecimal prefix only in front of at least one more character.
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text = "$" + text.substr(2);
  }
  return ParseTimeInteger(text).value_or(defaultValue);
}

bool ProfileFile::readBool(const std::string& section, const std::string& key, bool defaultValue) const {
  return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void ProfileFile::writeString(const std::string& section, const std::string& key,
                              const std::string& value) {
  std::string bytes;
  struct stat info {};
  if (::stat(file_.c_str(), &info) == 0 || errno != ENOENT) {
    // Rewriting a file we cannot read whole (a folder or FIFO in its place,
    // one above the cap) would lose every other setting in it.
    try {
      bytes = ReadRegularFile(file_, kMaxProfileFileBytes);
    } catch (const FileReadError&) {
      throw ProfileWriteError(file_);
    }
  }
  ReplaceFileContents(file_, WithProfileValue(bytes, section, key, value));
}

void ProfileFile::writeInteger(const std::string& section, const std::string& key, std::int32_t value) {
  writeString(section, key, std::to_string(value));
}

void ProfileFile::writeBool(const std::string& section, const std::string& key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

}  // namespace orlisk
