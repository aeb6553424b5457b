#pragma once
// The language file chosen at start, and every lookup of a text in it.
// Lookups read the file at that moment; a missing file, section or key gives
// the English default.
#include <string>

#include "settings/ProfileFile.h"

namespace orlisk {

// System language identifiers, derived from the locale.
inline constexpr int kLangChineseSimplified = 2052;
inline constexpr int kLangChineseTaiwan = 1028;
inline constexpr int kLangChineseHongKong = 3076;
inline constexpr int kLangEnglishUs = 1033;

// LC_ALL, then LC_MESSAGES, then LANG: zh_CN and zh_SG give 2052, zh_TW 1028,
// zh_HK 3076, anything else 1033.
int SystemDefaultLanguageId();
int LanguageIdForLocale(const std::string& localeName);

class Language {
 public:
  Language() = default;  // before LoadLanguage: English defaults everywhere
  // Chooses the pair by the language id: only 2052 selects Chinese.
  Language(const std::string& programFolder, int languageId);

  bool chinese() const { return chinese_; }
  const std::string& skinFilePath() const { return skinFilePath_; }

  // Section "messagedlg", UTF-8.
  std::string MessageText(const std::string& key, const std::string& englishDefault) const;
  // Any section (captions, hints), UTF-8.
  std::string text(const std::string& section, const std::string& key,
                   const std::string& englishDefault) const;

 private:
  bool chinese_ = false;
  bool loaded_ = false;
  std::string skinFilePath_;
  ProfileFile file_;
};

}  // namespace orlisk
