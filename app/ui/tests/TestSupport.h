#pragma once
// Shared by the window tests: the application object (created once per test
// process, as the program does), the command table over a bare window with a
// runner that records the commands run, the
// stand-ins for the reader and the sound of a window that opens no video, and
// a desktop that notes the pages it was asked to open.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QMenu>
#include <QWidget>

#include "app/core/Seams.h"
#include "app/ui/Application.h"
#include "app/ui/CommandActions.h"
#include "settings/AppPaths.h"
#include "subtitles/SubtitleStyle.h"
#include "playback/AudioPlayer.h"
#include "playback/NullVideoReader.h"

namespace orlisk {
class Tfm_main;
}

namespace orlisk::test {

// The one Application of the test process.
Application& TestApplication();

// Where a window under test keeps its files: the settings file, videos and
// data under `home`; the shipped skins and language files by default.
AppPaths WindowPaths(const std::filesystem::path& home,
                     const std::filesystem::path& programFolder = ORLISK_TEST_DATA_DIR);

// Text width for windows under test: ten pixels a byte, whatever the font.
int TenPixelsAByte(const std::string& line, const SubtitleFont& font);

// The main window's command table over a bare window and its three menus;
// running a command notes its name instead. `now` says what is enabled.
class RecordingCommands {
 public:
  Application& app = TestApplication();  // before the first widget
  std::vector<std::string> calls;
  CommandConditions now;
  QWidget window;
  QMenu fileMenu{&window};
  QMenu listMenu{&window};
  QMenu helpMenu{&window};
  CommandActions actions{window, CommandMenus{.File = fileMenu, .List = listMenu, .Help = helpMenu},
                         [this] { return now; },
                         [this](const CommandRow& row) { calls.push_back(row.Name); }};
};

// Runs the main window's command `name` as its menu item, key or button does.
void RunCommand(Tfm_main& window, const char* name);

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
