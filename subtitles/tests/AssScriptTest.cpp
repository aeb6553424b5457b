#include <gtest/gtest.h>

#include <string>

#include "subtitles/AssScript.h"

namespace orlisk {
namespace {

const AssCanvas kCanvas{.Width = 640, .Height = 360};

SubtitleEntry EntryIn(const SubtitleStyle& style, SubtitlePlacement place) {
  SubtitleEntry entry;
  entry.Place = place;
  TakeColours(entry, style);
  entry.BeginTime = 1'000;
  entry.EndTime = 2'500;
  return entry;
}

TEST(AssScriptTest, TimesRoundToCentiseconds) {
  struct Row { SubtitleTime Ms; const char* Text; };
  for (const Row& row : {Row{0, "0:00:00.00"}, Row{4, "0:00:00.00"}, Row{5, "0:00:00.01"}, Row{1'999, "0:00:02.00"},
                         Row{3'723'040, "1:02:03.04"}, Row{36'000'000, "10:00:00.00"}, Row{-70, "0:00:00.00"}})
    EXPECT_EQ(FormatAssTime(row.Ms), row.Text) << row.Ms;
}

TEST(AssScriptTest, HeaderHasPictureSizeAndTheStyleInUse) {
  SubtitleStyle style;
  style.Font.Italic = true;
  style.Backdrop = {.Shape = SubtitleBackdrop::Kind::Shadow, .Opacity = 60};
  const std::string header = AssScriptHeader(style, kCanvas);
  EXPECT_NE(header.find("PlayResX: 640\r\nPlayResY: 360\r\n"), std::string::npos);
  // 21 pixels of character: a 23-pixel cell, a 1-pixel outline, a 2-pixel shadow at 40 % transparency.
  EXPECT_NE(header.find("Style: Default,Arial,23,&H00FFFFFF,&H00FFFFFF,&H00FF0000,&H66000000,-1,-1,0,0,"
                        "100,100,0,0,1,1,2,7,0,0,0,1\r\n"),
            std::string::npos)
      << header;
  EXPECT_TRUE(header.ends_with("[Events]\r\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, "
                               "Effect, Text\r\n"));
  style.Backdrop.Shape = SubtitleBackdrop::Kind::Box;
  EXPECT_NE(AssScriptHeader(style, kCanvas).find(",&H66000000,&H66000000,-1,-1,0,0,100,100,0,0,3,1,0,7,"),
            std::string::npos);
}

TEST(AssScriptTest, EventTextCarriesPlaceColoursAndEscapedText) {
  const SubtitleStyle style;
  struct Row {
    const char* Name;
    SubtitleEntry Entry;
    const char* Text;
    const char* Expected;
  };
  SubtitleEntry yellow = EntryIn(style, {.X = 40, .Y = 300});
  yellow.TextColor = 0x0000FFFF;
  yellow.BorderColor = 0x00000000;
  SubtitleEntry bare = EntryIn(style, {.X = 40, .Y = 300});
  bare.Border = false;
  bare.BorderColor = 0x000000FF;  // kept, but not drawn without its outline
  const Row rows[] = {
      {"placed", EntryIn(style, {.X = 40, .Y = 300}), "Hi", "{\\an7\\pos(40,300)}Hi"},
      {"centred", EntryIn(style, {.X = 10, .Y = 297, .Centred = true}), "A\r\nB", "{\\an8\\pos(320,297)}A\\NB"},
      {"colours", yellow, "x", "{\\an7\\pos(40,300)\\1c&H00FFFF&\\3c&H000000&}x"},
      {"no outline", bare, "x", "{\\an7\\pos(40,300)\\bord0}x"},
      {"braces and escapes", EntryIn(style, {.X = 0, .Y = 0}), "{a}\\N\\x",
       "{\\an7\\pos(0,0)}\\{a\\}\\\xE2\x81\xA0N\\x"},
  };
  for (const Row& row : rows) EXPECT_EQ(AssEventText(row.Entry, row.Text, style, kCanvas), row.Expected) << row.Name;
}

TEST(AssScriptTest, ScriptHasOneDialoguePerRowAndPacketsTheSameFields) {
  const SubtitleStyle style;
  SubtitleDocument document;
  document.replaceAll({{"", "One"}, {"", "Two"}},
                      {EntryIn(style, {.X = 1, .Y = 2}), EntryIn(style, {.X = 3, .Y = 4})});
  const std::string script = WriteAssScript(document, style, kCanvas);
  EXPECT_TRUE(script.ends_with("Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,{\\an7\\pos(1,2)}One\r\n"
                               "Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,{\\an7\\pos(3,4)}Two\r\n"))
      << script;
  EXPECT_EQ(AssPacketText(5, document.entries()[1], "Two", style, kCanvas), "5,0,Default,,0,0,0,,{\\an7\\pos(3,4)}Two");
}

}  // namespace
}  // namespace orlisk
