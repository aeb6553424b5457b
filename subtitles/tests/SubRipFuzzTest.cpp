// Feeds random and mutated text and companion pairs to the reader: nothing may
// crash, and rows and entries always stay one to one.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "subtitles/SubRipFile.h"

namespace orlisk {
namespace {

std::string RandomBytes(std::mt19937& random, std::size_t maxLength) {
  std::uniform_int_distribution<std::size_t> length(0, maxLength);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(length(random), '\0');
  for (char& c : bytes) c = static_cast<char>(byte(random));
  return bytes;
}

// Overwrites, inserts or deletes a few bytes, sometimes with the characters
// that matter to the reader.
std::string Mutate(std::string bytes, std::mt19937& random) {
  static const std::string kInteresting = "0123456789\r\n \x1A$x->:,\t\0";
  std::uniform_int_distribution<int> operation(0, 3);
  std::uniform_int_distribution<int> count(1, 8);
  for (int i = count(random); i > 0; --i) {
    const std::size_t at = bytes.empty() ? 0 : std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
    const char c = operation(random) == 0 ? static_cast<char>(random())
                                          : kInteresting[random() % kInteresting.size()];
    switch (operation(random)) {
      case 0:
        if (!bytes.empty()) bytes[at] = c;
        break;
      case 1:
        bytes.insert(at, 1, c);
        break;
      case 2:
        if (!bytes.empty()) bytes.erase(at, 1);
        break;
      default:
        bytes.insert(at, std::to_string(static_cast<int>(random() % 2'000'000) - 1'000));
    }
  }
  return bytes;
}

std::pair<std::string, std::string> ValidPair(std::mt19937& random) {
  std::vector<SubtitleRow> rows;
  std::vector<SubtitleEntry> entries;
  const int count = static_cast<int>(random() % 6);
  for (int i = 0; i < count; ++i) {
    rows.push_back({TimeRangeText(i * 1000, i * 1000 + 500), "line " + std::to_string(i) + "\r\nmore"});
    SubtitleEntry entry;
    entry.Place.X = static_cast<std::int32_t>(random());
    entry.Place.Y = static_cast<std::int32_t>(random());
    entry.Tag = static_cast<std::int32_t>(random() % 8) - 1;
    entries.push_back(entry);
  }
  return {WriteSubRipText(rows), WriteCompanion(entries, count)};
}

TEST(SubRipFuzzTest, RandomAndMutatedFilesNeverBreakTheReader) {
  std::mt19937 random(20240611);
  SubRipReadContext context;
  for (int round = 0; round < 4000; ++round) {
    auto [text, companion] = ValidPair(random);
    switch (round % 4) {
      case 0:
        text = RandomBytes(random, 600);
        companion = RandomBytes(random, 900);
        break;
      case 1:
        text = Mutate(text, random);
        break;
      case 2:
        companion = Mutate(companion, random);
        break;
      default:
        text = Mutate(text, random);
        companion = Mutate(companion, random);
    }
    const SubRipReadResult result = ReadSubRip(text, companion, context);
    ASSERT_EQ(result.Rows.size(), result.Entries.size()) << "round " << round;
    for (const auto& entry : result.Entries) ASSERT_LE(entry.Text.size(), kMaxEntryTextBytes);
  }
}

}  // namespace
}  // namespace orlisk
