// Playback of the 1080p25 H.264 + AAC clip on a quiet machine and on a busy
// one, against ffplay on the same clip under the same conditions. Busy means
// two more processes spinning on the CPU for the length of the run (bounded:
// they end by themselves after the run and die with this program). ffplay
// runs headless (SDL's dummy video and audio drivers) in a 566x378 window,
// the size of our view, and its status line gives its dropped frames (fd)
// and its sound against picture (A-V) every 30 ms; ours is measured the same
// way (PlaybackRun.h). The two take turns, the first alternating by round.
//
// Goal, under both conditions: ours no worse than ffplay on frames not shown
// (ours passed over, ffplay dropped) and on the sound against the picture
// (95th percentile of |A-V|, which also tells how late the pictures shown
// were). Our late frames are printed too; ffplay does not count its own.
// Each player times the picture against its own idea of the sound heard:
// ours counts the one device buffer SDL took last as playing, ffplay counts
// two of its buffers as still to come (2048 samples each at 44.1 kHz). SDL's
// dummy device plays one buffer while the next waits, so ffplay's A-V reads
// about one of its buffers (46 ms) lower than the sound it has really played
// would give. The verdicts take ffplay's figures as it prints them; the
// figure with its buffer added is printed beside them.
//
// Usage: bench_load [seconds per run, default 30] [rounds, default 1]
//        bench_load --spin SECONDS PARENT   (one of the busy processes)
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchClips.h"
#include "BenchClock.h"
#include "BenchProcess.h"
#include "PlaybackRun.h"

extern char** environ;

namespace {

using namespace orlisk::bench;

constexpr int kBusyProcesses = 2;

// Spins until `seconds` have passed or the parent is gone.
int Spin(double seconds, pid_t parent) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) return 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  volatile unsigned long long work = 0;
  while (std::chrono::steady_clock::now() < end) {
    for (int i = 0; i < 100000; ++i) work = work + static_cast<unsigned long long>(i);
  }
  return 0;
}

// The busy processes of one run; they are ended when this goes.
class BusyMachine {
 public:
  explicit BusyMachine(double seconds) {
    const std::string self = OwnExecutable();
    const std::string length = std::to_string(seconds);
    const std::string parent = std::to_string(getpid());
    for (int i = 0; i < kBusyProcesses; ++i) {
      std::vector<std::string> words = {self, "--spin", length, parent};
      std::vector<char*> argv;
      for (auto& word : words) argv.push_back(word.data());
      argv.push_back(nullptr);
      pid_t pid = 0;
      if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) == 0) spinners_.push_back(pid);
    }
  }
  ~BusyMachine() {
    for (pid_t pid : spinners_) kill(pid, SIGKILL);
    for (pid_t pid : spinners_) waitpid(pid, nullptr, 0);
  }
  BusyMachine(const BusyMachine&) = delete;
  BusyMachine& operator=(const BusyMachine&) = delete;
  int count() const { return static_cast<int>(spinners_.size()); }

 private:
  std::vector<pid_t> spinners_;
};

// One run of either player, in the figures both can give.
struct Figures {
  std::string who;
  bool ok = false;
  int due = 0;
  int late = -1;     // ffplay does not count them
  int skipped = 0;   // passed over (ours) or dropped (ffplay)
  double avP95 = 0, avMean = 0, avMax = 0, avAtStart = 0, avDrift = 0;
  double avP95OneBufferLater = 0;  // ffplay: with the sound it really played
  double cpuSeconds = 0, seconds = 0;
  std::string load;
};

Figures RunOurs(const std::string& clip, double seconds) {
  Figures result;
  result.who = "ours";
  const PlaybackFigures f = RunPlayback({.clip = clip, .seconds = seconds});
  result.load = LoadAverage();
  if (!f.failure.empty()) {
    std::printf("  our playback failed: %s\n", f.failure.c_str());
    return result;
  }
  result.ok = true;
  result.due = f.framesDue;
  result.late = f.framesLate;
  result.skipped = f.framesSkipped;
  result.avP95 = f.avP95AbsMs;
  result.avMean = f.avMeanAbsMs;
  result.avMax = f.avMaxAbsMs;
  result.avAtStart = f.avAtStartMs;
  result.avDrift = f.avDriftMsPerS;
  result.cpuSeconds = f.cpuSeconds;
  result.seconds = f.playedSeconds;
  return result;
}

// One buffer of ffplay's sound device at 44.1 kHz: it asks SDL for the
// power of two of samples nearest above a 30th of a second, at least 512.
double FfplayBufferMs(int sampleRate = 44100) {
  int samples = 512;
  while (samples < sampleRate / 30) samples *= 2;
  return 1000.0 * samples / sampleRate;
}

