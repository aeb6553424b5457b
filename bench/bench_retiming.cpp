// The timing tools on a list of 100,000 subtitles, each run as the window
// runs it: inside the history (which compares the list and keeps the step)
// with the list's model and view attached, the view's repaint included. A
// tool should leave no visible pause: the goal is 100 ms each, undo too.
#include <QApplication>
#include <QTableView>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/core/tests/FakeSeams.h"
#include "app/ui/SubtitleList.h"
#include "bench/BenchClock.h"
#include "bench/BenchSubtitles.h"

namespace orlisk {
namespace {

constexpr int kSubtitles = 100000;

void Fill(SubtitleDocument& doc) { bench::FillEvenList(doc, kSubtitles, 10000, ""); }

}  // namespace
}  // namespace orlisk

int main(int argc, char** argv) {
  using namespace orlisk;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::UserSession session;
  testing::Rig& rig = session.rig;
  rig.reader.duration = 10000 + kSubtitles * 2000 + 60000;
  SubtitleListModel model(rig.state.Document);
  QTableView view;
  view.setModel(&model);
  view.resize(600, 400);
  view.show();
  Fill(rig.state.Document);
  session.history.startFresh();
  QApplication::processEvents();
  rig.list.selected = kSubtitles / 2;
  session.user([&] { rig.controller.SelectSubtitle(); });

  TimingCommands& timing = rig.controller.timing();
  struct Tool {
    const char* name;
    std::function<void()> run;
  };
  const Tool tools[] = {
      {"nudge begin one frame", [&] { timing.NudgeTime(TimeEdge::Begin, NudgeStep::FrameLater); }},
      {"nudge end 100 ms", [&] { timing.NudgeTime(TimeEdge::End, NudgeStep::Later100); }},
      {"still step one frame", [&] { timing.StepFrames(1); }},
      {"shift every subtitle", [&] { timing.ShiftTimes(-250, ShiftScope::EverySubtitle); }},
      {"shift from the one at hand", [&] { timing.ShiftTimes(400, ShiftScope::FromSubtitleAtHand); }},
      {"two-point sync", [&] { timing.SyncTwoPoints({0, 9000}, {kSubtitles - 1, 199000000}); }},
      {"frame-rate conversion", [&] { timing.ConvertFrameRate({24000, 1001}, {25, 1}); }},
  };
  std::printf("%d subtitles; load %s\n", kSubtitles, bench::LoadAverage().c_str());
  double worst = 0;
  for (const Tool& tool : tools) {
    std::vector<double> runs, undos;
    for (int i = 0; i < 5; ++i) {
      bench::Stopwatch watch;
      session.user(tool.run);
      QApplication::processEvents();
      runs.push_back(watch.Seconds() * 1000);
      bench::Stopwatch undoWatch;
      session.user([&] { rig.controller.Undo(); });
      QApplication::processEvents();
      undos.push_back(undoWatch.Seconds() * 1000);
    }
    const double median = bench::Median(runs), undo = bench::Median(undos);
    worst = std::max({worst, median, undo});
    std::printf("%-28s %7.1f ms, its undo %7.1f ms (medians of 5)%s\n", tool.name, median, undo,
                rig.messages.shown.empty() ? "" : "  (refused!)");
  }
  bench::PrintResult("slowest timing tool or undo", "< 100 ms (100,000 rows)", bench::Format("%.1f ms", worst),
                     worst < 100);
  return 0;
}
