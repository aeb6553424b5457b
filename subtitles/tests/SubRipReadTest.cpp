#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "subtitles/SubRipFile.h"

namespace orlisk {
namespace {

// Current placement and style while reading.
SubRipReadContext Context() {
  SubRipReadContext context;
  context.Placement.X = 10;
  context.Placement.Y = 100;
  context.Style.Font.Height = -21;
  context.Style.TextColor = 0x00FFFFFF;
  context.Style.BorderColor = 0x00FF0000;
  return context;
}

// A companion as versions before the centring flag wrote it: the last byte of
// each record's text field 0.
std::string OlderCompanion(std::string companion) {
  for (std::size_t at = 267; at < companion.size(); at += kCompanionRecordSize) companion[at] = '\0';
  return companion;
}

SubtitleEntry Styled(std::int32_t x, std::int32_t y, std::int32_t tag) {
  SubtitleEntry entry;
  entry.Place.X = x;
  entry.Place.Y = y;
  entry.Place.DrawLevel = 200;
  entry.Tag = tag;
  entry.BorderColor = 0x0000FF00;
  entry.TextColor = 0x000000FF;
  entry.Font = 5;
  entry.Border = false;
  return entry;
}

std::vector<std::string> Texts(const SubRipReadResult& result) {
  std::vector<std::string> texts;
  for (const auto& entry : result.Entries) texts.push_back(entry.Text);
  return texts;
}

std::vector<std::int32_t> Xs(const SubRipReadResult& result) {
  std::vector<std::int32_t> xs;
  for (const auto& entry : result.Entries) xs.push_back(entry.Place.X);
  return xs;
}

TEST(ReadSubRipTest, SaveThenReadGivesTheSameRowsAndStyles) {
  const std::string longText(300, 'w');
  const std::vector<SubtitleRow> rows = {{TimeRangeText(1'000, 2'500), "Hello"},
                                         {TimeRangeText(3'000, 4'000), "A\r\nB\r\nC"},
                                         {TimeRangeText(-1'500, 360'000'000), longText},
                                         {TimeRangeText(5'000, 6'000), ""}};
  std::vector<SubtitleEntry> entries = {Styled(30, 200, 0), Styled(40, 210, 1), Styled(50, 220, 2),
                                        Styled(60, 230, 3)};
  const auto result = ReadSubRip(WriteSubRipText(rows), WriteCompanion(entries, 4), Context());

  ASSERT_EQ(result.Rows.size(), 4u);
  ASSERT_EQ(result.Entries.size(), 4u);
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(result.Rows[i].Time, rows[i].Time) << i;
  EXPECT_EQ(result.Rows[1].Subtitle, "A\r\nB\r\nC");
  EXPECT_EQ(result.Rows[2].Subtitle, longText);  // the row keeps the whole text
  EXPECT_EQ(Texts(result), (std::vector<std::string>{"Hello", "A\r\nB\r\nC", longText.substr(0, 255), ""}));
  EXPECT_EQ(result.Entries[0].BeginTime, 1'000);
  EXPECT_EQ(result.Entries[0].EndTime, 2'500);
  // Times that the fixed columns cannot read back become 0.
  EXPECT_EQ(result.Entries[2].BeginTime, 0);
  EXPECT_EQ(result.Entries[2].EndTime, 0);

  EXPECT_EQ(Xs(result), (std::vector<std::int32_t>{30, 40, 50, 60}));
  // Three lines stay where they were drawn.
  EXPECT_EQ(result.Entries[1].Place.Y, 210);
  const SubtitleEntry& styled = result.Entries[3];
  EXPECT_EQ(styled.Place.Y, 230);
  EXPECT_EQ(styled.Place.DrawLevel, 200);
  EXPECT_EQ(styled.Tag, 3);
  EXPECT_EQ(styled.BorderColor, 0x0000FF00u);
  EXPECT_EQ(styled.TextColor, 0x000000FFu);
  EXPECT_EQ(styled.Font, 5u);
  EXPECT_FALSE(styled.Border);
}

TEST(ReadSubRipTest, WithoutCompanionEveryBlockGetsTheCurrentStyleCentred) {
  const auto result = ReadSubRip("1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\nsecond\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\nx\r\n", "", Context());
  ASSERT_EQ(result.Entries.size(), 2u);
  const SubtitleEntry& first = result.Entries[0];
  EXPECT_EQ(first.Place.X, 10);
  EXPECT_TRUE(first.Place.Centred);
  EXPECT_EQ(first.Place.Y, 100 + 21);
  EXPECT_EQ(first.Place.DrawLevel, 240);
  EXPECT_EQ(first.Tag, -1);
  EXPECT_EQ(first.TextColor, 0x00FFFFFFu);
  EXPECT_EQ(first.BorderColor, 0x00FF0000u);
  EXPECT_EQ(first.Font, FontId(SubtitleFont{}));  // the current font's reference
  EXPECT_TRUE(first.Border);
  EXPECT_TRUE(result.Entries[1].Place.Centred);
  EXPECT_EQ(result.Entries[1].Place.Y, 100);
}

// A companion of one record for block 0 (a text of two lines).
std::string Record(std::int32_t x, std::int32_t y, bool centred) {
  SubtitleEntry entry = Styled(x, y, 0);
  entry.Place.Centred = centred;
  return WriteCompanion({entry}, 1);
}

std::string FullTextRecord() {
  std::string record = Record(55, 300, true);
  record[12] = '\xFF';  // a 255-byte text fills the field: its last byte is text
  return record;
}

struct PlacementCase {
  const char* name;
  std::string companion;
  std::int32_t x, y;
  bool centred;
};

class ReadSubRipPlacementTest : public ::testing::TestWithParam<PlacementCase> {};

// The current place is x 10, y 100. Records of this version keep their place
// as drawn; older records and missing ones get the older reading rules.
TEST_P(ReadSubRipPlacementTest, GivesEachBlockItsPlaceAndWhetherItIsCentred) {
  const auto result = ReadOwnSubRip("0\r\nt\r\na\r\nb\r\n", GetParam().companion, Context());
  const SubtitlePlacement& place = result.Entries.at(0).Place;
  EXPECT_EQ(place.X, GetParam().x);
  EXPECT_EQ(place.Y, GetParam().y);
  EXPECT_EQ(place.Centred, GetParam().centred);
}

INSTANTIATE_TEST_SUITE_P(
    Records, ReadSubRipPlacementTest,
    ::testing::Values(PlacementCase{"Centred", Record(10, 100, true), 10, 100, true},
                      PlacementCase{"ByHandAtTheCurrentX", Record(10, 100, false), 10, 100, false},
                      PlacementCase{"ByHandElsewhere", Record(55, 300, false), 55, 300, false},
                      PlacementCase{"OlderAtTheCurrentPlace", OlderCompanion(Record(10, 100, false)), 10, 121, true},
                      PlacementCase{"OlderElsewhere", OlderCompanion(Record(55, 300, true)), 55, 300, false},
                      PlacementCase{"OlderWithAFullText", FullTextRecord(), 55, 300, false},
                      PlacementCase{"NoRecord", "", 10, 121, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadOwnSubRipTest, FiveLinesReadAsFourAndEachMovesTheTextUp) {
  const auto result = ReadOwnSubRip("0\r\nt\r\n1a\r\n2b\r\n3c\r\n4d\r\n5e\r\n \r\n", "", Context());
  ASSERT_EQ(result.Rows.size(), 1u);
  EXPECT_EQ(result.Rows[0].Subtitle, "1a\r\n2b\r\n3c\r\n4d");
  EXPECT_EQ(result.Entries[0].Place.Y, 100 + 3 * 21);
}

TEST(ReadOwnSubRipTest, EmptyLineInsideATextEndsIt) {
  const auto result = ReadOwnSubRip("0\r\nt\r\nbefore\r\n\r\nafter\r\n \r\n1\r\nt\r\nnext\r\n \r\n", "", Context());
  EXPECT_EQ(Texts(result), (std::vector<std::string>{"before", "next"}));
}

TEST(ReadOwnSubRipTest, FirstLineIsKeptUntrimmedEvenWhenBlank) {
  const auto result = ReadOwnSubRip("0\r\nt\r\n  \t\r\n", "", Context());
  EXPECT_EQ(Texts(result), (std::vector<std::string>{"  \t"}));
}

TEST(ReadSubRipTest, TagsDifferentFromPositionsFollowTheFirstLaterMatch) {
  // Records by position: tags 0, 5, 1, 2 and X values that name the record.
  const std::vector<SubtitleEntry> records = {Styled(1000, 0, 0), Styled(1001, 0, 5), Styled(1002, 0, 1),
                                              Styled(1003, 0, 2)};
  std::string text;
  for (int i = 0; i < 5; ++i) text += std::to_string(i) + "\r\nt\r\nx\r\n \r\n";
  const auto result = ReadSubRip(text, WriteCompanion(records, 4), Context());
  // Block 3 finds no record tagged 3 and keeps the last one read; block 4 has no record.
  EXPECT_EQ(Xs(result), (std::vector<std::int32_t>{1000, 1002, 1003, 1003, 10}));
  EXPECT_EQ(result.Entries[3].Tag, 2);
  EXPECT_EQ(result.Entries[4].Tag, -1);
}

TEST(ReadSubRipTest, TagsOfAppendedSubtitlesTakeTheLastRecord) {
  // A subtitle appended and then typed carries its position + 1.
  const std::vector<SubtitleEntry> records = {Styled(500, 0, 1), Styled(501, 0, 2)};
  const auto result = ReadSubRip("0\r\nt\r\nx\r\n \r\n1\r\nt\r\ny\r\n \r\n", WriteCompanion(records, 2), Context());
  EXPECT_EQ(Xs(result), (std::vector<std::int32_t>{501, 501}));
}

struct StrayCase {
  const char* name;
  std::string text;
  std::vector<std::string> texts;
};

class ReadSubRipBlocksTest : public ::testing::TestWithParam<StrayCase> {};

TEST_P(ReadSubRipBlocksTest, ReadsBlocksAndSkipsStrayLines) {
  const auto result = ReadOwnSubRip(GetParam().text, "", Context());
  EXPECT_EQ(Texts(result), GetParam().texts);
  ASSERT_EQ(result.Rows.size(), result.Entries.size());
  for (std::size_t i = 0; i < result.Rows.size(); ++i) {
    EXPECT_EQ(CutUtf8(result.Rows[i].Subtitle, kMaxEntryTextBytes), result.Entries[i].Text) << "row and entry " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadSubRipBlocksTest,
    ::testing::Values(
        StrayCase{"Empty", "", {}}, StrayCase{"NoBlocks", "hello\r\nworld\r\n", {}},
        StrayCase{"OnlyNumberLine", "0", {""}},
        StrayCase{"LfOnly", "0\nt\na\nb\n \n1\nt\nc\n", {"a\r\nb", "c"}},
        // A CR that does not end a line is dropped, so a CR-only file is one line.
        StrayCase{"CrOnly", "0\rt\rx\r", {}}, StrayCase{"CrInsideLine", "0\r\nt\r\na\rb\r\n", {"ab"}},
        StrayCase{"MixedEnds", "0\r\nt\na\r\n \n1\nt\r\nb", {"a", "b"}},
        StrayCase{"CtrlZEndsTheFile", "0\r\nt\r\na\r\n\x1A" "1\r\nt\r\nb\r\n", {"a"}},
        StrayCase{"NumberWithBlanks", "  0 \t\r\nt\r\na\r\n", {"a"}},
        StrayCase{"HexNumbers", "$0\r\nt\r\na\r\n \r\nx1\r\nt\r\nb\r\n", {"a", "b"}},
        StrayCase{"RepeatedNumberIsStray", "0\r\nt\r\na\r\n \r\n0\r\nt\r\nb\r\n \r\n1\r\nt\r\nc\r\n",
                  {"a", "c"}},
        StrayCase{"BackwardsNumberIsStray", "0\r\nt\r\na\r\n \r\n1\r\nt\r\nb\r\n \r\n0\r\nt\r\nx\r\n", {"a", "b"}},
        StrayCase{"NegativeNumberIsStray", "-1\r\nt\r\nx\r\n \r\n0\r\nt\r\na\r\n", {"a"}},
        StrayCase{"NumberInsideTextStartsBlock", "0\r\nt\r\na\r\nb\r\nc\r\nd\r\n1\r\nt\r\ne\r\n", {"a\r\nb\r\nc\r\nd", "e"}},
        StrayCase{"HugeNumberIsStray", "1000001\r\nt\r\nx\r\n \r\n0\r\nt\r\na\r\n", {"a"}},
        StrayCase{"HugeNumberInTheMiddleIsStray",
                  "0\r\nt\r\na\r\n \r\n1\r\nt\r\nb\r\n \r\n5000000\r\n2\r\nt\r\nc\r\n", {"a", "b", "c"}},
        // Numbers that count on are blocks however high they go.
        StrayCase{"CountingPastAMillion",
                  "999999\r\nt\r\na\r\n \r\n1000000\r\nt\r\nb\r\n \r\n1000001\r\nt\r\nc\r\n \r\n"
                  "1000002\r\nt\r\nd\r\n",
                  {"a", "b", "c", "d"}},
        StrayCase{"OverflowingDigitsAreStray", "99999999999999\r\nt\r\nx\r\n \r\n0\r\nt\r\na\r\n", {"a"}},
        StrayCase{"NumberedFromOne", "1\r\nt\r\na\r\n\r\n2\r\nt\r\nb\r\n\r\n", {"a", "b"}},
        StrayCase{"NumbersWithGaps", "0\r\nt\r\na\r\n \r\n5\r\nt\r\nb\r\n \r\n9\r\nt\r\nc\r\n", {"a", "b", "c"}},
        StrayCase{"NulBytes", std::string("0\r\nt\r\na\0b\r\n", 11), {std::string("a\0b", 3)}},
        StrayCase{"OverlongLine", "0\r\nt\r\n" + std::string(100'000, 'z'), {std::string(255, 'z')}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadOwnSubRipTest, FileWithByteOrderMarkKeepsItsFirstBlock) {
  const std::string bytes = "\xEF\xBB\xBF" "0\r\nt\r\ncaf\xE9\r\n \r\n1\r\nt\r\nb\r\n";
  const auto result = ReadOwnSubRip(DecodeText(bytes, LegacyCodePage::Windows1252), "", Context());
  EXPECT_EQ(Texts(result), (std::vector<std::string>{"caf\xC3\xA9", "b"}));
}

TEST(ReadOwnSubRipTest, TimeLineIsKeptExactlyAsRead) {
  const auto result = ReadOwnSubRip("0\r\n 00:00:01,000-->00:00:02,000 \r\nx\r\n", "", Context());
  EXPECT_EQ(result.Rows.at(0).Time, " 00:00:01,000-->00:00:02,000 ");
  EXPECT_EQ(result.Entries.at(0).BeginTime, 0);
  EXPECT_EQ(result.Entries.at(0).EndTime, 2'000);
}

TEST(ReadSubRipTest, FileNumberedFromOneMatchesRecordsByRow) {
  const std::vector<SubtitleEntry> records = {Styled(700, 0, 0), Styled(701, 0, 1)};
  const auto result =
      ReadSubRip("1\r\nt\r\na\r\n\r\n2\r\nt\r\nb\r\n\r\n", WriteCompanion(records, 2), Context());
  EXPECT_EQ(Xs(result), (std::vector<std::int32_t>{700, 701}));
}

TEST(ReadSubRipTest, PartRecordAtTheEndOfTheCompanionIsIgnored) {
  const std::string companion = WriteCompanion({Styled(800, 0, 0)}, 1) + std::string(100, '\x7F');
  const auto result = ReadSubRip("0\r\nt\r\na\r\n \r\n1\r\nt\r\nb\r\n", companion, Context());
  EXPECT_EQ(Xs(result), (std::vector<std::int32_t>{800, 10}));
}

TEST(ReadSubRipTest, ExtremeCompanionValuesWrapInsteadOfOverflowing) {
  SubtitleEntry extreme = Styled(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), 0);
  SubRipReadContext context = Context();
  context.Placement.Y = 0;
  const auto result = ReadSubRip("0\r\nt\r\na\r\nb\r\nc\r\n", OlderCompanion(WriteCompanion({extreme}, 1)), context);
  EXPECT_EQ(result.Entries.at(0).Place.X, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(result.Entries.at(0).Place.Y, std::numeric_limits<std::int32_t>::min() + 20);
}

// Two saves of a list: the second moved a block, so its times differ.
struct TwoSaves {
  std::string firstText, secondText, secondCompanion;
};

TwoSaves SavesWithDifferentTimes() {
  const std::vector<SubtitleRow> first = {{TimeRangeText(1'000, 2'000), "a"}, {TimeRangeText(3'000, 4'000), "b"}};
  const std::vector<SubtitleRow> second = {{TimeRangeText(1'000, 2'000), "a"}, {TimeRangeText(3'500, 4'000), "b"}};
  const std::vector<SubtitleEntry> entries = {Styled(30, 200, 0), Styled(40, 210, 1)};
  const std::string secondText = WriteSubRipText(second);
  return {WriteSubRipText(first), secondText, WriteCompanion(entries, 2, PairCheck(secondText))};
}

TEST(ReadSubRipTest, ACompanionOfAnotherSaveIsRecognisedAndNotUsed) {
  const TwoSaves saves = SavesWithDifferentTimes();
  const auto matching = ReadSubRip(saves.secondText, saves.secondCompanion, Context());
  EXPECT_FALSE(matching.StaleCompanion);
  EXPECT_EQ(Xs(matching), (std::vector<std::int32_t>{30, 40}));

  // The old text beside the new companion, as an interrupted save once left them.
  const auto stale = ReadSubRip(saves.firstText, saves.secondCompanion, Context());
  EXPECT_TRUE(stale.StaleCompanion);
  ASSERT_EQ(stale.Entries.size(), 2u);
  EXPECT_EQ(Xs(stale), (std::vector<std::int32_t>{10, 10}));  // current place, centred
  EXPECT_EQ(stale.Entries[0].Tag, -1);
  EXPECT_EQ(stale.Entries[0].Place.DrawLevel, 240);
}

TEST(ReadSubRipTest, ACompanionWithoutACheckIsUsedAsBefore) {
  const TwoSaves saves = SavesWithDifferentTimes();
  const std::vector<SubtitleEntry> entries = {Styled(30, 200, 0), Styled(40, 210, 1)};
  const auto result = ReadSubRip(saves.firstText, WriteCompanion(entries, 2), Context());
  EXPECT_FALSE(result.StaleCompanion);
  EXPECT_EQ(Xs(result), (std::vector<std::int32_t>{30, 40}));
}

TEST(PairCheckTest, FollowsNumbersTimesAndTexts) {
  const std::vector<SubtitleRow> rows = {{TimeRangeText(1'000, 2'000), "a"}, {TimeRangeText(3'000, 4'000), "b c"}};
  const std::uint32_t check = PairCheck(WriteSubRipText(rows));
  EXPECT_NE(check, 0u);
  EXPECT_LE(check, 0xFFFFFFu);
  auto retyped = rows;
  retyped[1].Subtitle = "b, spelt right";
  auto rebroken = rows;
  rebroken[1].Subtitle = "b\r\nc";
  auto retimed = rows;
  retimed[1].Time = TimeRangeText(3'001, 4'000);
  for (const auto& other : {retyped, rebroken, retimed, std::vector<SubtitleRow>{rows[0]}}) {
    EXPECT_NE(PairCheck(WriteSubRipText(other)), check);
  }
}

// A companion tells a text whose words changed since its save. Companions of
// earlier versions carry the check of the numbers and times alone (0x473C2A
// for these two blocks): they still read, texts corrected by hand included,
// and still tell a re-timed text.
TEST(ReadSubRipTest, ACompanionTellsAChangedTextAndOneOfAnEarlierVersionStillReads) {
  const std::vector<SubtitleRow> rows = {{TimeRangeText(1'000, 2'000), "a"}, {TimeRangeText(3'000, 4'000), "b"}};
  const std::vector<SubtitleEntry> entries = {Styled(30, 200, 0), Styled(40, 210, 1)};
  auto corrected = rows;
  corrected[1].Subtitle = "b, spelt right";
  const std::string current = WriteCompanion(entries, 2, PairCheck(WriteSubRipText(rows)));
  EXPECT_TRUE(ReadSubRip(WriteSubRipText(corrected), current, Context()).StaleCompanion);

  const std::string earlier = WriteCompanion(entries, 2, 0x473C2A);
  for (const auto& text : {rows, corrected}) {
    const auto result = ReadSubRip(WriteSubRipText(text), earlier, Context());
    EXPECT_FALSE(result.StaleCompanion);
    EXPECT_EQ(Xs(result), (std::vector<std::int32_t>{30, 40}));
  }
  auto retimed = rows;
  retimed[1].Time = TimeRangeText(3'001, 4'000);
  EXPECT_TRUE(ReadSubRip(WriteSubRipText(retimed), earlier, Context()).StaleCompanion);
}

// A companion of many records made up on demand, counting what is read.
class CountingCompanion : public CompanionSource {
 public:
  CountingCompanion(std::uint64_t records, bool tagsAtTheirPositions)
      : records_(records), tagsAtTheirPositions_(tagsAtTheirPositions) {}
  std::uint64_t recordCount() const override { return records_; }
  std::string readRecords(std::uint64_t first, std::size_t count) const override {
    read_ += count;
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) {
      SubtitleEntry entry = Styled(static_cast<std::int32_t>(first + i), 0, 0);
      entry.Tag = tagsAtTheirPositions_ ? static_cast<std::int32_t>(first + i) : 0;
      bytes += EncodeCompanionRecord(entry);
    }
    return bytes;
  }
  std::uint64_t recordsRead() const { return read_; }

 private:
  std::uint64_t records_;
  bool tagsAtTheirPositions_;
  mutable std::uint64_t read_ = 0;
};

TEST(ReadSubRipTest, AHugeCompanionIsReadOnlyWhereTheBlocksAskForRecords) {
  const std::string text = "0\r\nt\r\na\r\n \r\n1\r\nt\r\nb\r\n";
  const CountingCompanion ownPlaces(7'000'000, true);  // 2 GB of records
  EXPECT_EQ(Xs(ReadSubRip(text, ownPlaces, Context())), (std::vector<std::int32_t>{0, 1}));
  EXPECT_LE(ownPlaces.recordsRead(), 1024u);

  // Tags elsewhere need a search, which stops a little past the last block.
  const CountingCompanion searched(7'000'000, false);
  const auto result = ReadSubRip(text, searched, Context());
  EXPECT_EQ(result.Entries[1].Place.X, 6'999'999);  // none carries tag 1: the last record
  EXPECT_LE(searched.recordsRead(), 4u * 1024);
}

}  // namespace
}  // namespace orlisk
