#include "OutputNaming.h"

#include <filesystem>

namespace orlisk {
namespace {

namespace fs = std::filesystem;

bool SamePath(const std::string& a, const std::string& b) {
  return fs::path(a).lexically_normal() == fs::path(b).lexically_normal();
}

}  // namespace

std::string WithTrailingSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string OutputBaseName(const std::string& videoPath, const std::string& extension) {
  return fs::path(videoPath).filename().replace_extension(extension).string();
}

std::string ChooseOutputPath(const std::string& outputFolder, const std::string& videoPath,
                             const std::string& extension, const std::function<bool(const std::string&)>& exists) {
  const std::string folder = WithTrailingSlash(outputFolder);
  const std::string base = OutputBaseName(videoPath, extension);
  // The source is taken even if it vanished meanwhile: its path stays its own.
  const auto taken = [&](const std::string& candidate) { return exists(candidate) || SamePath(candidate, videoPath); };
  std::string candidate = folder + base;
  for (long long n = 1; taken(candidate); ++n) {
    candidate = folder + "New_" + std::to_string(n) + base;
  }
  return candidate;
}

std::string ChooseOutputPath(const std::string& outputFolder, const std::string& videoPath,
                             const std::string& extension) {
  return ChooseOutputPath(outputFolder, videoPath, extension, [](const std::string& path) {
    std::error_code error;
    // symlink_status: a dangling link is still a name that is in use.
    return fs::exists(fs::symlink_status(path, error));
  });
}

OutputTarget FreeOutputTarget(const std::string& outputFolder, const std::string& videoPath,
                              const std::string& extension) {
  const auto choose = [=] { return ChooseOutputPath(outputFolder, videoPath, extension); };
  return {.Path = choose(), .ReplaceFile = false, .NextFreeName = choose};
}

}  // namespace orlisk
