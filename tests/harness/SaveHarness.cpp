// Saving the subtitle pair under interruptions, with figures:
//
//   orlisk_save_harness kill [rounds] [rows]
//     A child process saves a list of `rows` subtitles over and over, two
//     versions in turn, and is killed with SIGKILL at a random moment, `rounds`
//     times. After each kill the pair on disk is classified.
//   orlisk_save_harness faults [rows]
//     Every file-system step of a save (each write, sync, link, swap, rename)
//     fails in turn, with and without an old pair, and with the undoing of the
//     first rename failing too.
//
// Each pair is "whole" (both files of one save), "torn, recognised" (files of
// two saves whose companion reading recognises as stale), "torn, unnoticed"
// (blocks would silently take another save's places) or "damaged" (a file
// that is neither save). Leftover temporary files are counted after each
// interruption and after the next save. The program ends non-zero when a pair
// was torn unnoticed or damaged, when a failed save was reported as done, or
// when a later save left temporary files behind.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "files/SubtitleFiles.h"
#include "files/WholeFile.h"
#include "files/tests/FaultySteps.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;
using testing::FaultySteps;
using Step = FaultySteps::Step;

struct List {
  std::vector<SubtitleRow> rows;
  std::vector<SubtitleEntry> entries;
};

// Two saves of the same list: `version` shifts every time and place.
List MakeList(int rows, int version) {
  List list;
  for (int i = 0; i < rows; ++i) {
    list.rows.push_back({TimeRangeText(i * 1000 + version, i * 1000 + 700), "subtitle line " + std::to_string(i)});
    SubtitleEntry entry;
    entry.Place.X = 100 * version + i % 50;
    entry.Place.Y = 400;
    entry.Place.DrawLevel = 240;
    list.entries.push_back(entry);
  }
  return list;
}

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Pair {
  std::string text, companion;
};

class Bench {
 public:
  explicit Bench(int rows) : lists_{MakeList(rows, 1), MakeList(rows, 2)} {
    folder_ = fs::temp_directory_path() / ("orlisk-save-harness-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "reference");
    for (int v = 0; v < 2; ++v) {
      const fs::path base = folder_ / "reference" / std::to_string(v);
      SaveSubtitleFiles(base.string() + ".srt", base.string() + ".dat", lists_[v].rows, lists_[v].entries);
      saved_[v] = {Slurp(base.string() + ".srt"), Slurp(base.string() + ".dat")};
    }
    fs::create_directories(work());
  }
  ~Bench() { fs::remove_all(folder_); }

  fs::path work() const { return folder_ / "work"; }
  fs::path text() const { return work() / "film.srt"; }
  fs::path companion() const { return work() / "film.dat"; }

  void save(int version, FileSteps& steps = SystemFileSteps()) {
    SaveSubtitleFiles(text(), companion(), lists_[version].rows, lists_[version].entries, steps);
  }
  void clear() {
    fs::remove_all(work());
    fs::create_directories(work());
  }

  // Which save each file is (-1 for neither, -2 for missing).
  int versionOf(const fs::path& file, bool isText) const {
    if (!fs::exists(file)) return -2;
    const std::string bytes = Slurp(file);
    for (int v = 0; v < 2; ++v)
      if (bytes == (isText ? saved_[v].text : saved_[v].companion)) return v;
    return -1;
  }

  int leftovers() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(work()))
      count += entry.path().filename().string().starts_with(".orlisk-") ? 1 : 0;
    return count;
  }

  bool readsAsStale() const {
    SubRipReadContext context;
    return ReadSubtitleFiles(text(), LegacyCodePage::Windows1252, context).Result.StaleCompanion;
  }

 private:
  fs::path folder_;
  List lists_[2];
  Pair saved_[2];
};

struct Tally {
  int whole = 0, tornRecognised = 0, tornUnnoticed = 0, damaged = 0, absent = 0;
  int roundsWithLeftovers = 0, leftoverFiles = 0, leftoversAfterNextSave = 0;

  // Classifies the pair on disk; true when it is acceptable.
  bool add(const Bench& bench) {
    const int text = bench.versionOf(bench.text(), true);
    const int companion = bench.versionOf(bench.companion(), false);
    const int left = bench.leftovers();
    leftoverFiles += left;
    roundsWithLeftovers += left > 0 ? 1 : 0;
    if (text == -2 && companion == -2) {
      ++absent;
      return true;
    }
    if (text < 0 || companion < 0) {
      ++damaged;
      return false;
    }
    if (text == companion) {
      ++whole;
      return true;
    }
    if (bench.readsAsStale()) {
      ++tornRecognised;
      return true;
    }
    ++tornUnnoticed;
    return false;
  }

