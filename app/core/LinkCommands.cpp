#include "LinkCommands.h"

#include <array>

namespace orlisk {

namespace {
// File names as the skin's topics have always been called, spelling included.
constexpr std::array<std::string_view, 4> kTopicPages = {
    "wirtesubtitle.htm",
    "faq.htm",
    "subtitleajoinmovies.htm",
    "writesubtitletofiles.htm",
};
}  // namespace

std::filesystem::path HelpFolder(const std::filesystem::path& programFolder, bool chineseUI) {
  return programFolder / "help" / (chineseUI ? "zh_CN" : "en");
}

std::optional<std::string_view> HelpTopicPage(int topic) {
  if (topic < 0 || topic >= static_cast<int>(kTopicPages.size())) return std::nullopt;
  return kTopicPages[static_cast<std::size_t>(topic)];
}

std::filesystem::path LinkCommands::helpFolder() const {
  return HelpFolder(c_.Basics.Paths.ProgramFolder, c_.Basics.State.ChineseUI);
}

void LinkCommands::OpenHelpFile() { c_.Desktop.openUrl((helpFolder() / kHelpContentsPage).string()); }

void LinkCommands::ShowHelpTopic(int topic) {
  if (auto page = HelpTopicPage(topic)) c_.Desktop.openUrl((helpFolder() / *page).string());
}

void LinkCommands::OpenContactPage() { c_.Desktop.openUrl(SiteUrl() + "/contact.html"); }

void LinkCommands::OpenWebSite() { c_.Desktop.openUrl(SiteUrl()); }

}  // namespace orlisk
