// orlisk-burn as its users meet it: the command line it accepts, its exit
// codes, its refusals to write over files, and a stop by Ctrl+C. The built
// program is run as a child process.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <thread>
#include <tuple>

#include "cli/BurnOptions.h"
#include "playback/FfmpegVideoReader.h"
#include "files/SubtitleFiles.h"
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
           {{"a.avi", "a.srt", "-q", "--ignore-stale-companion", "--verbose"}, true},
           {{"a.avi", "a.srt", "--progress=json"}, true},
           {{"--version"}, true},
           {{"a.avi", "a.srt", "--progress=xml"}, false},
           {{"a.avi", "a.srt", "--quiet", "--progress=json"}, false},
           {{"a.avi"}, false},
           {{"a.avi", "a.srt", "c.srt"}, false},
           {{"a.avi", "a.srt", "--format", "flv"}, false},
           {{"a.avi", "a.srt", "--format"}, false},
           {{"a.avi", "a.srt", "--out-dir", "d", "-o", "f.avi"}, false},
           {{"a.avi", "a.srt", "--overwrite"}, false},
           {{"a.avi", "a.srt", "--fast"}, false},
           {{"a.avi", "a.srt", "--format", "mkv", "--size", "vertical", "--quality", "high"}, true},
           {{"a.avi", "a.srt", "--format", "mp4", "--size", "1280x720", "--quality", "2500k"}, true},
           {{"a.avi", "a.srt", "--format", "avi", "--size", "480p"}, true},
           {{"a.avi", "a.srt", "--size", "720p"}, false},
           {{"a.avi", "a.srt", "--format", "wmv", "--size", "720p"}, false},
           {{"a.avi", "a.srt", "--format", "avi", "--quality", "high"}, false},
           {{"a.avi", "a.srt", "--format", "mp4", "--quality", "52"}, false},
           {{"a.avi", "a.srt", "--format", "mp4", "--quality", "fine"}, false},
           {{"a.avi", "a.srt", "--format", "mp4", "--quality", "99k"}, false},
           {{"a.avi", "a.srt", "--format", "mp4", "--size", "12x10000"}, false},
           {{"a.avi", "a.srt", "--format", "mp4", "--size", "wide"}, false},
           {{"a.avi", "a.srt", "--export", "vtt", "a.vtt", "--overwrite"}, true},
           {{"a.avi", "a.srt", "--export", "sbv", "a.sbv"}, false},
           {{"a.avi", "a.srt", "--export", "ass"}, false},
           {{"a.avi", "a.srt", "--export", "ass", "a.ass", "-o", "b.avi"}, false},
           {{"a.avi", "a.srt", "--soft"}, true},
           {{"a.avi", "a.srt", "--soft", "--export", "vtt", "a.vtt"}, false},
           {{"a.avi", "a.srt", "--soft", "--format", "mp4", "-o", "b.mp4"}, true},
           {{"a.avi", "a.srt", "--soft", "--format", "avi"}, false},
           {{"a.avi", "a.srt", "--soft", "--format", "mkv", "--quality", "high"}, false},
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
  EXPECT_EQ(ParseBurnOptions({"a.avi", "a.srt", "-q"}).Progress, BurnProgress::None);
}

TEST(BurnOptionsTest, SizeAndQualityNameWhatTheyMean) {
  EXPECT_EQ(ParseSizeOption("Vertical").Preset, 4);
  const SizeChoice typed = ParseSizeOption("1280x720");
  EXPECT_EQ(std::tuple(typed.Preset, typed.Width, typed.Height), std::tuple(kSizePresetTyped, 1280, 720));
  for (const auto& [text, crf, kbps] : {std::tuple{"high", 18, 0}, {"Smallest", 28, 0}, {"19", 19, 0},
                                        {"2500k", 0, 2500}}) {
    const QualityChoice quality = ParseQualityOption(text);
    EXPECT_EQ(std::pair(quality.Crf, quality.BitRateKbps), std::pair(crf, kbps)) << text;
  }
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

  // Runs orlisk-burn, or `program` found on the PATH, with `args`.
  pid_t Spawn(const std::vector<std::string>& args, const std::string& program = ORLISK_BURN_PROGRAM) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
      if (std::string(*e).rfind("XDG_CONFIG_HOME=", 0) != 0 && std::string(*e).rfind("HOME=", 0) != 0)
        env.emplace_back(*e);
    env.push_back("XDG_CONFIG_HOME=" + (folder / "config").string());
    env.push_back("HOME=" + folder.string());
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
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
    const int error = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
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
  Finished Run(const std::vector<std::string>& args, const std::string& program = ORLISK_BURN_PROGRAM) {
    return Wait(Spawn(args, program));
  }
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
  for (const char* code : {"2 bad usage", "3 the video", "4 writing", "5 SUBTITLES.dat", "130 stopped", "143 stopped"})
    EXPECT_NE(help.out.find(code), std::string::npos) << code;
  Finished version = Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("orlisk-burn " ORLISK_VERSION "\n", 0), 0u) << version.out;  // the editor's too
  EXPECT_NE(version.out.find("libavformat "), std::string::npos) << version.out;
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

