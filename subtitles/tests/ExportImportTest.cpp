// The export formats read back, and WebVTT and ASS files from elsewhere read
// with what they carry beyond the list counted.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "subtitles/SubtitleExport.h"
#include "subtitles/SubtitleImport.h"
#include "subtitles/WebVttStyle.h"

namespace orlisk {
namespace {

SubRipReadContext Context() {
  SubRipReadContext context;
  context.Placement = {.X = 10, .Y = 300};
  context.Picture = {.Width = 640, .Height = 360};
  return context;
}

SubtitleEntry Entry(SubtitleTime begin, SubtitleTime end, SubtitlePlacement place, Colour text = 0xFFFFFF,
                    Colour border = 0xFF0000, bool outline = true) {
  SubtitleEntry entry;
  entry.Place = place;
  entry.TextColor = text;
  entry.BorderColor = border;
  entry.Border = outline;
  entry.BeginTime = begin;
  entry.EndTime = end;
  return entry;
}

// The counts named, every other kind none.
SubRipRepairs RepairsOf(const std::vector<std::pair<SubRipRepair, int>>& counts) {
  SubRipRepairs repairs;
  for (const auto& [kind, count] : counts) repairs[kind] = count;
  return repairs;
}

SubtitleDocument Sample() {
  SubtitleDocument document;
  document.replaceAll(
      {{"", "Centred\r\ntwo lines"}, {"", "Placed <b> & {x}"}, {"", "Yellow \\N kept"}, {"", "中文"}},
      {Entry(1'000, 2'500, {.X = 10, .Y = 297, .Centred = true}), Entry(3'000, 4'000, {.X = 37, .Y = 12}),
       Entry(4'010, 5'990, {.X = 601, .Y = 333}, 0x00FFFF, 0x000000), Entry(7'200'000, 7'201'000, {.X = 0, .Y = 0},
                                                                            0xFFFFFF, 0xFF0000, false)});
  return document;
}

// What a format gives back: text, times, place (X of a centred text is not kept), and colours where carried.
struct ReadBack {
  std::string Text;
  SubtitleTime Begin, End;
  int X, Y;
  bool Centred;
  Colour TextColor, BorderColor;
  bool Border;
  bool operator==(const ReadBack&) const = default;
};

std::vector<ReadBack> ReadBackOf(const SubRipReadResult& read, bool coloured) {
  std::vector<ReadBack> rows;
  for (std::size_t i = 0; i < read.Rows.size(); ++i) {
    const SubtitleEntry& e = read.Entries[i];
    rows.push_back({read.Rows[i].Subtitle, e.BeginTime, e.EndTime, e.Place.Centred ? -1 : e.Place.X, e.Place.Y,
                    e.Place.Centred, coloured ? e.TextColor : 0, coloured && e.Border ? e.BorderColor : 0,
                    coloured && e.Border});
  }
  return rows;
}

TEST(ExportImportTest, WebVttAndAssReadBackTheirTimesTextAndPlaces) {
  const SubtitleDocument document = Sample();
  const SubtitleStyle style;
  const SubRipReadContext context = Context();
  SubRipReadResult expected;
  expected.Rows = document.rows();
  expected.Entries = document.entries();
  struct Row {
    const char* Name;
    ExportFormat Format;
    SubRipReadResult (*Read)(std::string_view, const SubRipReadContext&);
    bool Coloured;
  };
  for (const Row& row : {Row{"vtt", ExportFormat::WebVtt, ReadWebVtt, true},
                         Row{"ass", ExportFormat::Ass, ReadAssScript, true}}) {
    const std::string bytes = ExportSubtitles(row.Format, document, style, context.Picture);
    const SubRipReadResult read = row.Read(bytes, context);
    EXPECT_EQ(ReadBackOf(read, row.Coloured), ReadBackOf(expected, row.Coloured)) << row.Name << "\n" << bytes;
    EXPECT_FALSE(read.Repairs.any()) << row.Name;
  }
}

// Colours other than the style's go into class spans, one class per look,
// which a STYLE block before the first cue defines beside the style's own.
TEST(ExportImportTest, WebVttGivesOtherColoursAsClassesOfAStyleBlock) {
  const SubtitlePlacement centred{.X = 10, .Y = 180, .Centred = true};
  SubtitleDocument document;
  document.replaceAll({{"", "plain"}, {"", "a <b> & c\r\ntwo"}, {"", "again"}, {"", "bare"}},
                      {Entry(0, 1'000, centred), Entry(1'000, 2'000, centred, 0x00FFFF, 0x000000),
                       Entry(2'000, 3'000, centred, 0x00FFFF, 0x000000),
                       Entry(3'000, 4'000, centred, 0xFFFFFF, 0, false)});
  const AssCanvas canvas{.Width = 640, .Height = 360};
  const auto cue = [](int second, const std::string& text) {
    return "\n00:00:0" + std::to_string(second) + ".000 --> 00:00:0" + std::to_string(second + 1) +
           ".000 line:50.000% position:50% align:center\n" + text + "\n";
  };
  const auto outline = [](const std::string& colour) {
    return colour + " -0.05em -0.05em, " + colour + " 0.05em -0.05em, " + colour + " -0.05em 0.05em, " + colour +
           " 0.05em 0.05em";
  };
  EXPECT_EQ(WriteWebVtt(document, SubtitleStyle{}, canvas),
            "WEBVTT\n\nSTYLE\n::cue { color: #ffffff; text-shadow: " + outline("#0000ff") + "; }\n" +
                "::cue(.c1) { color: #ffff00; text-shadow: " + outline("#000000") + "; }\n" +
                "::cue(.c2) { color: #ffffff; text-shadow: none; }\n" + cue(0, "plain") +
                cue(1, "<c.c1>a &lt;b&gt; &amp; c\ntwo</c>") + cue(2, "<c.c1>again</c>") + cue(3, "<c.c2>bare</c>"));
  document.replaceAll({{"", "plain"}}, {Entry(0, 1'000, centred)});
  EXPECT_EQ(WriteWebVtt(document, SubtitleStyle{}, canvas), "WEBVTT\n" + cue(0, "plain"));
}

// Colours of hand-written style sheets and class spans; what the list cannot
// hold is counted. The reader's style: white outlined in blue.
TEST(ExportImportTest, WebVttStyleSheetsAndClassesGiveTheColours) {
  struct Row {
    const char* Name;
    std::string Text;
    std::vector<std::string> Looks;
    std::vector<std::pair<SubRipRepair, int>> Repairs;
  };
  const std::string blue = " outlined #0000ff";
  for (const Row& row : {
           Row{"HandWrittenForms",
               "STYLE\n/* by hand */\n::cue { color: Yellow }\n::cue(.warn) { color: #f00; text-shadow: 0 0 4px "
               "rgb(0, 128, 0) }\n::cue(.quiet) { color: rgb(10 20 30); text-shadow: none; }\n\n"
               "00:01.000 --> 00:02.000\nall\n\n00:02.000 --> 00:03.000\n<c.warn>warn</c>\n\n"
               "00:03.000 --> 00:04.000\n<c.quiet>quiet\ntwo</c>\n",
               {"#ffff00" + blue, "#ff0000 outlined #008000", "#0a141e"}, {}},
           Row{"OwnColourClassesNeedNoRule", "00:01.000 --> 00:02.000\n<c.lime>green</c>\n", {"#00ff00" + blue}, {}},
           Row{"UnknownClassIsLeftOut", "00:01.000 --> 00:02.000\n<c.loud>loud</c>\n", {"#ffffff" + blue},
               {{SubRipRepair::FormattingTags, 1}}},
           Row{"SpanOverPartOfTheText", "00:01.000 --> 00:02.000\n<c.lime>green</c> and not\n", {"#00ff00" + blue},
               {{SubRipRepair::FormattingTags, 1}}},
           Row{"RulesBeyondColours",
               "STYLE\n::cue { color: red; font-size: 120% }\n::cue(v[voice=Ann]) { color: blue }\n\n"
               "00:01.000 --> 00:02.000\nred\n",
               {"#ff0000" + blue}, {{SubRipRepair::StyleSheets, 1}}},
           Row{"StyleAfterACue",
               "00:01.000 --> 00:02.000\nfirst\n\nSTYLE\n::cue { color: red }\n\n00:02.000 --> 00:03.000\nsecond\n",
               {"#ffffff" + blue, "#ffffff" + blue}, {{SubRipRepair::StyleSheets, 1}}},
       }) {
    const SubRipReadResult read = ReadWebVtt("WEBVTT\n\n" + row.Text, Context());
    std::vector<std::string> looks;
    for (const SubtitleEntry& e : read.Entries)
      looks.push_back(CssColour(e.TextColor) + (e.Border ? " outlined " + CssColour(e.BorderColor) : ""));
    EXPECT_EQ(looks, row.Looks) << row.Name;
    EXPECT_EQ(read.Repairs.Counts, RepairsOf(row.Repairs).Counts) << row.Name;
  }
}

TEST(ExportImportTest, SubRipFromOneIsNumberedFromOneWithTimesOfTheEntries) {
  SubtitleDocument document;
  document.replaceAll({{"as read", "A\r\n\r\nB"}, {"", "C"}},
                      {Entry(-20, 1'500, {}), Entry(3'723'004, 3'724'000, {})});
  EXPECT_EQ(WriteSubRipFromOne(document),
            "1\n00:00:00,000 --> 00:00:01,500\nA\nB\n\n2\n01:02:03,004 --> 01:02:04,000\nC\n\n");
}

struct ForeignCase {
  const char* Name;
  SubRipReadResult (*Read)(std::string_view, const SubRipReadContext&);
  std::string Text;
  std::vector<std::string> Texts;
  std::vector<std::pair<SubRipRepair, int>> Repairs;  // every other kind: none
};

class ForeignFileTest : public ::testing::TestWithParam<ForeignCase> {};

TEST_P(ForeignFileTest, ReadsTheTextAndCountsWhatWasLeftOut) {
  const ForeignCase& c = GetParam();
  const SubRipReadResult read = c.Read(c.Text, Context());
  std::vector<std::string> texts;
  for (const SubtitleRow& row : read.Rows) texts.push_back(row.Subtitle);
  EXPECT_EQ(texts, c.Texts);
  EXPECT_EQ(read.Repairs.Counts, RepairsOf(c.Repairs).Counts);
}

const std::string kAssHead =
    "[Script Info]\nPlayResX: 1280\nPlayResY: 720\n\n[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, OutlineColour, Bold, Outline, Alignment, MarginL, MarginR, MarginV\n"
    "Style: Default,Arial,46,&H00FFFFFF,&H00FF0000,-1,2,2,20,20,30\n"
    "Style: Sign,Impact,60,&H0000FFFF,&H00000000,0,2,8,0,0,0\n\n[Events]\n"
    "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";

INSTANTIATE_TEST_SUITE_P(
    Files, ForeignFileTest,
    ::testing::Values(
        ForeignCase{"VttMarkupNotesStylesAndSettings", ReadWebVtt,
                    "WEBVTT - a title\n\nNOTE made elsewhere\n\nSTYLE\n::cue(v[voice=Ann]) { color: red }\n\nintro\n"
                    "00:01.000 --> 00:02.000 vertical:rl\n<v Ann><i>Hi</i> &amp; &lt;bye&gt;\n\n"
                    "2\n00:00:03.000 --> 00:00:04.000 line:5 position:90% align:end\nsecond\n",
                    {"Hi & <bye>", "second"},
                    {{SubRipRepair::Comments, 1}, {SubRipRepair::StyleSheets, 1}, {SubRipRepair::CueNames, 1},
                     {SubRipRepair::CueSettings, 1}, {SubRipRepair::FormattingTags, 1},
                     {SubRipRepair::PlacesApproximated, 1}}},
        ForeignCase{"VttBadTimesAreLeftOut", ReadWebVtt, "WEBVTT\n\n00:01 --> 00:02\nno\n\n00:03.000 --> 00:04.000\nyes\n",
                    {"yes"}, {{SubRipRepair::LinesOutside, 1}}},
        ForeignCase{"AssTagsKaraokeDrawingsAndComments", ReadAssScript,
                    kAssHead +
                        "Comment: 0,0:00:00.00,0:00:01.00,Default,,0,0,0,,note\n"
                        "Dialogue: 0,0:00:01.00,0:00:02.00,Default,Ann,0,0,0,,{\\k20}Ka{\\k30}ra\\Noke\n"
                        "Dialogue: 0,0:00:02.00,0:00:03.00,Sign,,0,0,0,,{\\an9}Sign, with comma\n"
                        "Dialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,Banner;5,{\\p1}m 0 0 l 10 10{\\p0}\n"
                        "Sound: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,x.wav\n",
                    {"Kara\r\noke", "Sign, with comma"},
                    {{SubRipRepair::Comments, 1}, {SubRipRepair::OverrideTags, 1}, {SubRipRepair::StyleFonts, 1},
                     {SubRipRepair::PlacesApproximated, 1}, {SubRipRepair::Drawings, 2}}}),
    [](const auto& info) { return std::string(info.param.Name); });

// Places in a script of another size scale to the picture; without \pos the
// style's alignment and margins place the text; colours come from the style
// unless the text's first tags change them.
TEST(ExportImportTest, AssPlacesScaleAndColoursComeFromStyleOrTags) {
  const SubRipReadResult read = ReadAssScript(kAssHead +
                                                  "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,bottom\n"
                                                  "Dialogue: 0,0:00:01.00,0:00:02.00,Sign,,0,0,0,,{\\c&H0000FF&\\bord0}top\n"
                                                  "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{\\an7\\pos(100,50)}at\n",
                                              Context());
  ASSERT_EQ(read.Entries.size(), 3u);
  // 720 -> 360: the bottom margin of 30 is 15, a line of 21-pixel text 23 high.
  EXPECT_EQ(read.Entries[0].Place, (SubtitlePlacement{.X = 10, .Y = 360 - 15 - 23, .DrawLevel = 240, .Centred = true}));
  EXPECT_EQ(std::make_pair(read.Entries[0].TextColor, read.Entries[0].BorderColor), std::make_pair(0xFFFFFFu, 0xFF0000u));
  EXPECT_EQ(read.Entries[1].Place, (SubtitlePlacement{.X = 10, .Y = 0, .DrawLevel = 240, .Centred = true}));
  EXPECT_EQ(read.Entries[1].TextColor, 0x0000FFu);
  EXPECT_FALSE(read.Entries[1].Border);
  EXPECT_EQ(read.Entries[2].Place, (SubtitlePlacement{.X = 50, .Y = 25, .DrawLevel = 240}));
}

}  // namespace
}  // namespace orlisk
