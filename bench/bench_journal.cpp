// What the recovery journal costs while typing into a feature film's list
// (1500 subtitles): the history's work per keystroke with and without the
// journal listening, the bytes each keystroke appends, the journal's size
// after a long session, and the time a start takes to read it back.
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "app/core/DocumentHistory.h"
#include "files/LeftJournals.h"
#include "files/RecoveryJournal.h"

namespace {

namespace fs = std::filesystem;
using namespace orlisk;
using namespace orlisk::bench;

constexpr int kSubtitles = 1500;
constexpr int kKeystrokes = 20000;

void FillFilm(SubtitleDocument& document) {
  std::vector<SubtitleRow> rows;
  std::vector<SubtitleEntry> entries;
  for (int i = 0; i < kSubtitles; ++i) {
    const std::string text = "Subtitle number " + std::to_string(i) + " of the film,\r\nwith a second line";
    rows.push_back({TimeRangeText(2000 * i, 2000 * i + 1500), text});
    SubtitleEntry entry;
    entry.Place = {10, 300, 240};
    entry.Text = text;
    entry.TextColor = 0xFFFFFF;
    entry.BorderColor = 0xFF0000;
    entry.Border = true;
    entry.BeginTime = 2000 * i;
    entry.EndTime = 2000 * i + 1500;
    entries.push_back(entry);
  }
  document.replaceAll(std::move(rows), std::move(entries));
}

// Types kKeystrokes characters into subtitles spread over the film, one
// command per keystroke as the memo's change handler runs; the CPU time of
// each keystroke in microseconds.
std::vector<double> Type(SubtitleDocument& document, DocumentHistory& history) {
  std::vector<double> micros;
  micros.reserve(kKeystrokes);
  std::mt19937 random(7);
  int row = 0;
  for (int k = 0; k < kKeystrokes; ++k) {
    if (k % 40 == 0) row = static_cast<int>(random() % kSubtitles);
    const double start = ThreadCpuSeconds();
    history.runCommand(CommandKind::Typing, [&] {
      std::string text = document.row(row).Subtitle + static_cast<char>('a' + k % 26);
      document.setRowSubtitle(row, text);
      document.entries()[static_cast<std::size_t>(row)].Text = text.substr(0, kMaxEntryTextBytes);
    });
    micros.push_back((ThreadCpuSeconds() - start) * 1e6);
  }
  return micros;
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("orlisk-bench-journal-" + std::to_string(::getpid()));
  fs::create_directories(folder);

  SubtitleDocument plain;
  FillFilm(plain);
  DocumentHistory plainHistory(plain);
  plainHistory.startFresh();
  const std::vector<double> without = Type(plain, plainHistory);

  SubtitleDocument journalled;
  FillFilm(journalled);
  DocumentHistory history(journalled);
  RecoveryJournal::Parts parts;
  parts.Folder = folder;
  parts.VideoPath = [] { return std::string("/home/user/Videos/film.mkv"); };
  fs::path journalPath;
  {
    RecoveryJournal journal(parts);
    journalPath = journal.path();
    history.addObserver(journal);
    history.startFresh();
    const std::uintmax_t baseBytes = fs::file_size(journalPath);
    const std::vector<double> with = Type(journalled, history);
    history.removeObserver(journal);
    const std::uintmax_t endBytes = fs::file_size(journalPath);

    const double extraMedian = Median(with) - Median(without);
    const double p99 = Percentile(with, 0.99);
    std::printf("list: %d subtitles, base record %.0f KB; %d keystrokes (CPU time per keystroke)\n", kSubtitles,
                static_cast<double>(baseBytes) / 1024.0, kKeystrokes);
    std::printf("history only:       median %7.1f us   99%% %7.1f us   max %8.1f us\n", Median(without),
                Percentile(without, 0.99), Percentile(without, 1.0));
    std::printf("history + journal:  median %7.1f us   99%% %7.1f us   max %8.1f us\n", Median(with), p99,
                Percentile(with, 1.0));
    std::printf("journal after the session: %.0f KB (rewritten as one base when the changes outgrow it)\n",
                static_cast<double>(endBytes) / 1024.0);
    PrintResult("journal cost per keystroke", "median < 1 ms, 99% < 5 ms",
                Format("+%.1f us median, %.0f us 99%%", extraMedian, p99), Median(with) < 1000 && p99 < 5000);
  }  // ends without a clean close, as a crash would

  const Stopwatch reading;
  std::vector<LeftJournal> left = ClaimLeftJournals(folder);
  const double readSeconds = reading.Seconds();
  const bool whole = left.size() == 1 && left[0].contents().Subtitles == DocumentSnapshot::Of(journalled);
  PrintResult("journal read back at start", "< 1 s, every row", Format("%.0f ms, %s", readSeconds * 1000.0,
                                                                       whole ? "every row" : "ROWS DIFFER"),
              readSeconds < 1.0 && whole);
  left.clear();
  fs::remove_all(folder);
  return whole ? 0 : 1;
}
