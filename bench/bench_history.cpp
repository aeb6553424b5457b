// What the list's history costs: the check after every command (Timer1 runs
// it five times per frame while playing), a keystroke in a long list, an undo
// of a clear, and the memory the steps hold at their limits.
#include <cstdio>
#include <string>
#include <vector>

#include "app/core/DocumentHistory.h"
#include "bench/BenchClock.h"
#include "bench/BenchSubtitles.h"

namespace orlisk {
namespace {

constexpr int kRows = 5000;

void Fill(SubtitleDocument& doc) { bench::FillEvenList(doc, kRows, 0, ", spoken here"); }

template <typename F>
double MedianMicroseconds(int runs, F&& run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = bench::ThreadCpuSeconds();
    run(i);
    times.push_back((bench::ThreadCpuSeconds() - start) * 1e6);
  }
  return bench::Median(times);
}

}  // namespace
}  // namespace orlisk

int main() {
  using namespace orlisk;
  SubtitleDocument doc;
  Fill(doc);
  DocumentHistory history(doc);
  history.startFresh();

  const double idle = MedianMicroseconds(2000, [&](int) { history.runCommand(CommandKind::Background, [] {}); });
  std::string typed = doc.row(kRows / 2).Subtitle;
  const double keystroke = MedianMicroseconds(500, [&](int) {
    history.runCommand(CommandKind::Typing, [&] {
      typed += "x";
      doc.setRowSubtitle(kRows / 2, typed);
      doc.entries()[kRows / 2].Text = typed.substr(0, kMaxEntryTextBytes);
    });
  });
  const double clearAndUndo = MedianMicroseconds(20, [&](int) {
    history.runCommand(CommandKind::UserAction, [&] {
      doc.clearRows();
      doc.resizeEntries(0);
    });
    history.undo();
  });
  // Every step a clear of the whole list: the limits decide what stays.
  for (int i = 0; i < 400; ++i) {
    history.runCommand(CommandKind::UserAction, [&] {
      if (i % 2 == 0) {
        doc.clearRows();
        doc.resizeEntries(0);
      } else {
        Fill(doc);
      }
    });
  }
  const double heldMiB = static_cast<double>(history.heldBytes()) / (1 << 20);

  std::printf("%d subtitles; load %s\n", kRows, bench::LoadAverage().c_str());
  std::printf("check after a command that changed nothing: %.1f us (median of 2000)\n", idle);
  std::printf("keystroke recorded (joining its run):        %.1f us (median of 500)\n", keystroke);
  std::printf("clear and its undo:                          %.1f us (median of 20)\n", clearAndUndo);
  std::printf("400 whole-list steps: %zu kept, %.1f MiB held\n", history.undoCount(), heldMiB);
  bench::PrintResult("history check per command", "< 1000 us (5000 rows)", bench::Format("%.1f us", idle),
                     idle < 1000);
  bench::PrintResult("history keystroke", "< 5000 us (5000 rows)", bench::Format("%.1f us", keystroke),
                     keystroke < 5000);
  bench::PrintResult("history memory at its limit", "<= 64 MiB + one step", bench::Format("%.1f MiB", heldMiB),
                     heldMiB <= 64 + 4);
  return 0;
}
