#include "subtitles/DocumentChange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "subtitles/SpliceSequence.h"

namespace orlisk {
namespace {

DocumentSnapshot SnapshotOf(const std::vector<std::string>& texts) {
  DocumentSnapshot snapshot;
  for (const std::string& text : texts) {
    snapshot.Rows.push_back({"00:00:01,000 --> 00:00:02,000", text});
    SubtitleEntry entry;
    entry.Text = text;
    snapshot.Entries.push_back(entry);
  }
  return snapshot;
}

struct SpliceCase {
  const char* name;
  std::vector<std::string> before;
  std::vector<std::string> after;
  int first;
  int removed;
  std::size_t added;
};

class SpliceBetweenTest : public ::testing::TestWithParam<SpliceCase> {};

// Each kind of list edit is found as the smallest splice, and the splice and
// its inverse lead from one state to the other and back.
TEST_P(SpliceBetweenTest, FindsTheSmallestSpliceAndItsInverseGoesBack) {
  const SpliceCase& c = GetParam();
  const DocumentSnapshot before = SnapshotOf(c.before);
  const DocumentSnapshot after = SnapshotOf(c.after);
  const auto change = SpliceBetween(before, after);
  ASSERT_TRUE(change.has_value());
  EXPECT_EQ(change->First, c.first);
  EXPECT_EQ(change->RemovedCount, c.removed);
  EXPECT_EQ(change->Rows.size(), c.added);

  DocumentSnapshot redone = before;
  ApplySplice(redone, *change);
  EXPECT_EQ(redone, after);
  ApplySplice(redone, InverseOf(*change, before));
  EXPECT_EQ(redone, before);
}

INSTANTIATE_TEST_SUITE_P(
    ListEdits, SpliceBetweenTest,
    ::testing::Values(SpliceCase{"InsertInTheMiddle", {"a", "b"}, {"a", "x", "b"}, 1, 0, 1},
                      SpliceCase{"AppendToEmpty", {}, {"a"}, 0, 0, 1},
                      SpliceCase{"RemoveFirst", {"a", "b", "c"}, {"b", "c"}, 0, 1, 0},
                      SpliceCase{"EditOne", {"a", "b", "c"}, {"a", "B", "c"}, 1, 1, 1},
                      SpliceCase{"ClearAll", {"a", "b"}, {}, 0, 2, 0},
                      SpliceCase{"RepeatedRowInserted", {"a", "a"}, {"a", "a", "a"}, 2, 0, 1},
                      SpliceCase{"ReplaceEverything", {"a", "b"}, {"c", "d", "e"}, 0, 2, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DocumentChange, SameWorkIsNoChangeEvenWhenTheTagMoved) {
  const DocumentSnapshot before = SnapshotOf({"a", "b"});
  DocumentSnapshot after = before;
  after.Entries[1].Tag = 7;
  EXPECT_FALSE(SpliceBetween(before, after).has_value());
  after.Entries[1].Place.X = 12;
  const auto moved = SpliceBetween(before, after);
  ASSERT_TRUE(moved.has_value());
  EXPECT_EQ(moved->First, 1);
  EXPECT_EQ(moved->RemovedCount, 1);
}

TEST(DocumentChange, SnapshotTakesOnlyTheEntriesThatBelongToRows) {
  SubtitleDocument document;
  document.replaceAll({{"t", "a"}}, std::vector<SubtitleEntry>(3));
  EXPECT_EQ(DocumentSnapshot::Of(document).Entries.size(), 1u);
  document.replaceAll({{"t", "a"}, {"t", "b"}}, {});
  EXPECT_EQ(DocumentSnapshot::Of(document).Entries.size(), 2u);
}

TEST(DocumentChange, ASpliceThatDoesNotFitIsRefusedAndChangesNothing) {
  DocumentSnapshot snapshot = SnapshotOf({"a"});
  DocumentSplice tooFar{1, 1, {}, {}};
  EXPECT_THROW(ApplySplice(snapshot, tooFar), std::out_of_range);
  DocumentSplice unpaired{0, 0, {{"t", "x"}}, {}};
  EXPECT_THROW(ApplySplice(snapshot, unpaired), std::out_of_range);
  EXPECT_EQ(snapshot, SnapshotOf({"a"}));
}

TEST(DocumentChange, ApplyingToADocumentReplacesRowsAndEntries) {
  SubtitleDocument document;
  const DocumentSnapshot start = SnapshotOf({"a", "b"});
  document.replaceAll(start.Rows, start.Entries);
  ApplySplice(document, *SpliceBetween(start, SnapshotOf({"a", "c", "b"})));
  EXPECT_EQ(DocumentSnapshot::Of(document), SnapshotOf({"a", "c", "b"}));
}

// The sequence a journal is replayed into gives, splice after splice, the
// list a plain vector gives: inserts, removals and replacements anywhere,
// including at both ends and of the whole list, and refuses what does not fit.
TEST(SpliceSequenceTest, GivesWhatApplyingEachSpliceToTheListGives) {
  std::mt19937 random(3);
  DocumentSnapshot expected = SnapshotOf({"a", "b", "c"});
  SpliceSequence sequence(expected);
  for (int k = 0; k < 2000; ++k) {
    const int count = static_cast<int>(expected.Rows.size());
    DocumentSplice change;
    change.First = static_cast<int>(random() % static_cast<unsigned>(count + 1));
    change.RemovedCount = static_cast<int>(random() % static_cast<unsigned>(std::min(count - change.First, 3) + 1));
    if (k % 500 == 499) change = {0, count, {}, {}};  // everything removed
    const std::size_t added = random() % 5;
    for (std::size_t i = 0; i < added; ++i) {
      const DocumentSnapshot one = SnapshotOf({"k" + std::to_string(k) + "." + std::to_string(i)});
      change.Rows.push_back(one.Rows[0]);
      change.Entries.push_back(one.Entries[0]);
    }
    ApplySplice(expected, change);
    sequence.apply(change);
    ASSERT_EQ(sequence.size(), expected.Rows.size()) << "after splice " << k;
  }
  EXPECT_EQ(sequence.snapshot(), expected);
  EXPECT_THROW(sequence.apply({static_cast<int>(expected.Rows.size()), 1, {}, {}}), std::out_of_range);
  EXPECT_EQ(sequence.snapshot(), expected);
}

}  // namespace
}  // namespace orlisk
