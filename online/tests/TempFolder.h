#pragma once
// A temporary folder, removed with its contents at the end of the test.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace orlisk::testing {

struct TempFolder {
  std::filesystem::path path;
  TempFolder() {
    std::random_device random;
    path = std::filesystem::temp_directory_path() /
           ("orlisk-online-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::filesystem::path write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};

}  // namespace orlisk::testing
