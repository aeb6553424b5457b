#include "app/language/Language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/stat.h>

#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;
using testing::WriteBytes;

// Sets the locale variables for one test and puts them back afterwards.
class LocaleVariables {
 public:
  LocaleVariables() {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  ~LocaleVariables() {
    for (std::size_t i = 0; i < saved_.size(); ++i) set(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
  }
  static void set(const char* name, const char* value) {
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }

 private:
  static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::vector<std::optional<std::string>> saved_;
};

TEST(LanguageId, FromLocaleName) {
  const std::pair<const char*, int> rows[] = {
      {"zh_CN.UTF-8", 2052}, {"zh_CN", 2052},      {"zh_CN.GB18030", 2052}, {"zh_SG.UTF-8", 2052},
      {"zh_CN@stroke", 2052}, {"zh_TW.Big5", 1028}, {"zh_HK.UTF-8", 3076},   {"zh", 1033},
      {"zh_MO.UTF-8", 1033}, {"en_US.UTF-8", 1033}, {"C", 1033},            {"POSIX", 1033},
      {"", 1033},             {"de_DE", 1033}};
  for (const auto& [name, id] : rows) EXPECT_EQ(LanguageIdForLocale(name), id) << name;
}

TEST(LanguageId, FirstNonEmptyVariableDecides) {
  LocaleVariables restore;
  struct Row {
    const char *all, *messages, *lang;
    int id;
  };
  const Row rows[] = {
      {nullptr, nullptr, nullptr, 1033},
      {nullptr, nullptr, "zh_CN.UTF-8", 2052},
      {"", "", "zh_CN.UTF-8", 2052},  // empty variables are skipped
      {"", "zh_TW.UTF-8", "zh_CN.UTF-8", 1028},
      {"en_GB.UTF-8", "zh_CN.UTF-8", "zh_CN.UTF-8", 1033},
      {"zh_HK.UTF-8", nullptr, "en_US.UTF-8", 3076},
  };
  for (const Row& row : rows) {
    LocaleVariables::set("LC_ALL", row.all);
    LocaleVariables::set("LC_MESSAGES", row.messages);
    LocaleVariables::set("LANG", row.lang);
    EXPECT_EQ(SystemDefaultLanguageId(), row.id) << (row.lang ? row.lang : "-");
  }
}

class LanguageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(folder_ / "languageEn.ini", "[messagedlg]\nStrTimetoint=English file\n");
    // "字幕时间" in code page 936.
    WriteBytes(folder_ / "languageCN.ini", "[messagedlg]\r\nStrTimetoint=\xD7\xD6\xC4\xBB\xCA\xB1\xBC\xE4\r\n");
  }
  testing::TempFolder folder_{"language"};
};

TEST_F(LanguageFileTest, OnlySimplifiedChineseChoosesTheChinesePair) {
  const std::string folder = folder_.path().string();
  const std::tuple<int, bool, const char*, const char*> rows[] = {
      {2052, true, "skncn.skn", "字幕时间"},
      {1028, false, "skn.skn", "English file"},
      {3076, false, "skn.skn", "English file"},
      {1033, false, "skn.skn", "English file"},
      {0, false, "skn.skn", "English file"}};
  for (const auto& [id, chinese, skin, message] : rows) {
    const Language language(folder, id);
    EXPECT_EQ(language.chinese(), chinese) << id;
    EXPECT_EQ(language.skinFilePath(), (folder_.path() / skin).string()) << id;
    EXPECT_EQ(language.MessageText("StrTimetoint", "Subtitle time errors"), message) << id;
  }
}

TEST_F(LanguageFileTest, MissingFileSectionOrKeyGivesTheEnglishDefault) {
  const Language nowhere((folder_.path() / "absent").string(), kLangEnglishUs);
  EXPECT_EQ(nowhere.MessageText("StrTimetoint", "Subtitle time errors"), "Subtitle time errors");
  EXPECT_EQ(nowhere.text("About", "Caption", "About"), "About");

  const Language english(folder_.path().string(), kLangEnglishUs);
  EXPECT_EQ(english.MessageText("OpenFile1Click", "please first add video file"), "please first add video file");
  EXPECT_EQ(english.text("LV", "Caption", "No"), "No");

  const Language beforeLoading;
  EXPECT_FALSE(beforeLoading.chinese());
  EXPECT_EQ(beforeLoading.MessageText("StrTimetoint", "Subtitle time errors"), "Subtitle time errors");
}

TEST_F(LanguageFileTest, SectionNamesIgnoreCase) {
  WriteBytes(folder_ / "languageEn.ini",
                "[MESSAGEDLG]\nStopWriteSubtovideo=Stop now?\nformclosequery=Close?\n[hint]\nCB_PRSUB=tick\n");
  const Language language(folder_.path().string(), kLangEnglishUs);
  EXPECT_EQ(language.MessageText("StopWriteSubtovideo", "default"), "Stop now?");
  EXPECT_EQ(language.text("MessageDlg", "StopWriteSubtovideo", "default"), "Stop now?");
  EXPECT_EQ(language.MessageText("FormCloseQuery", "default"), "Close?");
  EXPECT_EQ(language.text("Hint", "cb_prsub", "default"), "tick");
}

TEST_F(LanguageFileTest, EveryLookupReadsTheFileAgain) {
  const Language language(folder_.path().string(), kLangEnglishUs);
  EXPECT_EQ(language.MessageText("StrTimetoint", "default"), "English file");
  WriteBytes(folder_ / "languageEn.ini", "[messagedlg]\nStrTimetoint=Edited\n");
  EXPECT_EQ(language.MessageText("StrTimetoint", "default"), "Edited");
  fs::remove(folder_.path() / "languageEn.ini");
  EXPECT_EQ(language.MessageText("StrTimetoint", "default"), "default");
}

TEST_F(LanguageFileTest, EmptyValueIsShownAsEmpty) {
  WriteBytes(folder_ / "languageEn.ini", "[About]\nCaption=\n");
  EXPECT_EQ(Language(folder_.path().string(), kLangEnglishUs).text("About", "Caption", "About"), "");
}

TEST_F(LanguageFileTest, EnglishFileInWindows1252IsDecoded) {
  WriteBytes(folder_ / "languageEn.ini", "[messagedlg]\nStrTimetoint=Caf\xE9 time\n");
  EXPECT_EQ(Language(folder_.path().string(), kLangEnglishUs).MessageText("StrTimetoint", "x"), "Café time");
}

// A pipe, a device or a huge file in the language file's place: every text
// is its English default at once, and the start goes on.
TEST_F(LanguageFileTest, ASpecialOrHugeLanguageFileGivesTheEnglishDefaultsAtOnce) {
  const fs::path file = folder_.path() / "languageEn.ini";
  const std::vector<std::pair<const char*, std::function<void()>>> rows = {
      {"fifo", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }},
      {"link to /dev/zero", [&] { fs::create_symlink("/dev/zero", file); }},
      {"folder", [&] { fs::create_directory(file); }},
      {"huge", [&] {
         WriteBytes(file, "[messagedlg]\nStrTimetoint=Huge\n");
         fs::resize_file(file, 64ull << 20);
       }}};
  for (const auto& [name, make] : rows) {
    fs::remove_all(file);
    make();
    const Language language(folder_.path().string(), kLangEnglishUs);
    EXPECT_EQ(language.MessageText("StrTimetoint", "Subtitle time errors"), "Subtitle time errors") << name;
  }
}

}  // namespace
}  // namespace orlisk
