#include "MainController.h"

#include <cstdlib>
#include <filesystem>

namespace orlisk {

namespace {
constexpr const char* kDefaultSiteUrl = "https://www.veldrane-orlisk.com";
}  // namespace

std::string SiteUrl() {
  const char* overridden = std::getenv("ORLISK_SITE_URL");
  std::string url = (overridden != nullptr && *overridden != '\0') ? overridden : kDefaultSiteUrl;
  // Paths are appended with their own "/".
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

MainController::MainController(MainContext context) : c_(std::move(context)) {
  c_.Audio.setMoreAudioRequested([this] { FeedAudio(); });
}

void MainController::ShowInformation(const std::string& key, const std::string& englishDefault) {
  c_.Messages.information(c_.Lang.MessageText(key, englishDefault));
}

bool MainController::RefuseWhileWriting() {
  if (!c_.State.IsWriting) return false;
  ShowInformation("OpenVideoFiles", "The subtitles are written to the video. please first stop writing.");
  return true;
}

SubtitleTime MainController::ParseSubtitleTime(const std::string& text) {
  if (auto ms = ParseSubtitleTimeFields(text)) return *ms;
  ShowInformation("StrTimetoint", "Subtitle time errors");
  return 0;
}

std::string MainController::DialogFolder(const std::string& section) const {
  return c_.Settings.readString(section, "InitialDir", c_.Paths.HomeFolder.string());
}

void MainController::RememberDialogFolder(const std::string& section, const std::string& chosenPath) {
  std::filesystem::path folder = std::filesystem::path(chosenPath).parent_path();
  std::string text = folder.string();
  // "/" alone stays: it is the root, not a trailing separator.
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  c_.Settings.writeString(section, "InitialDir", text);
}

bool MainController::FormCloseQuery() {
  MainState& s = c_.State;
  bool canClose = true;
  if (s.IsWriting &&
      !c_.Messages.informationQuestion(
          c_.Lang.MessageText("FormCloseQuery", "Close will stop writing, it closed?"))) {
    canClose = false;
  } else {
    // The write job's loop sees IsWriting cleared, closes its writer and ends
    // without touching the reader again.
    s.IsWriting = false;
    if (s.IsPlaying) StopPlayback();
    if (!s.VideoPath.empty()) c_.Reader.CloseSource();
  }
  c_.Settings.writeBool("Update", "Bool", s.AutoUpdateCheck);
  return canClose;
}

}  // namespace orlisk
