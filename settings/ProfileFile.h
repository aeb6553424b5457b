#pragma once
// An ini file read and written by the Windows profile-file rules: section and
// key names compare without regard to case, a value in a pair of single or
// double quotes loses them, values are cut to 2047 characters, a missing file,
// section or key gives the caller's default. Every read goes to the file at that
// moment; every write goes through to the file before it returns, keeps every
// other line as it was, and creates the file (and its folder) on first write.
// Something other than a regular file in the file's place (a folder, a FIFO),
// or a file above kMaxProfileFileBytes, reads as a missing file and is never
// written over: a write then fails as the system refusing it would.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace orlisk {

// A write the system refused, or a file that cannot be replaced safely (not
// writable by the user, not a regular file). what() is "Unable to write to <file>".
class ProfileWriteError : public std::runtime_error {
 public:
  explicit ProfileWriteError(const std::filesystem::path& file);
};

inline constexpr std::size_t kMaxProfileValue = 2047;

class ProfileFile {
 public:
  ProfileFile() = default;
  explicit ProfileFile(std::filesystem::path file) : file_(std::move(file)) {}

  const std::filesystem::path& path() const { return file_; }

  // Values are returned as the bytes in the file (language files are decoded by their reader).
  std::string readString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // Decimal; "0x"/"0X" (longer than two characters) or "$" introduce hexadecimal.
  // Any other text, an empty value or a missing key gives the default.
  std::int32_t readInteger(const std::string& section, const std::string& key,
                           std::int32_t defaultValue) const;
  // An integer; any non-zero number is true.
  bool readBool(const std::string& section, const std::string& key, bool defaultValue) const;

  void writeString(const std::string& section, const std::string& key, const std::string& value);
  void writeInteger(const std::string& section, const std::string& key, std::int32_t value);
  void writeBool(const std::string& section, const std::string& key, bool value);

 private:
  std::filesystem::path file_;
};

}  // namespace orlisk
