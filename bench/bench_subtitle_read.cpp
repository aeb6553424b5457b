// Reading a long subtitle pair from disk, as File > Open and orlisk-burn do:
// 2,500, 10,000 and 200,000 rows with the companion this version writes, with a
// companion of older records, and without a companion.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "files/SubtitleFiles.h"
#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

constexpr SubtitlePlacement kStart{.X = 10, .Y = 400, .DrawLevel = 240, .Centred = true};

struct Pair {
  std::vector<SubtitleRow> rows;
  std::vector<SubtitleEntry> entries;
};

// Rows two seconds apart; every fifth one has two lines, every third one was
// placed by hand.
Pair MakePair(int count) {
  Pair pair;
  for (int i = 0; i < count; ++i) {
    std::string text = "Subtitle line number " + std::to_string(i) + ", spoken here";
    if (i % 5 == 0) text += "\r\nand a second line under it";
    pair.rows.push_back({TimeRangeText(i * 2000, i * 2000 + 1500), text});
    SubtitleEntry entry;
    entry.Place = kStart;
    if (i % 3 == 0) entry.Place = {.X = 40 + i % 100, .Y = 300, .DrawLevel = 240, .Centred = false};
    entry.Text = text;
    entry.Tag = i;
    entry.Border = true;
    entry.BeginTime = i * 2000;
    entry.EndTime = i * 2000 + 1500;
    pair.entries.push_back(entry);
  }
  return pair;
}

double ReadSeconds(const std::filesystem::path& text) {
  SubRipReadContext context;
  context.Placement = kStart;
  const bench::Stopwatch watch;
  const SubtitleFilesRead read = ReadSubtitleFiles(text, LegacyCodePage::Windows1252, context);
  const double seconds = watch.Seconds();
  if (read.Result.Rows.empty()) std::printf("  (nothing read)\n");
  return seconds;
}

// A companion as versions before the centring flag wrote it: the flags byte
// at the end of every record's text field left zero.
std::string WithoutFlags(std::string companion) {
  constexpr std::size_t kLastTextByte = 267;
  for (std::size_t at = kLastTextByte; at < companion.size(); at += kCompanionRecordSize) companion[at] = '\0';
  return companion;
}

}  // namespace
}  // namespace orlisk

int main() {
  using namespace orlisk;
  testing::TempFolder folder;
  double twoHundredThousand = 0;
  std::printf("%10s %14s %14s %14s\n", "rows", "this version", "older .dat", "no .dat");
  for (const int count : {2'500, 10'000, 200'000}) {
    const Pair pair = MakePair(count);
    const auto text = folder.path() / ("rows" + std::to_string(count) + ".srt");
    SaveSubtitleFiles(text, CompanionPathFor(text), pair.rows, pair.entries);
    const double current = ReadSeconds(text);
    testing::WriteBytes(CompanionPathFor(text), WithoutFlags(testing::ReadBytes(CompanionPathFor(text))));
    const double older = ReadSeconds(text);
    std::filesystem::remove(CompanionPathFor(text));
    const double none = ReadSeconds(text);
    std::printf("%10d %12.3f s %12.3f s %12.3f s\n", count, current, older, none);
    if (count == 200'000) twoHundredThousand = std::max({current, older, none});
  }
  bench::PrintResult("read 200,000 subtitle rows", "under 2 s", bench::Format("%.3f s", twoHundredThousand),
                     twoHundredThousand < 2.0);
  return 0;
}