// --export writes the subtitles alone, in the format asked for, relative to
// the video's picture, and an outside reader takes each file.
TEST_F(BurnProgram, ExportWritesNoVideoAndRefusesToReplaceWithoutOverwrite) {
  const std::string clip = Clip();
  struct Row { const char* Format; const char* File; const char* Starts; };
  for (const Row& row : {Row{"vtt", "x.vtt", "WEBVTT\n\n00:00:00.200 --> 00:00:01.000 line:"},
                         Row{"ass", "x.ass", "[Script Info]\r\nScriptType: v4.00+\r\nWrapStyle: 2\r\n"
                                             "ScaledBorderAndShadow: yes\r\nPlayResX: 160\r\nPlayResY: 120\r\n"},
                         Row{"srt1", "x.srt", "1\n00:00:00,200 --> 00:00:01,000\nHello\n\n2\n"}}) {
    const std::string file = (folder / row.File).string();
    Finished f = Run({clip, Subs(), "--export", row.Format, file});
    ASSERT_EQ(f.exitCode, 0) << f.err;
    EXPECT_EQ(f.out, file + "\n");
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind(row.Starts, 0), 0u) << text;
    // FFmpeg reports success even when it found no cue, so the cues it gives are counted.
    const std::string converted = (folder / "converted.srt").string();
    EXPECT_EQ(std::system(("ffmpeg -v error -i '" + file + "' -f srt -y '" + converted + "' 2>/dev/null").c_str()), 0)
        << row.Format;
    std::ifstream back(converted);
    const std::string cues((std::istreambuf_iterator<char>(back)), std::istreambuf_iterator<char>());
    EXPECT_NE(cues.find("Hello"), std::string::npos) << row.Format;
    EXPECT_NE(cues.find("World"), std::string::npos) << row.Format;
    EXPECT_EQ(Run({clip, Subs(), "--export", row.Format, file}).exitCode, 2);
    EXPECT_EQ(Run({clip, Subs(), "--export", row.Format, file, "--overwrite"}).exitCode, 0);
  }
  EXPECT_TRUE(fs::is_empty(folder / "out"));
  EXPECT_EQ(Run({clip, Subs(), "--export", "vtt", Subs(), "--overwrite"}).exitCode, 2);  // never over its input
}

TEST_F(BurnProgram, SoftAddsATrackAndRefusesAnMp4ThatCannotHoldTheSound) {
  const std::string clip = Clip();  // MPEG-4 Part 2 video and PCM sound
  Finished mp4 = Run({clip, Subs(), "--out-dir", Out(), "--soft", "--format", "mp4"});
  EXPECT_EQ(mp4.exitCode, 4);
  EXPECT_NE(mp4.err.find("sound (pcm_s16le) cannot go into MP4"), std::string::npos) << mp4.err;
  EXPECT_TRUE(fs::is_empty(folder / "out"));
  Finished mkv = Run({clip, Subs(), "--out-dir", Out(), "--soft"});
  ASSERT_EQ(mkv.exitCode, 0) << mkv.err;
  EXPECT_EQ(mkv.out, (folder / "out" / fs::path(clip).filename().replace_extension(".mkv")).string() + "\n");
  FfmpegVideoReader written;
  written.OpenSource(mkv.out.substr(0, mkv.out.size() - 1));
  EXPECT_NEAR(written.GetDuration(), 2000, 80);
}

