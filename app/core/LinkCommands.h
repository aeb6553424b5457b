#pragma once
// Help and links: the help pages in the interface's language and the maker's
// web pages, all opened through the desktop (the user's browser). What the
// desktop makes of an address is not looked at: a page that is missing shows
// whatever the browser shows for it, and nothing of the program's own.
#include <filesystem>
#include <optional>
#include <string_view>

#include "CommandBasics.h"
#include "Seams.h"

namespace orlisk {

// The help pages: help/en beside the program, help/zh_CN for the Chinese
// interface. Each folder holds the contents page and the four topics.
std::filesystem::path HelpFolder(const std::filesystem::path& programFolder, bool chineseUI);
inline constexpr std::string_view kHelpContentsPage = "index.html";
// The page of topic 0..3 ("help1".."help4" on the skin); nothing for any other index.
std::optional<std::string_view> HelpTopicPage(int topic);
inline constexpr int kFaqTopic = 1;

class LinkCommands {
 public:
  struct Context {
    const CommandBasics& Basics;  // the program folder and the interface language
    DesktopShell& Desktop;
  };
  explicit LinkCommands(Context context) : c_(context) {}

  void OpenHelpFile();            // Content1, F1: the contents page
  void ShowHelpTopic(int topic);  // "help1".."help4": topics 0..3; other indexes do nothing
  void OpenContactPage();         // ContactUS1, the About window's "Contact us "
  void OpenWebSite();             // OurWebSite1, the About window's link

 private:
  std::filesystem::path helpFolder() const;

  Context c_;
};

}  // namespace orlisk
