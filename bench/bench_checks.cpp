// What checking the whole list costs, as the list's marks do a short while
// after each change: 5,000 subtitles (a feature film) and 100,000 (the most
// the editor is held to). Mixed Latin and Chinese text, a few real findings.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "subtitles/SubtitleChecks.h"

namespace orlisk {
namespace {

void Fill(SubtitleDocument& document, int count) {
  std::vector<SubtitleRow> rows;
  std::vector<SubtitleEntry> entries;
  for (int i = 0; i < count; ++i) {
    const SubtitleTime begin = i * 2000;
    const SubtitleTime end = begin + (i % 50 == 0 ? 2100 : 1500);  // every 50th overlaps the next
    std::string text = i % 3 == 0 ? "这是第" + std::to_string(i) + "行字幕\r\n第二行"
                                  : "Subtitle line number " + std::to_string(i) + ",\r\nspoken here";
    rows.push_back({TimeRangeText(begin, end), text});
    SubtitleEntry entry;
    entry.BeginTime = begin;
    entry.EndTime = end;
    entries.push_back(entry);
  }
  document.replaceAll(std::move(rows), std::move(entries));
}

double MedianMilliseconds(const SubtitleDocument& document, int runs, std::size_t& flagged) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = bench::ThreadCpuSeconds();
    const std::vector<RowCheck> checks = CheckSubtitles(document, CheckLimits{}, 25);
    times.push_back((bench::ThreadCpuSeconds() - start) * 1e3);
    flagged = 0;
    for (const RowCheck& check : checks) flagged += check.Findings != 0;
  }
  return bench::Median(times);
}

}  // namespace
}  // namespace orlisk

int main() {
  using namespace orlisk;
  std::printf("load %s\n", bench::LoadAverage().c_str());
  struct Size {
    int Rows;
    double GoalMs;  // well under a frame of typing at 5,000; no visible pause at 100,000
  };
  for (const Size size : {Size{5000, 10}, Size{100000, 100}}) {
    SubtitleDocument document;
    Fill(document, size.Rows);
    std::size_t flagged = 0;
    const double ms = MedianMilliseconds(document, 21, flagged);
    std::printf("%d subtitles: %.2f ms a whole check (median of 21), %zu rows flagged\n", size.Rows, ms, flagged);
    bench::PrintResult(bench::Format("subtitle checks, %d subtitles", size.Rows),
                       bench::Format("< %.0f ms", size.GoalMs), bench::Format("%.2f ms", ms), ms < size.GoalMs);
  }
  return 0;
}
