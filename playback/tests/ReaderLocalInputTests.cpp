// Opening a chosen video reads that file and nothing else: files that would
// make FFmpeg follow playlists, open network streams or wait forever are
// refused at once through the usual cannot-open path.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "ReaderTestSupport.h"
#include "playback/FfmpegVideoReader.h"
#include "playback/LocalInput.h"
#include "media/MediaError.h"

namespace orlisk {
namespace {

namespace fs = std::filesystem;
using testclips::MakeClip;

// A fresh folder of this test's own inside the clips' folder.
fs::path Folder(const std::string& name) {
  const fs::path folder = fs::path(testclips::TempFolder()) / ("local-input-" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

void WriteText(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

struct RefusedRow {
  const char* name;
  // Makes the file to open in a folder of its own; returns its path.
  std::function<fs::path(const fs::path& folder)> make;
  const char* reason;  // a part of the message
};

class RefusedInputs : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedInputs, AreRefusedAtOnceWithTheUsualError) {
  const fs::path file = GetParam().make(Folder(GetParam().name));
  FfmpegVideoReader reader;
  const auto start = std::chrono::steady_clock::now();
  try {
    reader.OpenSource(file.string());
    ADD_FAILURE() << "opened " << file;
  } catch (const MediaError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find("Cannot open \"" + file.string() + "\""), std::string::npos) << message;
    EXPECT_NE(message.find(GetParam().reason), std::string::npos) << message;
  }
  const auto took = std::chrono::steady_clock::now() - start;
  std::cout << "[ refused  ] " << GetParam().name << " in "
            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms\n";
  EXPECT_EQ(reader.GetDuration(), 0);
}

// A video elsewhere on the disk that a playlist could lead to.
fs::path OtherVideo(const fs::path& folder) {
  fs::create_directories(folder / "elsewhere");
  const fs::path ts = folder / "elsewhere" / "clip.ts";
  fs::copy_file(MakeClip({.width = 64, .height = 48, .seconds = 1, .audio = false, .codec = "mpeg2video",
                          .container = "ts"}),
                ts);
  return ts;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RefusedInputs,
    ::testing::Values(
        RefusedRow{"HlsPlaylistNamedMp4",
                   [](const fs::path& folder) {
                     const fs::path ts = OtherVideo(folder);
                     WriteText(folder / "film.mp4", "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:2\n"
                                                    "#EXT-X-MEDIA-SEQUENCE:0\n#EXTINF:1.0,\n" +
                                                        ts.string() + "\n#EXT-X-ENDLIST\n");
                     return folder / "film.mp4";
                   },
                   ""},
        RefusedRow{"ConcatListNamedAvi",
                   [](const fs::path& folder) {
                     OtherVideo(folder);
                     WriteText(folder / "film.avi", "ffconcat version 1.0\nfile 'elsewhere/clip.ts'\n");
                     return folder / "film.avi";
                   },
                   ""},
        RefusedRow{"StreamDescriptionNamedMpg",
                   [](const fs::path& folder) {
                     WriteText(folder / "film.mpg",
                               "v=0\no=- 0 0 IN IP4 127.0.0.1\ns=film\nc=IN IP4 127.0.0.1\nt=0 0\n"
                               "m=video 5004 RTP/AVP 96\na=rtpmap:96 H264/90000\n");
                     return folder / "film.mpg";
                   },
                   ""},
        RefusedRow{"NumberedPictures",
                   [](const fs::path& folder) {
                     const std::string command = "ffmpeg -loglevel error -y -f lavfi -i testsrc2=size=32x24:rate=5 "
                                                 "-t 1 '" + (folder / "pic%03d.png").string() + "'";
                     EXPECT_EQ(std::system(command.c_str()), 0);
                     fs::copy_file(folder / "pic001.png", folder / "pic%03d.png");
                     return folder / "pic%03d.png";
                   },
                   ""},
        RefusedRow{"Fifo",
                   [](const fs::path& folder) {
                     EXPECT_EQ(::mkfifo((folder / "film.mp4").c_str(), 0600), 0);
                     return folder / "film.mp4";
                   },
                   "not an ordinary file"},
        RefusedRow{"LinkToDevZero",
                   [](const fs::path& folder) {
                     fs::create_symlink("/dev/zero", folder / "film.mpg");
                     return folder / "film.mpg";
                   },
                   "not an ordinary file"},
        RefusedRow{"Folder",
                   [](const fs::path& folder) {
                     fs::create_directory(folder / "film.avi");
                     return folder / "film.avi";
                   },
                   "not an ordinary file"}),
    [](const auto& info) { return std::string(info.param.name); });

struct FollowingRow {
  const char* name;
  const char* text;  // the chosen file's bytes, naming "entry.mp4"
  const char* fifo;  // the file it leads to, a FIFO in the same folder
};

// Files that name others are refused from their first bytes, before their
// demuxer opens anything: the FIFO they lead to is never opened (which would
// wait for a writer for ever). A watcher opens the FIFO's other end whenever
// someone reads it, so that a reader that did open it is told, not stuck.
TEST(LocalInputTest, AFileThatNamesOthersIsRefusedBeforeAnyOfThemIsOpened) {
  for (const FollowingRow& row : {
           FollowingRow{"concat", "ffconcat version 1.0\nfile 'entry.mp4'\n", "entry.mp4"},
           FollowingRow{"vobsub", "# VobSub index file, v7 (do not modify this line!)\nsize: 720x480\n", "film.sub"},
       }) {
    const fs::path folder = Folder(std::string("following-") + row.name);
    ASSERT_EQ(::mkfifo((folder / row.fifo).c_str(), 0600), 0);
    WriteText(folder / "film.mp4", row.text);
    std::atomic<bool> done{false}, entryOpened{false};
    std::thread watcher([&] {
      while (!done.load()) {
        const int fd = ::open((folder / row.fifo).c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
          entryOpened.store(true);
          ::close(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
    FfmpegVideoReader reader;
    try {
      reader.OpenSource((folder / "film.mp4").string());
      ADD_FAILURE() << row.name << " opened";
    } catch (const MediaError& error) {
      EXPECT_NE(std::string(error.what()).find(row.name), std::string::npos) << error.what();
    }
    done.store(true);
    watcher.join();
    EXPECT_FALSE(entryOpened.load()) << row.name;
  }
}

// A name that FFmpeg would otherwise take for a protocol and its options.
TEST(LocalInputTest, ANameWithAColonIsTheFileOfThatName) {
  const fs::path folder = Folder("colon");
  fs::copy_file(MakeClip({.width = 64, .height = 48, .seconds = 1}), folder / "data:film.avi");
  const fs::path before = fs::current_path();
  fs::current_path(folder);
  FfmpegVideoReader reader;
  EXPECT_NO_THROW(reader.OpenSource("data:film.avi"));
  fs::current_path(before);
  EXPECT_EQ(reader.GetWidth(), 64);
}

// The interrupt callback is wired to every read: once the deadline has passed,
// FFmpeg gives up instead of reading on.
TEST(LocalInputTest, ReadsStopOnceTheDeadlineHasPassed) {
  const std::string clip =
      MakeClip({.width = 320, .height = 240, .seconds = 2, .picture = testclips::Picture::TestPattern});
  InputGuard guard;
  InputFormatPtr format = OpenLocalInput(clip, guard);
  AvPacketPtr packet(av_packet_alloc());
  ASSERT_EQ(av_read_frame(format.get(), packet.get()), 0);
  av_packet_unref(packet.get());

  guard.startNow(0);
  int result = 0;
  for (int i = 0; i < 10'000 && result >= 0; ++i) {
    result = av_read_frame(format.get(), packet.get());
    av_packet_unref(packet.get());
  }
  EXPECT_EQ(result, AVERROR_EXIT);
}

}  // namespace
}  // namespace orlisk
