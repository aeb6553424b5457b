#include "CommandBasics.h"

#include <exception>
#include <filesystem>

namespace orlisk {

void CommandBasics::ShowInformation(const std::string& key, const std::string& englishDefault) const {
  Messages.information(Lang.MessageText(key, englishDefault));
}

bool CommandBasics::RefuseWhileWriting() const {
  if (!State.IsWriting) return false;
  ShowInformation("OpenVideoFiles", "The subtitles are written to the video. please first stop writing.");
  return true;
}

SubtitleTime CommandBasics::ParseSubtitleTime(const std::string& text) const {
  if (auto ms = ParseSubtitleTimeFields(text)) return *ms;
  ShowInformation("StrTimetoint", "Subtitle time errors");
  return 0;
}

std::string CommandBasics::DialogFolder(const std::string& section) const {
  return Settings.readString(section, "InitialDir", Paths.HomeFolder.string());
}

void CommandBasics::RememberDialogFolder(const std::string& section, const std::string& chosenPath) const {
  std::filesystem::path folder = std::filesystem::path(chosenPath).parent_path();
  std::string text = folder.string();
  // "/" alone stays: it is the root, not a trailing separator.
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  try {
    Settings.writeString(section, "InitialDir", text);
  } catch (const std::exception&) {
  }
}

}  // namespace orlisk
