#pragma once
// Shared by the window tests: the application object (created once per test
// process, as the program does), a command target that records its calls, the
// stand-ins for the reader and the sound of a window that opens no video, and
// a desktop that notes the pages it was asked to open.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/core/Seams.h"
#include "app/ui/Application.h"
#include "app/ui/WindowCommands.h"
#include "settings/AppPaths.h"
#include "subtitles/SubtitleStyle.h"
#include "playback/AudioPlayer.h"
#include "playback/NullVideoReader.h"

namespace orlisk::test {

// The one Application of the test process.
Application& TestApplication();

// Where a window under test keeps its files: the settings file, videos and
// data under `home`; the shipped skins and language files by default.
AppPaths WindowPaths(const std::filesystem::path& home,
                     const std::filesystem::path& programFolder = ORLISK_TEST_DATA_DIR);

// Text width for windows under test: ten pixels a byte, whatever the font.
int TenPixelsAByte(const std::string& line, const SubtitleFont& font);

class RecordingCommands : public WindowCommands {
 public:
  std::vector<std::string> calls;

  void OpenVideo() override { calls.push_back("OpenVideo"); }
  void OpenSubtitleFile() override { calls.push_back("OpenSubtitleFile"); }
  void SaveSubtitleFile() override { calls.push_back("SaveSubtitleFile"); }
  void WriteSubtitlesToVideo() override { calls.push_back("WriteSubtitlesToVideo"); }
  void StopWriting() override { calls.push_back("StopWriting"); }
  void Play() override { calls.push_back("Play"); }
  void Pause() override { calls.push_back("Pause"); }
  void StopPlayback() override { calls.push_back("StopPlayback"); }
  void FastBack() override { calls.push_back("FastBack"); }
  void FastForward() override { calls.push_back("FastForward"); }
  void InsertSubtitle() override { calls.push_back("InsertSubtitle"); }
  void SetBeginTime() override { calls.push_back("SetBeginTime"); }
  void SetEndTime() override { calls.push_back("SetEndTime"); }
  void RemoveSubtitle() override { calls.push_back("RemoveSubtitle"); }
  void ClearSubtitles() override { calls.push_back("ClearSubtitles"); }
  void InsertBlankSubtitle() override { calls.push_back("InsertBlankSubtitle"); }
  void EditSubtitle() override { calls.push_back("EditSubtitle"); }
  void ShowFileMenu() override { calls.push_back("ShowFileMenu"); }
  void ShowHelpMenu() override { calls.push_back("ShowHelpMenu"); }
  void ShowSubtitleStyle() override { calls.push_back("ShowSubtitleStyle"); }
  void ShowOutputSettings() override { calls.push_back("ShowOutputSettings"); }
  void OpenGiftPage() override { calls.push_back("OpenGiftPage"); }
  void OpenHelpFile() override { calls.push_back("OpenHelpFile"); }
  void ShowHelpTopic(int topic) override { calls.push_back("ShowHelpTopic" + std::to_string(topic)); }
};

// A reader that opens nothing and counts the closes the window asks of it.
class IdleReader : public NullVideoReader {
 public:
  void CloseSource() override { ++closes; }
  int closes = 0;
};

// A sound output that plays nothing.
class IdleAudio : public AudioPlayer {
 public:
  void SetAudioFormat(int, int) override {}
  void StartAudio() override {}
  void StopAudio() override {}
  void QueueAudio(const AudioBlock&) override {}
  std::optional<std::int32_t> PlayedMilliseconds() override { return std::nullopt; }
};

// The desktop: the addresses it was asked to open, in order.
class RecordingDesktop : public DesktopShell {
 public:
  std::vector<std::string> urls;
  void openUrl(const std::string& url) override { urls.push_back(url); }
  void showInFileManager(const std::string& path) override { urls.push_back("file manager: " + path); }
};

}  // namespace orlisk::test
