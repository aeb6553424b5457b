// orlisk-burn as its users meet it: the command line it accepts, its exit
// codes, its refusals to write over files, and a stop by Ctrl+C. The built
// program is run as a child process.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "cli/BurnOptions.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace orlisk {
namespace {

namespace fs = std::filesystem;

struct OptionRow {
  std::vector<std::string> args;
  bool valid;
};

TEST(BurnOptionsTest, AcceptsTheDocumentedFormsAndRefusesTheRest) {
  for (const OptionRow& row : std::vector<OptionRow>{
           {{"a.avi", "a.srt"}, true},
           {{"a.avi", "a.srt", "--format", "mpeg"}, true},
           {{"--format", "rm", "a.avi", "a.srt", "--out-dir", "/tmp"}, true},
           {{"a.avi", "a.srt", "-o", "b.avi", "--overwrite"}, true},
           {{"--", "-odd.avi", "a.srt"}, true},
           {{"a.avi"}, false},
           {{"a.avi", "a.srt", "c.srt"}, false},
           {{"a.avi", "a.srt", "--format", "mkv"}, false},
           {{"a.avi", "a.srt", "--format"}, false},
           {{"a.avi", "a.srt", "--out-dir", "d", "-o", "f.avi"}, false},
           {{"a.avi", "a.srt", "--overwrite"}, false},
           {{"a.avi", "a.srt", "--fast"}, false},
       }) {
    std::string line;
    for (const std::string& a : row.args) line += a + " ";
    if (row.valid) {
      EXPECT_NO_THROW(ParseBurnOptions(row.args)) << line;
    } else {
      EXPECT_THROW(ParseBurnOptions(row.args), UsageError) << line;
    }
  }
  const BurnOptions o = ParseBurnOptions({"--", "-odd.avi", "a.srt"});
  EXPECT_EQ(o.Video, "-odd.avi");
  EXPECT_TRUE(ParseBurnOptions({"--help"}).Help);
}

struct Finished {
  int exitCode = -1;
  std::string out, err;
};

class BurnProgram : public ::testing::Test {
 protected:
  fs::path folder = fs::temp_directory_path() / ("orlisk-burn-cli-" + std::to_string(::getpid()));
  void SetUp() override {
    fs::create_directories(folder / "config");
    fs::create_directories(folder / "out");
    std::ofstream(folder / "subs.srt") << "1\r\n00:00:00,200 --> 00:00:01,000\r\nHello\r\n\r\n"
                                       << "2\r\n00:00:01,200 --> 00:00:01,800\r\nWorld\r\n\r\n";
  }
  void TearDown() override { fs::remove_all(folder); }

  pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
      if (std::string(*e).rfind("XDG_CONFIG_HOME=", 0) != 0 && std::string(*e).rfind("HOME=", 0) != 0)
        env.emplace_back(*e);
    env.push_back("XDG_CONFIG_HOME=" + (folder / "config").string());
    env.push_back("HOME=" + folder.string());
    std::vector<char*> argv{const_cast<char*>(ORLISK_BURN_PROGRAM)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (folder / "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, (folder / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, ORLISK_BURN_PROGRAM, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(error, 0);
    return pid;
  }
  Finished Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    Finished f;
    f.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    auto slurp = [](const fs::path& p) {
      std::ifstream in(p);
      std::stringstream s;
      s << in.rdbuf();
      return s.str();
    };
    f.out = slurp(folder / "stdout.txt");
    f.err = slurp(folder / "stderr.txt");
    return f;
  }
  Finished Run(const std::vector<std::string>& args) { return Wait(Spawn(args)); }
  std::string Subs() const { return (folder / "subs.srt").string(); }
  std::string Out() const { return (folder / "out").string(); }
  static std::string Clip() { return testclips::MakeClip({.width = 160, .height = 120, .fps = 25, .seconds = 2.0}); }
};

TEST_F(BurnProgram, HelpAndBadUsage) {
  Finished help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: orlisk-burn"), std::string::npos);
  Finished none = Run({});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_NE(none.err.find("expected a video and a subtitle file"), std::string::npos);
  EXPECT_EQ(Run({"a.avi", "b.srt", "--format", "flv"}).exitCode, 2);
}

TEST_F(BurnProgram, UnreadableInputsEndWithCode3AndSayWhy) {
  const std::string clip = Clip();
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {testclips::MissingFilePath("none.avi"), Subs()},
           {testclips::MakeTextFile("notes.avi"), Subs()},
           {testclips::MakeAudioOnlyFile(1.0, "wav"), Subs()},
           {clip, (folder / "missing.srt").string()},
           {clip, clip},  // a video where the subtitles should be
       }) {
    Finished f = Run({args[0], args[1], "--out-dir", Out()});
    EXPECT_EQ(f.exitCode, 3) << args[0] << " " << args[1] << "\n" << f.err;
    EXPECT_NE(f.err.find("orlisk-burn: "), std::string::npos);
  }
  EXPECT_TRUE(fs::is_empty(folder / "out"));
}

TEST_F(BurnProgram, WritesANewFileEachTimeAndNeverOverAnother) {
  const std::string clip = Clip();
  Finished first = Run({clip, Subs(), "--out-dir", Out()});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const fs::path name = fs::path(clip).filename();
  EXPECT_EQ(first.out, (folder / "out" / name).string() + "\n");
  EXPECT_NE(first.err.find("100%"), std::string::npos);  // percentage lines when not a terminal
  Finished second = Run({clip, Subs(), "--out-dir", Out()});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(second.out, (folder / "out" / ("New_1" + name.string())).string() + "\n");
  FfmpegVideoReader written;
  written.OpenSource((folder / "out" / name).string());
  EXPECT_NEAR(written.GetDuration(), 2000, 80);
}