Figures RunFfplay(const std::string& clip, double seconds) {
  Figures result;
  result.who = "ffplay";
  const ProcessRun run = RunProcess({"ffplay", "-hide_banner", "-autoexit", "-loglevel", "info", "-t",
                                     std::to_string(seconds), "-x", "566", "-y", "378", clip},
                                    {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"}, true);
  result.load = LoadAverage();
  if (!run.succeeded) {
    std::printf("  ffplay failed: %s\n", run.output.substr(0, 400).c_str());
    return result;
  }
  // Status lines, ended by carriage returns: "  12.34 A-V:  0.012 fd=   3 aq= ...".
  std::vector<double> times, offsets, absolute;
  std::string line;
  std::istringstream text(run.output);
  while (std::getline(text, line, '\r')) {
    const std::size_t av = line.find("A-V:");
    const std::size_t fd = line.find("fd=");
    if (av == std::string::npos || fd == std::string::npos) continue;
    const std::size_t start = line.find_last_of('\n', av);
    const double clock = std::atof(line.c_str() + (start == std::string::npos ? 0 : start + 1));
    const double offsetMs = 1000.0 * std::atof(line.c_str() + av + 4);
    // The first lines, before both clocks run, say nan.
    if (std::isnan(clock) || std::isnan(offsetMs)) continue;
    times.push_back(clock);
    offsets.push_back(offsetMs);
    absolute.push_back(std::abs(offsetMs));
    result.skipped = std::atoi(line.c_str() + fd + 3);
  }
  if (offsets.empty()) {
    std::printf("  ffplay printed no status line\n");
    return result;
  }
  result.ok = true;
  // Due: the frames its own clock passed, as ours counts the frames its sound passed.
  result.seconds = times.back() - times.front();
  result.due = static_cast<int>(std::floor(result.seconds * 25.0)) + 1;
  double sum = 0;
  for (double value : absolute) sum += value;
  result.avMean = sum / static_cast<double>(absolute.size());
  result.avP95 = Percentile(absolute, 0.95);
  std::vector<double> shifted;
  for (double offset : offsets) shifted.push_back(std::abs(offset + FfplayBufferMs()));
  result.avP95OneBufferLater = Percentile(shifted, 0.95);
  result.avMax = Percentile(absolute, 1.0);
  // The same straight line as ours: where the offset starts and how it moves.
  const double n = static_cast<double>(times.size());
  double st = 0, so = 0, stt = 0, sto = 0;
  for (std::size_t i = 0; i < times.size(); ++i) {
    const double t = times[i] - times.front();
    st += t;
    so += offsets[i];
    stt += t * t;
    sto += t * offsets[i];
  }
  result.avDrift = n > 1 ? (n * sto - st * so) / (n * stt - st * st) : 0.0;
  result.avAtStart = (so - result.avDrift * st) / n;
  result.cpuSeconds = run.cpuSeconds;
  return result;
}

void PrintRun(const Figures& f) {
  if (!f.ok) return;
  std::printf("  %-6s  late %4s  %-10s %3d of %3d   A-V |mean| %5.1f  p95 %5.1f  max %6.1f ms  start %+6.1f ms"
              "  drift %+5.2f ms/s   CPU %.2f s per s   load %s\n",
              f.who.c_str(), f.late < 0 ? "n/a" : std::to_string(f.late).c_str(),
              f.who == "ours" ? "passed over" : "dropped", f.skipped, f.due, f.avMean, f.avP95, f.avMax,
              f.avAtStart, f.avDrift, f.seconds > 0 ? f.cpuSeconds / f.seconds : 0.0, f.load.c_str());
  if (f.who == "ffplay") {
    std::printf("          with the %.0f ms buffer it counts twice taken once: A-V p95 %.1f ms\n", FfplayBufferMs(),
                f.avP95OneBufferLater);
  }
}

void Compare(const std::string& condition, const std::vector<Figures>& ours, const std::vector<Figures>& theirs) {
  int oursSkipped = 0, oursLate = 0, theirsDropped = 0;
  std::vector<double> oursAv, theirsAv;
  for (const Figures& f : ours) {
    oursSkipped += f.skipped;
    oursLate += f.late;
    oursAv.push_back(f.avP95);
  }
  for (const Figures& f : theirs) {
    theirsDropped += f.skipped;
    theirsAv.push_back(f.avP95);
  }
  const double oursAvMedian = Median(oursAv), theirsAvMedian = Median(theirsAv);
  PrintResult(condition + " frames not shown", "ours <= ffplay",
              Format("ours %d (+%d late), ffplay %d", oursSkipped, oursLate, theirsDropped),
              oursSkipped <= theirsDropped);
  PrintResult(condition + " A-V p95", "ours <= ffplay",
              Format("ours %.1f ms, ffplay %.1f ms", oursAvMedian, theirsAvMedian), oursAvMedian <= theirsAvMedian);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--spin") == 0) return Spin(std::atof(argv[2]), std::atoi(argv[3]));
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  QApplication application(argc, argv);
  const std::string clip = PlaybackClip();
  std::printf("%.0f s of the 1080p25 H.264 + AAC clip, ours and ffplay taking turns, %d round(s) per condition\n",
              seconds, rounds);

  for (const bool busy : {false, true}) {
    const std::string condition = busy ? "loaded" : "quiet";
    std::printf("%s: %s; load average at the start %s\n", condition.c_str(),
                busy ? "two more processes spinning" : "nothing added", LoadAverage().c_str());
    std::vector<Figures> ours, theirs;
    for (int round = 0; round < rounds; ++round) {
      for (int turn = 0; turn < 2; ++turn) {
        const bool oursNow = (round + turn) % 2 == 0;
        // The spinners get a minute more than the run and are ended with it.
        std::unique_ptr<BusyMachine> machine = busy ? std::make_unique<BusyMachine>(seconds + 60) : nullptr;
        if (machine) std::this_thread::sleep_for(std::chrono::milliseconds(500));
        Figures figures = oursNow ? RunOurs(clip, seconds) : RunFfplay(clip, seconds);
        PrintRun(figures);
        if (figures.ok) (oursNow ? ours : theirs).push_back(figures);
      }
    }
    if (ours.empty() || theirs.empty()) {
      PrintResult(condition + " load test", "both players run", "a run failed", false);
      continue;
    }
    Compare(condition, ours, theirs);
  }
  return 0;
}
