// Help pages and the maker's web pages, opened through the desktop; and the
// shipped help itself: every page there, every link and picture found.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "FakeSeams.h"

namespace orlisk::testing {
namespace {

struct HelpLanguage {
  bool chinese;
  const char* folder;
};
constexpr HelpLanguage kLanguages[] = {{false, "en"}, {true, "zh_CN"}};

TEST(Help, EachTopicOpensItsPageInTheInterfaceLanguage) {
  const char* pages[] = {"wirtesubtitle.htm", "faq.htm", "subtitleajoinmovies.htm", "writesubtitletofiles.htm"};
  for (const HelpLanguage& language : kLanguages) {
    for (int topic = 0; topic < 4; ++topic) {
      Rig r;
      r.state.ChineseUI = language.chinese;
      r.controller.ShowHelpTopic(topic);
      const fs::path expected = r.folder.path() / "program" / "help" / language.folder / pages[topic];
      EXPECT_EQ(r.desktop.urls, std::vector<std::string>{expected.string()}) << language.folder << " " << topic;
      EXPECT_TRUE(r.messages.shown.empty());
    }
  }
}

TEST(Help, AnIndexWithoutATopicDoesNothing) {
  for (int topic : {-1, 4, 100, -2147483647 - 1}) {
    Rig r;
    r.controller.ShowHelpTopic(topic);
    EXPECT_TRUE(r.desktop.urls.empty()) << topic;
    EXPECT_TRUE(r.messages.shown.empty()) << topic;
  }
}

TEST(Help, TheHelpFileIsTheContentsPageInTheInterfaceLanguage) {
  for (const HelpLanguage& language : kLanguages) {
    Rig r;
    r.state.ChineseUI = language.chinese;
    r.controller.OpenHelpFile();
    EXPECT_EQ(r.desktop.urls,
              std::vector<std::string>{(r.folder.path() / "program" / "help" / language.folder / "index.html").string()});
  }
}

TEST(Help, OpensEvenWhileWritingOrPlaying) {
  Rig r;
  r.openVideo();
  r.controller.Play();
  r.state.IsWriting = true;
  r.controller.OpenHelpFile();
  r.controller.ShowHelpTopic(2);
  EXPECT_EQ(r.desktop.urls.size(), 2u);
  EXPECT_TRUE(r.messages.shown.empty());
}

TEST(Help, AVideoThatWillNotOpenOffersTheQuestionsPageInTheInterfaceLanguage) {
  for (const HelpLanguage& language : kLanguages) {
    Rig r;
    r.state.ChineseUI = language.chinese;
    r.reader.failOpen = true;
    r.messages.answers = {true};
    r.openVideo("broken.avi");
    EXPECT_EQ(r.desktop.urls,
              std::vector<std::string>{(r.folder.path() / "program" / "help" / language.folder / "faq.htm").string()});
  }
}

TEST(Links, OpenTheMakersPagesUnderTheConfiguredSite) {
  struct Row {
    const char* environment;  // nullptr: not set
    const char* home;
    const char* contact;
  };
  for (Row row : {Row{nullptr, "https://www.veldrane-orlisk.com", "https://www.veldrane-orlisk.com/contact.html"},
                  Row{"", "https://www.veldrane-orlisk.com", "https://www.veldrane-orlisk.com/contact.html"},
                  Row{"http://127.0.0.1:9/", "http://127.0.0.1:9", "http://127.0.0.1:9/contact.html"},
                  Row{"http://127.0.0.1:9/mirror//", "http://127.0.0.1:9/mirror",
                      "http://127.0.0.1:9/mirror/contact.html"}}) {
    Rig r;
    if (row.environment) {
      ::setenv("ORLISK_SITE_URL", row.environment, 1);
    } else {
      ::unsetenv("ORLISK_SITE_URL");
    }
    r.controller.ContactUS1Click();
    r.controller.OurWebSite1Click();
    ::unsetenv("ORLISK_SITE_URL");
    EXPECT_EQ(r.desktop.urls, (std::vector<std::string>{row.contact, row.home}));
  }
}

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The local addresses a page refers to (links, pictures, the stylesheet),
// without their "#fragment"; web addresses and mail links are left out.
std::set<std::string> LocalReferences(const std::string& html) {
  std::set<std::string> found;
  static const std::regex reference(R"re((?:href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
  for (auto it = std::sregex_iterator(html.begin(), html.end(), reference); it != std::sregex_iterator(); ++it) {
    std::string target = (*it)[1].str();
    if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0) continue;
    target = target.substr(0, target.find('#'));
    if (!target.empty()) found.insert(target);
  }
  return found;
}

// The width and height a PNG file declares in its header; nothing for another file.
std::optional<std::pair<int, int>> PngSize(const fs::path& file) {
  const std::string bytes = ReadWhole(file);
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return std::nullopt;
  auto bigEndian = [&bytes](std::size_t at) {
    int value = 0;
    for (std::size_t i = at; i < at + 4; ++i) value = value * 256 + static_cast<unsigned char>(bytes[i]);
    return value;
  };
  return std::pair{bigEndian(16), bigEndian(20)};
}

// Each picture of a page, with the size the page gives it, so that the page
// lays out before the picture arrives and never stretches it.
TEST(ShippedHelp, EveryPictureIsAPngOfTheSizeItsPageGives) {
  static const std::regex image(R"re(<img\s+src="([^"]+)"\s+width="(\d+)"\s+height="(\d+)")re");
  static const std::regex anyImage(R"re(<img\b)re");
  int pictures = 0;
  for (const HelpLanguage& language : kLanguages) {
    const fs::path folder = HelpFolder(fs::path(ORLISK_TEST_DATA_DIR), language.chinese);
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (!entry.is_regular_file()) continue;  // images/
      const std::string html = ReadWhole(entry.path());
      // Every "<" opens a tag that closes: text uses &lt; and &gt;.
      EXPECT_EQ(std::count(html.begin(), html.end(), '<'), std::count(html.begin(), html.end(), '>'))
          << entry.path();
      const auto imgTags =
          std::distance(std::sregex_iterator(html.begin(), html.end(), anyImage), std::sregex_iterator());
      std::size_t matched = 0;
      for (auto it = std::sregex_iterator(html.begin(), html.end(), image); it != std::sregex_iterator(); ++it) {
        ++matched;
        ++pictures;
        const auto size = PngSize(folder / (*it)[1].str());
        ASSERT_TRUE(size) << entry.path() << ": " << (*it)[1];
        EXPECT_EQ(size->first, std::stoi((*it)[2].str())) << entry.path() << ": " << (*it)[1];
        EXPECT_EQ(size->second, std::stoi((*it)[3].str())) << entry.path() << ": " << (*it)[1];
      }
      EXPECT_EQ(static_cast<std::ptrdiff_t>(matched), imgTags)
          << entry.path() << ": an <img> without src, width and height in that order";
    }
  }
  EXPECT_GE(pictures, 10);
}

TEST(ShippedHelp, EveryLanguageHasEveryPageAndEveryReferenceIsThere) {
  const fs::path help = fs::path(ORLISK_TEST_DATA_DIR) / "help";
  for (const HelpLanguage& language : kLanguages) {
    const fs::path folder = HelpFolder(fs::path(ORLISK_TEST_DATA_DIR), language.chinese);
    EXPECT_EQ(folder, help / language.folder);
    std::vector<std::string> pages{std::string(kHelpContentsPage)};
    for (int topic = 0; HelpTopicPage(topic); ++topic) pages.emplace_back(*HelpTopicPage(topic));
    ASSERT_EQ(pages.size(), 5u);
    for (const std::string& page : pages) {
      const fs::path file = folder / page;
      ASSERT_TRUE(fs::is_regular_file(file)) << file;
      const std::string html = ReadWhole(file);
      EXPECT_NE(html.find("charset=\"utf-8\""), std::string::npos) << file;
      EXPECT_EQ(html.find("<script"), std::string::npos) << file;
      EXPECT_NE(html.find(language.chinese ? "lang=\"zh-CN\"" : "lang=\"en\""), std::string::npos) << file;
      const std::set<std::string> references = LocalReferences(html);
      EXPECT_TRUE(references.contains("../help.css")) << file;
      for (const std::string& target : references) {
        EXPECT_TRUE(fs::is_regular_file(folder / target)) << file << " refers to " << target;
      }
    }
  }
}

}  // namespace
}  // namespace orlisk::testing
