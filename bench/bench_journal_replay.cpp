// What reading back a recovery journal costs after a crash with a long list:
// a base of 20,000 (and 50,000) subtitles followed by 33,000 changes, as a
// long session of typing, inserting and removing leaves them, replayed the
// way the editor's start does before it asks to restore.
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "subtitles/JournalFormat.h"

namespace {

using namespace orlisk;
using namespace orlisk::bench;

constexpr int kChanges = 33'000;

SubtitleEntry EntryFor(const std::string& text, int begin) {
  return {.Place = {10, 300, 240}, .Text = text, .Tag = 0, .BorderColor = 0xFF0000, .TextColor = 0xFFFFFF,
          .Font = 0, .Border = true, .BeginTime = begin, .EndTime = begin + 1500};
}

// A journal of `rows` subtitles and kChanges changes spread over the list:
// mostly a text typed into one subtitle, some inserted and removed rows.
std::string Journal(int rows) {
  DocumentSnapshot base;
  for (int i = 0; i < rows; ++i) {
    const std::string text = "Subtitle number " + std::to_string(i) + " of the film";
    base.Rows.push_back({TimeRangeText(2000 * i, 2000 * i + 1500), text});
    base.Entries.push_back(EntryFor(text, 2000 * i));
  }
  std::string bytes = JournalHeader() + EncodeJournalBase(base, "/home/user/Videos/film.mkv",
                                                          JournalBaseKind::Unsaved, 1'000);
  std::mt19937 random(11);
  int count = rows;
  for (int k = 0; k < kChanges; ++k) {
    const int roll = static_cast<int>(random() % 10);
    const int at = static_cast<int>(random() % static_cast<unsigned>(count));
    const std::string text = "typed " + std::to_string(k);
    DocumentSplice change{.First = at, .RemovedCount = 1, .Rows = {}, .Entries = {}};
    const bool removes = roll == 1 && count > 1;
    if (roll == 0) change.RemovedCount = 0;  // a new subtitle
    count += roll == 0 ? 1 : removes ? -1 : 0;
    if (!removes) {
      change.Rows.push_back({TimeRangeText(2000 * at, 2000 * at + 1500), text});
      change.Entries.push_back(EntryFor(text, 2000 * at));
    }
    bytes += EncodeJournalChange(change, 2'000 + k);
  }
  return bytes;
}

}  // namespace

int main() {
  bool met = true;
  for (const int rows : {20'000, 50'000}) {
    const std::string bytes = Journal(rows);
    const Stopwatch replay;
    const double cpuStart = ThreadCpuSeconds();
    const JournalContents contents = ReadJournal(bytes);
    const double cpuSeconds = ThreadCpuSeconds() - cpuStart;
    const double seconds = replay.Seconds();
    const bool whole = contents.Status == JournalReadStatus::Complete && contents.ChangesSinceBase == kChanges;
    std::printf("journal of %d subtitles and %d changes (%.1f MB): replayed in %.3f s (%.3f s CPU), %zu subtitles "
                "after it%s\n",
                rows, kChanges, static_cast<double>(bytes.size()) / 1e6, seconds, cpuSeconds,
                contents.Subtitles.Rows.size(), whole ? "" : " (NOT EVERY CHANGE READ)");
    if (rows == 20'000) {
      // The CPU time is the replay's own work, whatever else the machine is doing.
      met = cpuSeconds < 1.0 && whole;
      PrintResult("journal replay, 20,000 subtitles and 33,000 changes", "< 1 s CPU", Format("%.3f s", cpuSeconds),
                  met);
    }
  }
  return met ? 0 : 1;
}
