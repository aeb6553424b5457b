#include "subtitles/TextEncoding.h"

#include <gtest/gtest.h>

#include <clocale>
#include <stdexcept>
#include <string>

namespace orlisk {
namespace {

// "中文字幕" (Chinese for "Chinese subtitles") in UTF-8 and in GB18030.
const std::string kChineseUtf8 = "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\xE5\xB9\x95";

std::string Repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}
const std::string kChineseGb = "\xD6\xD0\xCE\xC4\xD7\xD6\xC4\xBB";

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

class TextEncodingTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr); }
  void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

struct DecodeCase {
  const char* name;
  std::string bytes;
  LegacyCodePage fallback;
  std::string utf8;
};

class DecodeTextTest : public TextEncodingTest, public ::testing::WithParamInterface<DecodeCase> {};

TEST_P(DecodeTextTest, GivesUtf8) {
  EXPECT_EQ(DecodeText(GetParam().bytes, GetParam().fallback), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeTextTest,
    ::testing::Values(
        DecodeCase{"Ascii", "0\r\nHello\r\n", LegacyCodePage::Windows1252, "0\r\nHello\r\n"},
        DecodeCase{"Utf8Kept", "caf\xC3\xA9", LegacyCodePage::Windows1252, "caf\xC3\xA9"},
        DecodeCase{"BomSkipped", "\xEF\xBB\xBF" "0\r\n", LegacyCodePage::Windows1252, "0\r\n"},
        DecodeCase{"OnlyABom", "\xEF\xBB\xBF", LegacyCodePage::Gb18030, ""},
        DecodeCase{"Latin", "caf\xE9", LegacyCodePage::Windows1252, "caf\xC3\xA9"},
        DecodeCase{"WindowsQuotesAndEuro", "\x93x\x94 \x80", LegacyCodePage::Windows1252,
                   "\xE2\x80\x9Cx\xE2\x80\x9D \xE2\x82\xAC"},
        DecodeCase{"UndefinedWindowsByte", "\x81", LegacyCodePage::Windows1252, "\xC2\x81"},
        DecodeCase{"ChineseCodePage", kChineseGb, LegacyCodePage::Gb18030, kChineseUtf8},
        DecodeCase{"ChineseUtf8UnderChineseInterface", kChineseUtf8, LegacyCodePage::Gb18030, kChineseUtf8},
        DecodeCase{"ChineseCutOffAtEnd", "\xD6\xD0\xCE", LegacyCodePage::Gb18030, "\xE4\xB8\xAD\xEF\xBF\xBD"},
        // Overlong forms and surrogates are not UTF-8, so the legacy page reads them.
        DecodeCase{"OverlongSlash", "\xC0\xAF", LegacyCodePage::Windows1252, "\xC3\x80\xC2\xAF"},
        DecodeCase{"Surrogate", "\xED\xA0\x80", LegacyCodePage::Windows1252, "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
        DecodeCase{"NulBytesKept", std::string("a\0b", 3), LegacyCodePage::Windows1252,
                   std::string("a\0b", 3)},
        // One bad byte keeps the rest of a UTF-8 file UTF-8; only that byte
        // is read in the legacy code page.
        DecodeCase{"Utf8WithOneBadByte", "\xE4\xBD\xA0\xE5\xA5\xBD\xFF", LegacyCodePage::Windows1252,
                   "\xE4\xBD\xA0\xE5\xA5\xBD\xC3\xBF"},
        // A UTF-8 file of some length with one word pasted in GBK.
        DecodeCase{"Utf8WithAWordInTheChineseCodePage", Repeated(kChineseUtf8, 8) + "\xD6\xD0\xCE\xC4",
                   LegacyCodePage::Gb18030, Repeated(kChineseUtf8, 8) + "\xE4\xB8\xAD\xE6\x96\x87"},
        DecodeCase{"LegacyTextWithAnAccidentalPairStaysLegacy", "caf\xE9 \xC2\xA9 na\xEFve",
                   LegacyCodePage::Windows1252, "caf\xC3\xA9 \xC3\x82\xC2\xA9 na\xC3\xAFve"},
        DecodeCase{"Utf16LittleEndian", std::string("\xFF\xFE" "0\0\r\0\n\0\x2D\x4E", 10),
                   LegacyCodePage::Windows1252, "0\r\n\xE4\xB8\xAD"},
        DecodeCase{"Utf16BigEndian", std::string("\xFE\xFF\0" "0\x4E\x2D", 6), LegacyCodePage::Gb18030,
                   "0\xE4\xB8\xAD"},
        DecodeCase{"Utf32LittleEndian", std::string("\xFF\xFE\0\0" "a\0\0\0\x00\xF6\x01\0", 12),
                   LegacyCodePage::Windows1252, "a\xF0\x9F\x98\x80"},
        DecodeCase{"Utf32BigEndian", std::string("\0\0\xFE\xFF\0\0\0" "a", 8), LegacyCodePage::Windows1252, "a"},
        DecodeCase{"Utf16SurrogatePair", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), LegacyCodePage::Windows1252,
                   "\xF0\x9F\x98\x80"},
        DecodeCase{"Utf16LoneSurrogateAndCutOffByte", std::string("\xFF\xFE\x3D\xD8" "a\0b", 7),
                   LegacyCodePage::Windows1252, "\xEF\xBF\xBD" "a\xEF\xBF\xBD"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TextEncodingTest, EncodeForUtf8LocaleKeepsTheText) {
  EXPECT_EQ(EncodeText(kChineseUtf8 + "\r\n"), kChineseUtf8 + "\r\n");
}

TEST(TextEncodingPlainLocaleTest, PlainCLocaleKeepsEveryCharacter) {
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(EncodeText("caf\xC3\xA9 " + kChineseUtf8), "caf\xC3\xA9 " + kChineseUtf8);
  EXPECT_EQ(DecodeText(kChineseUtf8, LegacyCodePage::Windows1252), kChineseUtf8);
}

TEST(ConvertTest, BetweenNamedCharacterSets) {
  EXPECT_EQ(ConvertToUtf8(kChineseGb, "GBK"), kChineseUtf8);
  EXPECT_EQ(ConvertFromUtf8(kChineseUtf8, "GB18030"), kChineseGb);
  EXPECT_EQ(ConvertFromUtf8("caf\xC3\xA9 " + kChineseUtf8, "ISO-8859-1"), "caf\xE9 ????");
  // Broken UTF-8 is skipped a byte at a time, the rest still converts.
  EXPECT_EQ(ConvertFromUtf8("a\xFF" "b", "ISO-8859-1"), "a?b");
  EXPECT_EQ(ConvertToUtf8(std::string(5000, 'x'), "ISO-8859-1"), std::string(5000, 'x'));
  EXPECT_THROW(ConvertToUtf8("x", "NO-SUCH-SET"), std::runtime_error);
}

struct CutCase {
  const char* name;
  std::string text;
  std::size_t maxBytes;
  std::string expected;
};

class CutUtf8Test : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutUtf8Test, NeverSplitsACharacter) {
  EXPECT_EQ(CutUtf8(GetParam().text, GetParam().maxBytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CutUtf8Test,
    ::testing::Values(
        CutCase{"ShortTextWhole", "abc", 255, "abc"}, CutCase{"ExactLength", "abc", 3, "abc"},
        CutCase{"AsciiCut", "abcdef", 4, "abcd"},
        // Each Chinese character takes three bytes.
        CutCase{"ChineseOnBoundary", kChineseUtf8, 6, kChineseUtf8.substr(0, 6)},
        CutCase{"ChineseOneByteIn", kChineseUtf8, 7, kChineseUtf8.substr(0, 6)},
        CutCase{"ChineseTwoBytesIn", kChineseUtf8, 8, kChineseUtf8.substr(0, 6)},
        // One byte and 84 characters fill 253 bytes; the 85th would end at 256.
        CutCase{"ChineseAt255", "a" + Repeat("\xE4\xB8\xAD", 100), 255, "a" + Repeat("\xE4\xB8\xAD", 84)},
        CutCase{"FourByteCharacter", "ab\xF0\x9F\x98\x80", 5, "ab"},
        CutCase{"TwoByteCharacter", "\xC3\xA9\xC3\xA9", 3, "\xC3\xA9"},
        CutCase{"ZeroBytes", kChineseUtf8, 0, ""},
        // Stray continuation bytes are not characters; the cut stays where asked.
        CutCase{"StrayContinuations", "a\x80\x80\x80\x80\x80", 4, "a\x80\x80\x80"},
        CutCase{"AsciiBeforeStray", "ab\x80\x80", 2, "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orlisk

namespace orlisk {
namespace {

TEST(MostlyUtf8, AShortLegacyTextThatLooksPartlyLikeUtf8IsReadInItsCodePage) {
  // "新版本" in GBK: one byte is not UTF-8 and the other five happen to be.
  EXPECT_EQ(DecodeText("\xD0\xC2\xB0\xE6\xB1\xBE", LegacyCodePage::Gb18030), "\xE6\x96\xB0\xE7\x89\x88\xE6\x9C\xAC");
}

}  // namespace
}  // namespace orlisk
