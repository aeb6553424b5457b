#include "WindowTitle.h"

#include <filesystem>

namespace orlisk {

std::string MainWindowTitle(const std::string& applicationTitle, const std::string& subtitlePath,
                            bool unsavedChanges) {
  if (subtitlePath.empty()) return applicationTitle;
  const std::string name = std::filesystem::path(subtitlePath).filename().string();
  return name + (unsavedChanges ? "*" : "") + " - " + applicationTitle;
}

}  // namespace orlisk
