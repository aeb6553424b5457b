// The write job over a scripted reader and the null writer: the order of the
// streams, the block size, the progress, stopping, and the failures.
#include "burnin/WriteJob.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "RecordingTransform.h"
#include "burnin/writer/NullVideoWriter.h"
#include "media/MediaError.h"
#include "tests/support/TempFolder.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;

// Video of `duration` ms in 40 ms frames; sound of `audioDuration` ms at
// 44.1 kHz stereo, delivered in whatever blocks are asked for. Every read is
// logged with the positions it found.
struct ScriptedReader : VideoReader {
  std::int32_t duration = 1000;
  std::int32_t audioDuration = 1000;
  std::int32_t position = 0;
  std::int64_t audioBytes = 0;
  std::vector<std::string> log;  // "V 40/13" : a frame read at video 40, audio 13
  std::vector<int> audioRequests;
  int reads = 0;

  static constexpr int kBytesPerSecond = 44100 * 4;
  void OpenSource(const std::string&) override {}
  void CloseSource() override {}
  std::int32_t GetDuration() const override { return duration; }
  double GetFrameRate() const override { return 25; }
  int GetWidth() const override { return 8; }
  int GetHeight() const override { return 8; }
  std::int32_t GetPosition() const override { return position; }
  void SeekTo(std::int32_t ms) override {
    log.push_back("Seek " + std::to_string(ms));
    position = ms;
    audioBytes = std::int64_t{ms} * kBytesPerSecond / 1000;
  }
  Frame ReadFrame() override {
    ++reads;
    log.push_back("V " + std::to_string(position) + "/" + std::to_string(GetAudioPosition()));
    if (position >= duration) return {};
    Frame f;
    f.Width = 8;
    f.Height = 8;
    f.Stride = 32;
    f.Pixels.assign(256, static_cast<std::uint8_t>(position / 40));
    position += 40;
    return f;
  }
  AudioBlock ReadAudio(int bytes) override {
    ++reads;
    log.push_back("A " + std::to_string(position) + "/" + std::to_string(GetAudioPosition()));
    audioRequests.push_back(bytes);
    const std::int64_t end = std::int64_t{audioDuration} * kBytesPerSecond / 1000;
    if (audioBytes >= end) return {};
    const std::int64_t n = std::min<std::int64_t>(bytes, end - audioBytes);
    audioBytes += n;
    return AudioBlock{std::vector<std::uint8_t>(static_cast<std::size_t>(n), 0)};
  }
  int GetAudioChannels() const override { return audioDuration > 0 ? 2 : 0; }
  int GetAudioSampleRate() const override { return audioDuration > 0 ? 44100 : 0; }
  std::int64_t GetAudioBitRate() const override { return 0; }
  std::int32_t GetAudioPosition() const override {
    return static_cast<std::int32_t>(audioBytes * 1000 / kBytesPerSecond);
  }
  std::int32_t GetAudioDuration() const override { return audioDuration; }
  std::string GetAudioFormatName() const override { return "wav"; }
  std::int64_t GetVideoBitRate() const override { return 0; }
  std::string GetVideoFormatName() const override { return "raw"; }
};

struct WriteJobTest : ::testing::Test {
  orlisk::testing::TempFolder folder{"writejob"};
  OutputTarget Target(bool replaceFile = false) const {
    return {.Path = (folder / "out.avi").string(), .ReplaceFile = replaceFile, .NextFreeName = {}};
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) names.push_back(entry.path().filename().string());
    return names;
  }
  ScriptedReader reader;
  NullVideoWriter writer;
  testing::RecordingTransform transform;
  std::vector<Frame> shown;
  std::vector<SubtitleEntry> subtitles;

  WriteJob MakeJob() {
    writer.SetSourceAudioFormat(reader.GetAudioSampleRate(), reader.GetAudioChannels());
    writer.SetSourceVideoFormat(8, 8, 25);
    return WriteJob({.Reader = reader,
                     .Writer = writer,
                     .Transform = transform,
                     .ShowFrame = [this](const Frame& f) { shown.push_back(f); }},
                    subtitles, SubtitleStyle{});
  }
  int CountCalls(const std::string& prefix) const {
    int n = 0;
    for (const std::string& c : writer.Calls) n += c.rfind(prefix, 0) == 0;
    return n;
  }
};

struct ProgressRow {
  std::int32_t video, audio, videoLength, audioLength;
  int expected;
};

TEST(WriteProgressTest, ScalesTheReadPositionsToTenThousandRoundedToTheNearest) {
  const std::int32_t big = std::numeric_limits<std::int32_t>::max();
  for (const ProgressRow& row : std::vector<ProgressRow>{
           {0, 0, 0, 0, 0},              // no length at all: no division by zero
           {500, 500, 1000, 1000, 5000},
           {1, 0, 3, 0, 3333},
           {2, 0, 3, 0, 6667},           // rounded up from 6666.67
           {0, 0, 1000, 0, 0},
           {big, big, big, big, 10000},  // the product needs 64 bits
           {big / 2, 0, big, 0, 5000},
       }) {
    EXPECT_EQ(WriteProgress(row.video, row.audio, row.videoLength, row.audioLength), row.expected)
        << row.video << " " << row.audio << " " << row.videoLength << " " << row.audioLength;
  }
}

