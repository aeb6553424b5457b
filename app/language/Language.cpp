#include "app/language/Language.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "subtitles/TextEncoding.h"

namespace orlisk {

namespace {

// Values are one line, so no value read from a file can equal this.
const std::string kMissing = "\n";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

int LanguageIdForLocale(const std::string& localeName) {
  // "zh_CN.UTF-8@variant": the language and territory come before '.' and '@'.
  const std::string name = Lower(localeName.substr(0, localeName.find_first_of(".@")));
  if (name == "zh_cn" || name == "zh-cn" || name == "zh_sg" || name == "zh-sg") return kLangChineseSimplified;
  if (name == "zh_tw" || name == "zh-tw") return kLangChineseTaiwan;
  if (name == "zh_hk" || name == "zh-hk") return kLangChineseHongKong;
  return kLangEnglishUs;
}

int SystemDefaultLanguageId() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return LanguageIdForLocale(value);
  }
  return kLangEnglishUs;
}

Language::Language(const std::string& programFolder, int languageId)
    : chinese_(languageId == kLangChineseSimplified), loaded_(true) {
  const std::filesystem::path folder(programFolder);
  skinFilePath_ = (folder / (chinese_ ? "skncn.skn" : "skn.skn")).string();
  file_ = ProfileFile(folder / (chinese_ ? "languageCN.ini" : "languageEn.ini"));
}

std::string Language::MessageText(const std::string& key, const std::string& englishDefault) const {
  return text("messagedlg", key, englishDefault);
}

std::string Language::text(const std::string& section, const std::string& key,
                           const std::string& englishDefault) const {
  if (!loaded_) return englishDefault;
  // Read at every call: an edit of the file shows in the next message.
  const std::string bytes = file_.readString(section, key, kMissing);
  if (bytes == kMissing) return englishDefault;
  return DecodeText(bytes, chinese_ ? LegacyCodePage::Gb18030 : LegacyCodePage::Windows1252);
}

}  // namespace orlisk
