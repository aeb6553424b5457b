#pragma once
// Files for tests: a fresh folder under the system's temporary folder ($TMPDIR
// or /tmp), removed with everything in it when the TempFolder goes; and whole
// files written and read as bytes.
#include <filesystem>
#include <string>

namespace orlisk::testing {

class TempFolder {
 public:
  // The folder is named "orlisk-<purpose>-" and six random characters, so a
  // folder left by a crashed test says where it came from.
  explicit TempFolder(const std::string& purpose = "test");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Writes `bytes` as the whole of `file`, creating its folders.
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
// The whole of `file`; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

}  // namespace orlisk::testing
