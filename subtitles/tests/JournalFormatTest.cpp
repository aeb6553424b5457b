#include "subtitles/JournalFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orlisk {
namespace {

// A subtitle with every field set to something of its own.
SubtitleEntry EntryFor(int i, const std::string& text) {
  SubtitleEntry entry;
  entry.Place = {10 + i, -20 - i, 240 + i, i % 3 == 0};
  entry.Text = text;
  entry.Tag = i + 1;
  entry.BorderColor = 0x00FF0000u + static_cast<Colour>(i);
  entry.TextColor = 0x0000FFFFu;
  entry.Font = 0xDEADBEEFu - static_cast<std::uint32_t>(i);
  entry.Border = i % 2 == 0;
  entry.BeginTime = 1000 * i - 5;
  entry.EndTime = 2147483647 - i;
  return entry;
}

DocumentSnapshot ListOf(const std::vector<std::string>& texts) {
  DocumentSnapshot list;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    list.Rows.push_back({"00:00:0" + std::to_string(i) + ",000 --> 00:00:09,999", texts[i]});
    list.Entries.push_back(EntryFor(static_cast<int>(i), texts[i]));
  }
  return list;
}

// The journal of a short session: a base, then a few changes as the editor reports them.
struct Session {
  std::string bytes = JournalHeader();
  DocumentSnapshot now;
  std::vector<std::size_t> recordEnds;  // where each record ends

  explicit Session(const DocumentSnapshot& start, const std::string& video = "/videos/film.mkv") : now(start) {
    add(EncodeJournalBase(start, video, JournalBaseKind::Unsaved, 1000));
  }
  void change(const DocumentSnapshot& after, std::int64_t time) {
    const auto splice = SpliceBetween(now, after);
    ASSERT_TRUE(splice);
    add(EncodeJournalChange(*splice, time));
    now = after;
  }
  void add(const std::string& record) {
    bytes += record;
    recordEnds.push_back(bytes.size());
  }
};

TEST(JournalFormatTest, ReplaysABaseAndItsChangesToTheLastOneExactly) {
  Session session(ListOf({"Hello", "World"}), "/home/u/Videos/a film.mkv");
  session.change(ListOf({"Hello", "Wor"}), 2000);
  session.change(ListOf({"Hello", "Wor", "Ünïcode\r\nline two"}), 3000);
  session.change(ListOf({"Hello", "Ünïcode\r\nline two"}), 4000);

  const JournalContents read = ReadJournal(session.bytes);
  EXPECT_EQ(read.Status, JournalReadStatus::Complete);
  EXPECT_EQ(read.Subtitles, session.now);  // times, texts, places, styles and tags
  EXPECT_EQ(read.VideoPath, "/home/u/Videos/a film.mkv");
  EXPECT_EQ(read.LastChangeMs, 4000);
  EXPECT_EQ(read.ChangesSinceBase, 3);
  EXPECT_TRUE(read.HoldsUnsavedWork);
  EXPECT_EQ(read.GoodBytes, session.bytes.size());
}

// A journal cut anywhere (a kill in the middle of a write) gives the list as
// the last whole record left it, whichever byte the cut falls on.
TEST(JournalFormatTest, ACutAnywhereRestoresEverythingBeforeTheCutRecord) {
  Session session(ListOf({"one"}));
  std::vector<DocumentSnapshot> states{session.now};
  for (const auto& texts : std::vector<std::vector<std::string>>{
           {"one", "t"}, {"one", "tw"}, {"one", "two"}, {"one", "two", "three"}, {"two", "three"}}) {
    session.change(ListOf(texts), 5000);
    states.push_back(session.now);
  }
  for (std::size_t cut = kJournalHeaderBytes; cut < session.bytes.size(); ++cut) {
    const JournalContents read = ReadJournal(std::string_view(session.bytes).substr(0, cut));
    std::size_t whole = 0;
    while (whole < session.recordEnds.size() && session.recordEnds[whole] <= cut) ++whole;
    if (whole == 0) {
      EXPECT_TRUE(read.Subtitles.Rows.empty()) << "cut at " << cut;
      EXPECT_FALSE(read.HoldsUnsavedWork);
      continue;
    }
    const bool atRecordEnd = session.recordEnds[whole - 1] == cut;
    EXPECT_EQ(read.Status, atRecordEnd ? JournalReadStatus::Complete : JournalReadStatus::Damaged) << cut;
    EXPECT_EQ(read.Subtitles, states[whole - 1]) << "cut at " << cut;
    EXPECT_EQ(read.GoodBytes, session.recordEnds[whole - 1]);
  }
}

struct DamageCase {
  const char* name;
  std::size_t offsetInThirdRecord;  // a byte of the third record flipped
};

class JournalDamageTest : public ::testing::TestWithParam<DamageCase> {};

// A damaged byte in the length, the checksum or the payload of a record ends
// the journal there; the records before it still count.
TEST_P(JournalDamageTest, ADamagedRecordEndsTheJournalWithWhatCameBefore) {
  Session session(ListOf({"a"}));
  session.change(ListOf({"a", "b"}), 2000);
  const DocumentSnapshot beforeDamage = session.now;
  session.change(ListOf({"a", "b", "c"}), 3000);
  session.change(ListOf({"a", "b", "c", "d"}), 4000);
  std::string damaged = session.bytes;
  damaged[session.recordEnds[1] + GetParam().offsetInThirdRecord] ^= 0x40;

  const JournalContents read = ReadJournal(damaged);
  EXPECT_EQ(read.Status, JournalReadStatus::Damaged);
  EXPECT_EQ(read.Subtitles, beforeDamage);
  EXPECT_EQ(read.LastChangeMs, 2000);
}

