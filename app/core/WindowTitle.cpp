#include "WindowTitle.h"

#include <filesystem>

namespace orlisk {

std::string MainWindowTitle(const std::string& applicationTitle, const std::string& untitledName,
                            const std::string& subtitlePath, const SubtitleDocument& list) {
  if (subtitlePath.empty()) {
    // Rows without a file are always unsaved work, a new list's as much as a
    // list restored after a crash.
    if (list.rowCount() == 0 || !list.hasUnsavedChanges()) return applicationTitle;
    return untitledName + "* - " + applicationTitle;
  }
  const std::string name = std::filesystem::path(subtitlePath).filename().string();
  return name + (list.hasUnsavedChanges() ? "*" : "") + " - " + applicationTitle;
}

}  // namespace orlisk
