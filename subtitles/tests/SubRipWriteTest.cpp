#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "subtitles/SubRipFile.h"

namespace orlisk {
namespace {

TEST(WriteSubRipTextTest, TwoRowsGiveNineCrLfLines) {
  const std::vector<SubtitleRow> rows = {{TimeRangeText(1'000, 2'500), "Hello"},
                                         {TimeRangeText(3'000, 4'000), "A\r\nB"}};
  EXPECT_EQ(WriteSubRipText(rows),
            "0\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n \r\n"
            "1\r\n00:00:03,000 --> 00:00:04,000\r\nA\r\nB\r\n \r\n");
}

TEST(WriteSubRipTextTest, EmptyListAndEmptyText) {
  EXPECT_EQ(WriteSubRipText({}), "");
  EXPECT_EQ(WriteSubRipText({{"t", ""}}), "0\r\nt\r\n\r\n \r\n");
}

TEST(WriteSubRipTextTest, NumbersCountFromZeroWithoutLeadingZeros) {
  const std::vector<SubtitleRow> rows(11, SubtitleRow{"t", "x"});
  const std::string text = WriteSubRipText(rows);
  EXPECT_NE(text.find("\r\n \r\n10\r\nt\r\n"), std::string::npos);
  EXPECT_EQ(text.find("01\r\n"), std::string::npos);
}

SubtitleEntry SampleEntry() {
  SubtitleEntry entry;
  entry.Place.X = -2;
  entry.Place.Y = 0x01020304;
  entry.Place.DrawLevel = 240;
  entry.Text = "Hi\r\nthere";
  entry.Tag = 7;
  entry.BorderColor = 16711680;
  entry.TextColor = 0x00FFFFFF;
  entry.Font = 0xDEADBEEF;
  entry.Border = true;
  entry.BeginTime = 1'000;
  entry.EndTime = -1;
  return entry;
}

TEST(CompanionRecordTest, FieldsSitAtTheirOffsetsLittleEndian) {
  const std::string record = EncodeCompanionRecord(SampleEntry());
  ASSERT_EQ(record.size(), kCompanionRecordSize);
  const auto bytes = [&](std::size_t offset, std::size_t count) { return record.substr(offset, count); };
  EXPECT_EQ(bytes(0, 4), "\xFE\xFF\xFF\xFF");
  EXPECT_EQ(bytes(4, 4), "\x04\x03\x02\x01");
  EXPECT_EQ(bytes(8, 4), std::string("\xF0\x00\x00\x00", 4));
  EXPECT_EQ(bytes(12, 1), "\x09");
  EXPECT_EQ(bytes(13, 9), "Hi\r\nthere");
  EXPECT_EQ(bytes(22, 245), std::string(245, '\0'));
  EXPECT_EQ(bytes(267, 1), "\x01");  // placed by hand
  EXPECT_EQ(bytes(268, 4), std::string("\x07\x00\x00\x00", 4));
  EXPECT_EQ(bytes(272, 4), std::string("\x00\x00\xFF\x00", 4));
  EXPECT_EQ(bytes(276, 4), std::string("\xFF\xFF\xFF\x00", 4));
  EXPECT_EQ(bytes(280, 4), "\xEF\xBE\xAD\xDE");
  EXPECT_EQ(bytes(284, 4), std::string("\x01\x00\x00\x00", 4));
  EXPECT_EQ(bytes(288, 4), std::string("\xE8\x03\x00\x00", 4));
  EXPECT_EQ(bytes(292, 4), "\xFF\xFF\xFF\xFF");
  EXPECT_EQ(DecodeCompanionRecord(record), SampleEntry());
}

TEST(CompanionRecordTest, TextIsCutTo255BytesWithoutSplittingACharacter) {
  SubtitleEntry entry;
  entry.Text = "a";
  for (int i = 0; i < 100; ++i) entry.Text += "\xE5\xAD\x97";  // three bytes each
  const std::string record = EncodeCompanionRecord(entry);
  EXPECT_EQ(static_cast<unsigned char>(record[12]), 253);
  EXPECT_EQ(DecodeCompanionRecord(record).Text, entry.Text.substr(0, 253));
}

TEST(CompanionRecordTest, KeepsWhetherThePlaceIsCentredInTheTextFieldsLastByte) {
  for (const bool centred : {false, true}) {
    SubtitleEntry entry = SampleEntry();
    entry.Text = std::string(255, 'w');
    entry.Place.Centred = centred;
    const std::string record = EncodeCompanionRecord(entry);
    EXPECT_EQ(static_cast<unsigned char>(record[12]), 254);  // the field's last byte stays free
    EXPECT_EQ(record[267], centred ? 2 : 1);
    EXPECT_EQ(DecodeCompanionRecord(record).Place.Centred, centred);
  }
}

TEST(CompanionRecordTest, RefusesRecordsOfAnotherSize) {
  EXPECT_THROW(DecodeCompanionRecord(std::string(295, '\0')), std::invalid_argument);
  EXPECT_THROW(DecodeCompanionRecord(std::string(297, '\0')), std::invalid_argument);
}

TEST(CompanionTest, WritesCountRecordsInOrder) {
  SubtitleEntry first = SampleEntry();
  SubtitleEntry second = SampleEntry();
  second.Place.X = 99;
  const std::string bytes = WriteCompanion({first, second}, 3);
  ASSERT_EQ(bytes.size(), 3 * kCompanionRecordSize);
  EXPECT_EQ(DecodeCompanionRecord(bytes.substr(0, kCompanionRecordSize)), first);
  EXPECT_EQ(DecodeCompanionRecord(bytes.substr(kCompanionRecordSize, kCompanionRecordSize)).Place.X, 99);
  // More records asked for than entries given: the rest are empty entries.
  EXPECT_EQ(DecodeCompanionRecord(bytes.substr(2 * kCompanionRecordSize)), SubtitleEntry{});
  EXPECT_EQ(WriteCompanion({first}, 0), "");
}

struct LooksLikeCase {
  const char* name;
  std::string bytes;
  bool companion;
};

class LooksLikeCompanionTest : public ::testing::TestWithParam<LooksLikeCase> {};

TEST_P(LooksLikeCompanionTest, TellsCompanionsFromVideos) {
  EXPECT_EQ(LooksLikeCompanion(GetParam().bytes), GetParam().companion);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LooksLikeCompanionTest,
    ::testing::Values(LooksLikeCase{"Empty", "", true},
                      LooksLikeCase{"TwoRecords", std::string(2 * kCompanionRecordSize, '\0'), true},
                      LooksLikeCase{"PartRecord", std::string(kCompanionRecordSize + 1, '\0'), false},
                      LooksLikeCase{"AviVideo", "RIFF" + std::string(kCompanionRecordSize - 4, 'x'), false},
                      LooksLikeCase{"VcdVideo",
                                    std::string("\x00\x00\x01\xBA", 4) + std::string(kCompanionRecordSize - 4, 'x'),
                                    false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orlisk
