// Subtitle files in the code pages people have, read back as the text they
// were written with: the code page detected, the interface's only where the
// detection is unsure, or the one the user chose.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "subtitles/TextEncoding.h"

namespace orlisk {
namespace {

// Three cues of SubRip text, numbered from 1 as files from elsewhere are.
std::string Cues(std::initializer_list<const char*> lines) {
  std::string text;
  int number = 0;
  for (const char* line : lines) {
    ++number;
    text += std::to_string(number) + "\r\n00:00:0" + std::to_string(number) + ",000 --> 00:00:0" +
            std::to_string(number) + ",500\r\n" + line + "\r\n\r\n";
  }
  return text;
}

const std::string kRussian = Cues({"Горшок, где ты был?", "Я не знаю, что сказать.", "Пойдём домой, уже поздно."});
const std::string kArabic = Cues({"مرحبا، كيف حالك؟", "أنا بخير، شكرا لك.", "إلى أين نذهب الليلة؟"});
const std::string kCroatian =
    Cues({"Đino, dođavola.", "Što radiš ovdje? Čekam te već satima.", "Ćuti i slušaj, molim te."});
const std::string kChinese = Cues({"你好，你今天怎么样？", "我们明天去北京吧。", "这是一个很好的问题。"});
const std::string kFrench = Cues({"Où est la bibliothèque, s'il vous plaît ?", "C'est déjà l'été, ma sœur.",
                                  "Les éléphants ne reçoivent pas de lettres."});
const std::string kOneRussianWord = Cues({"Привет"});
const std::string kOneChineseWord = Cues({"你好"});

class CodePageTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr); }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

struct FileCase {
  const char* name;
  std::string utf8;            // the text the file was written with
  const char* writtenIn;       // its code page (iconv name), or "UTF-16LE+BOM"
  LegacyCodePage interface;    // the interface's code page
  const char* readIn;          // the set the reader should name
  std::string expected;        // the text read; empty: the text written
};

std::string FileBytes(const FileCase& c) {
  if (std::string(c.writtenIn) == "UTF-16LE+BOM") return "\xFF\xFE" + ConvertFromUtf8(c.utf8, "UTF-16LE");
  return ConvertFromUtf8(c.utf8, c.writtenIn);
}

class DetectedCodePageTest : public CodePageTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(DetectedCodePageTest, ReadsTheTextWritten) {
  const FileCase& c = GetParam();
  const std::string bytes = FileBytes(c);
  ASSERT_EQ(std::count(bytes.begin(), bytes.end(), '?'), std::count(c.utf8.begin(), c.utf8.end(), '?'))
      << "the fixture does not fit its code page";
  const DecodedText read = DecodeSubtitleText(bytes, c.interface);
  EXPECT_EQ(read.Text, c.expected.empty() ? c.utf8 : c.expected);
  EXPECT_EQ(read.Charset, c.readIn);
}

using enum LegacyCodePage;
INSTANTIATE_TEST_SUITE_P(
    Files, DetectedCodePageTest,
    ::testing::Values(
        FileCase{"RussianCp1251", kRussian, "WINDOWS-1251", Windows1252, "WINDOWS-1251", ""},
        FileCase{"ArabicCp1256", kArabic, "WINDOWS-1256", Windows1252, "WINDOWS-1256", ""},
        FileCase{"CroatianCp1250", kCroatian, "WINDOWS-1250", Windows1252, "WINDOWS-1250", ""},
        FileCase{"Gb2312UnderEnglish", kChinese, "GB2312", Windows1252, "GB18030", ""},
        FileCase{"FrenchCp1252UnderChinese", kFrench, "WINDOWS-1252", Gb18030, "WINDOWS-1252", ""},
        FileCase{"Utf8", kRussian + kChinese, "UTF-8", Gb18030, "UTF-8", ""},
        FileCase{"Utf16WithMark", kArabic + kChinese, "UTF-16LE+BOM", Windows1252, "UTF-16LE", ""},
        // One word is too little to go by: the interface's code page reads
        // it, right for the interface's own language...
        FileCase{"OneChineseWordUnderChinese", kOneChineseWord, "GB2312", Gb18030, "GB18030", ""},
        // ...and wrong for another, which the user then chooses.
        FileCase{"OneRussianWordUnderEnglish", kOneRussianWord, "WINDOWS-1251", Windows1252, "WINDOWS-1252",
                 Cues({"Ïðèâåò"})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CodePageTest, TheChosenSetReadsTheFileAndAByteItRefusesBecomesAReplacement) {
  const std::string oneWord = ConvertFromUtf8(kOneRussianWord, "WINDOWS-1251");
  EXPECT_EQ(DecodeSubtitleText(oneWord, Windows1252, "WINDOWS-1251").Text, kOneRussianWord);
  EXPECT_EQ(DecodeSubtitleText(oneWord, Windows1252, "KOI8-R").Charset, "KOI8-R");
  EXPECT_EQ(DecodeSubtitleText("caf\xE9!", Gb18030, "UTF-8").Text, "caf\xEF\xBF\xBD!");
  EXPECT_THROW(DecodeSubtitleText(oneWord, Windows1252, "NO-SUCH-SET"), std::runtime_error);
}

TEST_F(CodePageTest, AByteOrderMarkOutweighsTheChosenSet) {
  const DecodedText read = DecodeSubtitleText(std::string("\xFF\xFE" "a\0", 4), Windows1252, "WINDOWS-1251");
  EXPECT_EQ(read.Text, "a");
  EXPECT_EQ(read.Charset, "UTF-16LE");
}

}  // namespace
}  // namespace orlisk