TEST_F(WriteJobTest, ReadsWhicheverStreamIsBehindInBlocksOf2304BytesUntilBothEnd) {
  WriteJob job = MakeJob();
  job.Start(Target(), kOutputAvi);
  int passes = 0;
  while (job.Step()) ASSERT_LT(++passes, 10000);
  job.Finish();

  ASSERT_FALSE(reader.log.empty());
  EXPECT_EQ(reader.log.front(), "Seek 0");
  bool videoEnded = false, audioEnded = false;
  for (std::size_t i = 1; i < reader.log.size(); ++i) {
    const std::string& entry = reader.log[i];
    const int v = std::stoi(entry.substr(2));
    const int a = std::stoi(entry.substr(entry.find('/') + 1));
    if (entry[0] == 'V') {
      EXPECT_TRUE(v <= a || audioEnded) << entry;
      videoEnded = videoEnded || v >= reader.duration;
    } else {
      EXPECT_TRUE(v >= a || videoEnded) << entry;
      audioEnded = audioEnded || a >= reader.audioDuration;
    }
  }
  for (int request : reader.audioRequests) EXPECT_EQ(request, kWriteAudioBlockBytes);
  EXPECT_EQ(writer.FramesWritten, 25);
  EXPECT_EQ(writer.AudioBytesWritten, 44100 * 4);
  EXPECT_EQ(shown.size(), 25u);
  EXPECT_EQ(writer.Calls.back(), "CloseSource()");
  EXPECT_EQ(CountCalls("CloseSource"), 1);
  EXPECT_EQ(job.Progress(), 10000);
}

TEST_F(WriteJobTest, WithoutSoundOnlyFramesAreWritten) {
  reader.audioDuration = 0;
  WriteJob job = MakeJob();
  job.Start(Target(), kOutputAvi);
  while (job.Step()) {
  }
  EXPECT_EQ(writer.FramesWritten, 25);
  EXPECT_EQ(CountCalls("WriteAudio"), 0);
  EXPECT_TRUE(reader.audioRequests.empty());
}

TEST_F(WriteJobTest, StoppedHalfWayTheOutputIsClosedOnceWithWhatWasWritten) {
  WriteJob job = MakeJob();
  job.Start(Target(), kOutputAvi);
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(job.Step());
  const int progress = job.Progress();
  EXPECT_GT(progress, 0);
  EXPECT_LT(progress, 10000);
  job.Finish();
  job.Finish();
  EXPECT_EQ(CountCalls("CloseSource"), 1);
  EXPECT_FALSE(job.Step());
  EXPECT_EQ(writer.Calls.back(), "CloseSource()");
}

TEST_F(WriteJobTest, NothingAtTheTargetChangesUntilTheVideoIsCompleteThenItTakesTheNameInOneStep) {
  orlisk::testing::WriteBytes(folder / "out.avi", "the user's old video");
  WriteJob job = MakeJob();
  job.Start(Target(true), kOutputAvi);
  const std::string created = writer.Calls.back();
  EXPECT_EQ(created.rfind("CreateOutput(" + (folder / ".out.avi.orlisk-partial-").string(), 0), 0u) << created;
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(job.Step());
  EXPECT_EQ(orlisk::testing::ReadBytes(folder / "out.avi"), "the user's old video");
  job.Finish();
  EXPECT_EQ(job.outputPath(), (folder / "out.avi").string());
  EXPECT_EQ(orlisk::testing::ReadBytes(folder / "out.avi"), "");  // what the null writer wrote
  EXPECT_EQ(Names(), std::vector<std::string>{"out.avi"});
}

TEST_F(WriteJobTest, AFailedJobClosesItsOutputAndLeavesTheOldFileAndNoPartial) {
  orlisk::testing::WriteBytes(folder / "out.avi", "the user's old video");
  writer.FailAtFrame = 3;
  {
    WriteJob job = MakeJob();
    job.Start(Target(true), kOutputAvi);
    EXPECT_THROW(
        {
          while (job.Step()) {
          }
        },
        MediaError);
  }
  EXPECT_EQ(CountCalls("CloseSource"), 1);
  EXPECT_EQ(orlisk::testing::ReadBytes(folder / "out.avi"), "the user's old video");
  EXPECT_EQ(Names(), std::vector<std::string>{"out.avi"});
}

TEST_F(WriteJobTest, AFinishedJobMakesNoFurtherCall) {
  WriteJob job = MakeJob();
  job.Start(Target(), kOutputAvi);
  job.Step();
  job.Finish();
  const std::size_t calls = writer.Calls.size();
  const int reads = reader.reads;
  EXPECT_FALSE(job.Step());
  job.Finish();
  EXPECT_EQ(writer.Calls.size(), calls);
  EXPECT_EQ(reader.reads, reads);
}

// A writer whose creation leaves a piece of file behind before it fails.
struct HalfCreatingWriter : NullVideoWriter {
  void CreateOutput(const std::string& path, std::int32_t) override {
    std::ofstream(path) << "RIFF";
    throw MediaError("Cannot create " + path + ": disk full");
  }
};

TEST(WriteJobFailures, AFailedCreationRemovesItsPieceAndNeverTouchesTheTarget) {
  orlisk::testing::TempFolder folder("writejob");
  ScriptedReader reader;
  HalfCreatingWriter writer;
  testing::RecordingTransform transform;
  for (const bool fileThere : {false, true}) {
    if (fileThere) orlisk::testing::WriteBytes(folder / "out.avi", "the user's file");
    WriteJob job({.Reader = reader, .Writer = writer, .Transform = transform, .ShowFrame = {}}, {}, SubtitleStyle{});
    EXPECT_THROW(job.Start({.Path = (folder / "out.avi").string(), .ReplaceFile = true, .NextFreeName = {}}, kOutputAvi),
                 MediaError);
    EXPECT_EQ(orlisk::testing::ReadBytes(folder / "out.avi"), fileThere ? "the user's file" : "");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), fileThere ? 1 : 0);
  }
}

}  // namespace
}  // namespace orlisk