INSTANTIATE_TEST_SUITE_P(Bytes, JournalDamageTest,
                         ::testing::Values(DamageCase{"Length", 0}, DamageCase{"LengthHighByte", 3},
                                           DamageCase{"Checksum", 5}, DamageCase{"Kind", 8},
                                           DamageCase{"Text", 40}),
                         [](const auto& info) { return info.param.name; });

// A record that passes its checksum but cannot apply to the list (a bug or a
// deliberate edit) is damage too, never a crash or an out-of-range write.
TEST(JournalFormatTest, AChangeThatDoesNotFitTheListIsDamage) {
  Session session(ListOf({"a"}));
  DocumentSplice beyond{5, 1, {}, {}};
  session.add(EncodeJournalChange(beyond, 2000));
  const JournalContents read = ReadJournal(session.bytes);
  EXPECT_EQ(read.Status, JournalReadStatus::Damaged);
  EXPECT_EQ(read.Subtitles, ListOf({"a"}));
}

TEST(JournalFormatTest, AHugeCountInADamagedRecordIsRefusedWithoutReserving) {
  std::string bytes = JournalHeader();
  std::string payload;
  payload += '\x01';                          // base
  payload += std::string(8, '\0');            // time
  payload += '\0';                            // unsaved
  payload += std::string(4, '\0');            // no video
  payload += std::string("\xFF\xFF\xFF\x7F", 4);  // two thousand million subtitles
  std::string frame(8, '\0');
  const std::uint32_t length = static_cast<std::uint32_t>(payload.size());
  const std::uint32_t sum = JournalChecksum(payload);
  for (int i = 0; i < 4; ++i) {
    frame[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    frame[4 + i] = static_cast<char>((sum >> (8 * i)) & 0xFF);
  }
  const JournalContents read = ReadJournal(bytes + frame + payload);
  EXPECT_EQ(read.Status, JournalReadStatus::DamagedBase);
  EXPECT_TRUE(read.Subtitles.Rows.empty());
}

struct HeaderCase {
  const char* name;
  std::string bytes;
  JournalReadStatus status;
};

class JournalHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(JournalHeaderTest, TellsForeignNewerAndEmptyJournals) {
  EXPECT_EQ(ReadJournal(GetParam().bytes).Status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, JournalHeaderTest,
    ::testing::Values(HeaderCase{"NoBytes", "", JournalReadStatus::Empty},
                      HeaderCase{"CutInTheMagic", "ORLSK", JournalReadStatus::Empty},
                      HeaderCase{"HeaderOnly", JournalHeader(), JournalReadStatus::Empty},
                      HeaderCase{"SomeoneElsesFile", "<?xml version=\"1.0\"?><notes/>", JournalReadStatus::Foreign},
                      HeaderCase{"ShortForeign", "PK\x03\x04", JournalReadStatus::Foreign},
                      HeaderCase{"NewerVersion", std::string("ORLSKJNL\x02\0\0\0", 12) + "whatever comes",
                                 JournalReadStatus::Newer},
                      HeaderCase{"VersionZero", std::string("ORLSKJNL\0\0\0\0", 12), JournalReadStatus::Foreign},
                      HeaderCase{"ChangeWithoutBase",
                                 JournalHeader() + EncodeJournalChange({0, 0, {}, {}}, 1),
                                 JournalReadStatus::DamagedBase},
                      HeaderCase{"BaseDamaged",
                                 JournalHeader() + EncodeJournalBase(ListOf({"a"}), "", JournalBaseKind::Unsaved, 1)
                                                       .replace(20, 1, "?"),
                                 JournalReadStatus::DamagedBase}),
    [](const auto& info) { return info.param.name; });

struct WorkCase {
  const char* name;
  JournalBaseKind base;
  std::vector<std::string> start;
  std::vector<std::string> end;
  bool unsaved;
};

class JournalUnsavedWorkTest : public ::testing::TestWithParam<WorkCase> {};

// Only a list that differs from what was saved is worth a question at start.
TEST_P(JournalUnsavedWorkTest, TellsWhetherTheRunLostWork) {
  const WorkCase& c = GetParam();
  std::string bytes = JournalHeader() + EncodeJournalBase(ListOf(c.start), "", c.base, 1);
  if (auto splice = SpliceBetween(ListOf(c.start), ListOf(c.end))) bytes += EncodeJournalChange(*splice, 2);
  EXPECT_EQ(ReadJournal(bytes).HoldsUnsavedWork, c.unsaved);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, JournalUnsavedWorkTest,
    ::testing::Values(WorkCase{"SavedUntouched", JournalBaseKind::Saved, {"a"}, {"a"}, false},
                      WorkCase{"SavedThenChanged", JournalBaseKind::Saved, {"a"}, {"a", "b"}, true},
                      WorkCase{"RestoredNotYetSaved", JournalBaseKind::Unsaved, {"a"}, {"a"}, true},
                      WorkCase{"StartedEmptyAndStayedSo", JournalBaseKind::Unsaved, {}, {}, false},
                      WorkCase{"EverythingCleared", JournalBaseKind::Unsaved, {"a", "b"}, {}, false},
                      WorkCase{"TypedFromNothing", JournalBaseKind::Unsaved, {}, {"a"}, true}),
    [](const auto& info) { return info.param.name; });

TEST(JournalFormatTest, TheChecksumIsTheStandardCrc32) {
  EXPECT_EQ(JournalChecksum("123456789"), 0xCBF43926u);
  EXPECT_EQ(JournalChecksum(""), 0u);
}

}  // namespace
}  // namespace orlisk