TEST_F(BurnProgram, OutputFileRulesAndFailedWriting) {
  const std::string clip = Clip();
  const std::string taken = (folder / "taken.avi").string();
  std::ofstream(taken) << "keep me";
  Finished refused = Run({clip, Subs(), "-o", taken});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.err.find("--overwrite"), std::string::npos);
  EXPECT_EQ(fs::file_size(taken), 7u);

  const auto sourceSize = fs::file_size(clip);
  EXPECT_EQ(Run({clip, Subs(), "-o", clip, "--overwrite"}).exitCode, 2);
  EXPECT_EQ(fs::file_size(clip), sourceSize);

  Finished replaced = Run({clip, Subs(), "-o", taken, "--overwrite", "--format", "mpeg"});
  EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
  EXPECT_GT(fs::file_size(taken), 1000u);

  std::ofstream(folder / "afile") << "x";
  Finished failed = Run({clip, Subs(), "--out-dir", (folder / "afile" / "sub").string()});
  EXPECT_EQ(failed.exitCode, 4) << failed.err;
  EXPECT_NE(failed.err.find("cannot write"), std::string::npos);
}

TEST_F(BurnProgram, CtrlCStopsWithAPartialVideoThatPlaysToWhereItStopped) {
  const std::string clip = testclips::MakeClip({.width = 320, .height = 240, .fps = 25, .seconds = 20.0});
  const pid_t pid = Spawn({clip, Subs(), "--out-dir", Out(), "--format", "mpeg"});
  // Wait until writing is under way (the first percentage line).
  for (int i = 0; i < 300; ++i) {
    std::ifstream err(folder / "stderr.txt");
    const std::string text((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
    if (text.find('%') != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGINT);
  Finished f = Wait(pid);
  ASSERT_EQ(f.exitCode, 130) << f.err;
  EXPECT_NE(f.err.find("stopped"), std::string::npos);
  const std::string output = f.out.substr(0, f.out.size() - 1);
  FfmpegVideoReader written;
  written.OpenSource(output);
  int frames = 0;
  while (!written.ReadFrame().empty()) ++frames;
  EXPECT_GT(frames, 0);
  EXPECT_LT(frames, 500);
}

// Refused in milliseconds: a pipe must not hold the run until a reader comes,
// and a device node or anything else there must stay as it was.
TEST_F(BurnProgram, OutputOntoAnythingButARegularFileIsRefusedOverwriteOrNot) {
  const std::string clip = Clip();
  for (const testing::SpecialKind kind : {testing::SpecialKind::Folder, testing::SpecialKind::Pipe,
                                          testing::SpecialKind::Socket, testing::SpecialKind::FullDevice}) {
    const fs::path target = folder / ("special-" + std::to_string(static_cast<int>(kind)));
    if (const std::string why = testing::MakeSpecialFile(kind, target); !why.empty()) {
      std::cout << "[ skipped " << target.filename() << ": " << why << " ]\n";
      continue;
    }
    for (const bool overwrite : {false, true}) {
      std::vector<std::string> args = {clip, Subs(), "-o", target.string(), "--format", "mpeg"};
      if (overwrite) args.push_back("--overwrite");
      const pid_t pid = Spawn(args);
      bool ended = false;
      for (int i = 0; i < 1000 && !ended; ++i) {
        siginfo_t info{};
        ended = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      // A writer stuck on the pipe gets a reader that leaves at once.
      if (!ended && kind == testing::SpecialKind::Pipe) ::close(::open(target.c_str(), O_RDONLY | O_NONBLOCK));
      EXPECT_TRUE(ended) << target << " held the run";
      const Finished f = Wait(pid);
      EXPECT_EQ(f.exitCode, 2) << target << " " << overwrite << "\n" << f.err;
      EXPECT_NE(f.err.find("not a regular file"), std::string::npos) << f.err;
      EXPECT_TRUE(testing::IsSpecialFile(kind, target)) << target;
    }
  }
}

// A disk that fills up half way: the old file stays whole, nothing else is
// left, and the room the partial took is free again.
TEST_F(BurnProgram, AFullDiskLeavesTheOldFileAndNoDebris) {
  testing::SmallDisk disk(1 << 20);
  if (!disk.skipReason().empty()) GTEST_SKIP() << disk.skipReason();
  // A moving pattern: MPEG-1 needs well over the disk's megabyte for it.
  const std::string clip = testclips::MakeClip(
      {.width = 320, .height = 240, .fps = 25, .seconds = 12.0, .picture = testclips::Picture::TestPattern});
  const fs::path old = disk.path() / "old.mpeg";
  const std::string oldBytes(100000, 'o');
  testing::WriteBytes(old, oldBytes);
  const std::uint64_t freeBefore = disk.freeBytes();
  for (const std::vector<std::string>& where : std::vector<std::vector<std::string>>{
           {"-o", old.string(), "--overwrite"}, {"--out-dir", disk.path().string()}}) {
    std::vector<std::string> args = {clip, Subs(), "--format", "mpeg"};
    args.insert(args.end(), where.begin(), where.end());
    const Finished f = Run(args);
    EXPECT_EQ(f.exitCode, 4) << where[0] << "\n" << f.err;
    EXPECT_NE(f.err.find("No space left on device"), std::string::npos) << f.err;
    EXPECT_TRUE(testing::ReadBytes(old) == oldBytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(disk.path()), fs::directory_iterator()), 1);
    EXPECT_EQ(disk.freeBytes(), freeBefore);
  }
}

}  // namespace
}  // namespace orlisk