  void print(const std::string& title) const {
    std::cout << title << ": whole " << whole << ", torn recognised " << tornRecognised << ", torn unnoticed "
              << tornUnnoticed << ", damaged " << damaged << ", no pair yet " << absent << "\n"
              << "  leftover temporary files: " << leftoverFiles << " in " << roundsWithLeftovers
              << " interruptions, " << leftoversAfterNextSave << " after the next save\n";
  }

  bool good() const { return tornUnnoticed == 0 && damaged == 0 && leftoversAfterNextSave == 0; }
};

int KillLoop(int rounds, int rows) {
  Bench bench(rows);
  bench.save(0);
  // How long one save takes, to spread the kills over whole saves.
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 4; ++i) bench.save(i % 2);
  const double saveSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 4;
  std::cout << "kill -9 during saves of " << rows << " rows (one save takes " << saveSeconds * 1000 << " ms), "
            << rounds << " rounds\n";

  std::mt19937 random(12345);
  std::uniform_real_distribution<double> delay(0.0, 3.0 * saveSeconds);
  Tally tally;
  for (int round = 0; round < rounds; ++round) {
    const pid_t child = ::fork();
    if (child == 0) {
      try {
        for (int version = round % 2;; version = 1 - version) bench.save(version);
      } catch (...) {
        ::_exit(3);  // never the parent's clean-up
      }
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(delay(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    if (!tally.add(bench)) std::cout << "  round " << round << ": unacceptable pair\n";
  }
  bench.save(0);
  tally.leftoversAfterNextSave = bench.leftovers();
  tally.print("after " + std::to_string(rounds) + " kills");
  return tally.good() ? 0 : 1;
}

int Faults(int rows) {
  Bench bench(rows);
  const struct {
    Step step;
    const char* name;
  } steps[] = {{Step::Write, "write"}, {Step::Fsync, "sync"}, {Step::Link, "link"}, {Step::Exchange, "swap"},
               {Step::Rename, "rename"}};
  Tally tally;
  int reportedDone = 0, cases = 0;
  for (const bool oldPair : {true, false}) {
    for (const int errorCode : {ENOSPC, EIO}) {
      for (const auto& step : steps) {
        for (const int times : {1, 2}) {  // 2: the undoing fails as well
          // Every call of that step in one save, and one past them.
          FaultySteps counter;
          bench.clear();
          if (oldPair) bench.save(0);
          bench.save(1, counter);
          const int calls = counter.calls(step.step);
          for (int first = 1; first <= calls; ++first) {
            bench.clear();
            if (oldPair) bench.save(0);
            FaultySteps faults({{step.step, first, errorCode, times}});
            ++cases;
            try {
              bench.save(1, faults);
              // A folder sync that fails after the renames is the only
              // failure that may leave the new pair whole; it must be reported.
              ++reportedDone;
              std::cout << "  " << step.name << " " << first << " failing was reported as a done save\n";
            } catch (const FileWriteError&) {
            }
            if (!tally.add(bench)) {
              std::cout << "  " << step.name << " call " << first << " failing (" << times
                        << " times): unacceptable pair\n";
            }
            bench.save(0);
            tally.leftoversAfterNextSave += bench.leftovers();
          }
        }
      }
    }
  }
  std::cout << "injected failures: " << cases << " cases (every write, sync, link, swap and rename of a save of "
            << rows << " rows failing with ENOSPC or EIO, once or also when undone, over an old pair or none); "
            << reportedDone << " reported as done\n";
  tally.print("after the failed saves");
  return tally.good() && reportedDone == 0 ? 0 : 1;
}

}  // namespace
}  // namespace orlisk

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  try {
    if (mode == "kill") {
      return orlisk::KillLoop(argc > 2 ? std::atoi(argv[2]) : 300, argc > 3 ? std::atoi(argv[3]) : 20'000);
    }
    if (mode == "faults") return orlisk::Faults(argc > 2 ? std::atoi(argv[2]) : 20'000);
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }
  std::cerr << "usage: orlisk_save_harness kill [rounds] [rows] | faults [rows]\n";
  return 2;
}