// Ctrl+C, or a job runner's SIGTERM, each with its own exit code.
TEST_F(BurnProgram, CtrlCOrSigtermStopsWithAPartialVideoThatPlaysToWhereItStopped) {
  const std::string clip = testclips::MakeClip({.width = 320, .height = 240, .fps = 25, .seconds = 60.0});
  for (const auto& [signal, code] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
    // An empty folder each time: the first run's video must not pass for the
    // second run's start, whose signal handlers may not be set yet.
    fs::remove_all(folder / "out");
    fs::create_directories(folder / "out");
    const pid_t pid = Spawn({clip, Subs(), "--out-dir", Out(), "--format", "mpeg"});
    // Wait until writing is under way (a file in the output folder), and a little more.
    for (int i = 0; i < 500 && fs::is_empty(folder / "out"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(pid, signal);
    Finished f = Wait(pid);
    ASSERT_EQ(f.exitCode, code) << f.err;
    EXPECT_NE(f.err.find("stopped"), std::string::npos);
    const std::string output = f.out.substr(0, f.out.size() - 1);
    FfmpegVideoReader written;
    written.OpenSource(output);
    int frames = 0;
    while (!written.ReadFrame().empty()) ++frames;
    EXPECT_GT(frames, 0);
    EXPECT_LT(frames, 1500);
  }
}

// For logs and job runners: a percentage line at most once a second and one
// at the end, or the same as JSON objects; nothing but the path with --quiet.
TEST_F(BurnProgram, ProgressForLogsAndJobRunners) {
  const std::string clip = testclips::MakeClip({.width = 160, .height = 120, .fps = 25, .seconds = 4.0});
  const auto start = std::chrono::steady_clock::now();
  Finished lines = Run({clip, Subs(), "--out-dir", Out()});
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
  ASSERT_EQ(lines.exitCode, 0) << lines.err;
  EXPECT_LE(std::count(lines.err.begin(), lines.err.end(), '\n'), 1 + seconds.count()) << lines.err;
  EXPECT_TRUE(lines.err.ends_with("100%\n")) << lines.err;

  Finished json = Run({clip, Subs(), "--out-dir", Out(), "--progress=json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const std::regex object(R"(\{"percent":[0-9]+\.[0-9]{2},"frames":[0-9]+,"elapsed":[0-9]+\.[0-9]{2},)"
                          R"("remaining":([0-9]+\.[0-9]{2}|null)\})");
  std::istringstream objects(json.err);
  std::string line, last;
  while (std::getline(objects, line)) {
    EXPECT_TRUE(std::regex_match(line, object)) << line;
    last = line;
  }
  EXPECT_EQ(last.rfind(R"({"percent":100.00,"frames":100,)", 0), 0u) << json.err;

  Finished quiet = Run({clip, Subs(), "--out-dir", Out(), "--quiet"});
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.err, "");
  EXPECT_TRUE(quiet.out.ends_with(".avi\n")) << quiet.out;
}

TEST_F(BurnProgram, FfmpegsOwnLinesOnlyWithVerbose) {
  const std::string text = testclips::MakeTextFile("notes.mp4");
  Finished plain = Run({text, Subs(), "--out-dir", Out()});
  Finished verbose = Run({text, Subs(), "--out-dir", Out(), "--verbose"});
  EXPECT_EQ(plain.exitCode, 3);
  EXPECT_EQ(verbose.exitCode, 3);
  EXPECT_EQ(plain.err.find(" @ 0x"), std::string::npos) << plain.err;  // "[mp3 @ 0x55...] ..."
  EXPECT_NE(verbose.err.find(" @ 0x"), std::string::npos) << verbose.err;
}

// A pair saved by the editor whose text was then re-timed by hand: the
// companion belongs to another save, and the editor would say so.
TEST_F(BurnProgram, AStaleCompanionEndsTheRunUnlessToldToGoOn) {
  const fs::path srt = folder / "pair.srt";
  SaveSubtitleFiles(srt, folder / "pair.dat", {{TimeRangeText(200, 1000), "Hello"}}, {SubtitleEntry{}});
  std::ofstream(srt, std::ios::binary) << "0\r\n00:00:00,300 --> 00:00:01,000\r\nHello\r\n \r\n";
  const std::string clip = Clip();
  Finished refused = Run({clip, srt.string(), "--out-dir", Out()});
  EXPECT_EQ(refused.exitCode, 5) << refused.err;
  EXPECT_NE(refused.err.find("pair.dat belongs to another save"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("--ignore-stale-companion"), std::string::npos);
  EXPECT_EQ(refused.out, "");
  EXPECT_TRUE(fs::is_empty(folder / "out"));

  Finished burnt = Run({clip, srt.string(), "--out-dir", Out(), "--ignore-stale-companion"});
  EXPECT_EQ(burnt.exitCode, 0) << burnt.err;
  EXPECT_NE(burnt.err.find("belongs to another save"), std::string::npos);
}

// What ffprobe shows of `entries` ("format=duration") in `file`, one line each.
std::string Ffprobe(const std::string& entries, const std::string& file) {
  const std::string command = "ffprobe -v error -show_entries " + entries + " -of csv=p=0 '" + file + "'";
  std::string result;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) result += buffer;
    ::pclose(pipe);
  }
  return result;
}

std::string Probe(const std::string& file) { return Ffprobe("format=duration", file); }

TEST_F(BurnProgram, Mp4InAPresetSizeSaysWhenItEncodesTheSound) {
  const std::string out = (folder / "out" / "vertical.mp4").string();
  Finished run = Run({Clip(), Subs(), "--format", "mp4", "--size", "vertical", "--quality", "smallest", "-o", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("sound (PCM) cannot go into MP4 unchanged; it is re-encoded as AAC"), std::string::npos)
      << run.err;
  EXPECT_EQ(Ffprobe("stream=codec_name,width,height", out), "h264,1080,1920\naac\n");
}


// One job of GNU parallel's job log: when it started, how long it ran, how it ended.
struct LoggedJob {
  double start = 0, runtime = 0;
  int exitCode = -1;
};

std::map<std::string, LoggedJob> ReadJobLog(const fs::path& log) {
  std::map<std::string, LoggedJob> jobs;  // by the video's name
  std::ifstream in(log);
  std::string line;
  std::getline(in, line);  // Seq Host Starttime JobRuntime Send Receive Exitval Signal Command
  while (std::getline(in, line)) {
    std::vector<std::string> columns;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) columns.push_back(field);
    if (columns.size() < 9) continue;
    std::istringstream command(columns[8]);
    std::string program, video;
    command >> program >> video;
    jobs[fs::path(video).filename().string()] = {std::stod(columns[2]), std::stod(columns[3]), std::stoi(columns[6])};
  }
  return jobs;
}

// A folder burnt as docs/batch.md shows: GNU parallel, two jobs at once,
// three clips of which one has no subtitles. The two others are written
// whole; the one that fails leaves nothing and disturbs neither.
TEST_F(BurnProgram, GnuParallelBurnsAFolderTwoJobsAtATime) {
  const fs::path batch = folder / "batch";
  fs::create_directories(batch);
  const std::vector<std::pair<std::string, double>> clips = {{"a", 1.0}, {"b", 1.5}, {"c", 2.0}};
  std::vector<std::string> videos;
  for (const auto& [name, seconds] : clips) {
    const fs::path video = batch / (name + ".mp4");
    fs::copy_file(testclips::MakeClip({.seconds = seconds, .container = "mp4", .audioCodec = "aac"}), video);
    if (name != "c") fs::copy_file(Subs(), batch / (name + ".srt"));
    videos.push_back(video.string());
  }
  const fs::path log = folder / "jobs.log";
  Finished run = Run({"--will-cite", "-j", "2", "--joblog", log.string(), ORLISK_BURN_PROGRAM, "{}", "{.}.srt",
                      "--out-dir", Out(), "--quiet", ":::", videos[0], videos[1], videos[2]},
                     "parallel");
  EXPECT_EQ(run.exitCode, 1) << run.err;  // parallel counts the failed jobs

  const std::map<std::string, LoggedJob> jobs = ReadJobLog(log);
  ASSERT_EQ(jobs.size(), 3u) << run.err;
  EXPECT_EQ(jobs.at("a.mp4").exitCode, 0);
  EXPECT_EQ(jobs.at("b.mp4").exitCode, 0);
  EXPECT_EQ(jobs.at("c.mp4").exitCode, 3);  // its subtitles cannot be read
  const LoggedJob& a = jobs.at("a.mp4");
  const LoggedJob& b = jobs.at("b.mp4");
  EXPECT_LT(std::max(a.start, b.start), std::min(a.start + a.runtime, b.start + b.runtime));  // at once

  for (const auto& [name, seconds] : clips) {
    const fs::path written = folder / "out" / (name + ".mp4");
    if (name == "c") {
      EXPECT_FALSE(fs::exists(written));
      continue;
    }
    EXPECT_NE(run.out.find(written.string() + "\n"), std::string::npos) << run.out;
    // A fragmented MP4 has no edit list to hide the sound encoder's priming
    // and padding: its length runs up to a tenth of a second long.
    EXPECT_NEAR(std::atof(Probe(written.string()).c_str()), seconds, 0.15) << written;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "out"), fs::directory_iterator()), 2);
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
