#include "TestSupport.h"

#include <QAction>
#include <stdexcept>

#include "app/ui/MainWindow.h"

namespace orlisk::test {

Application& TestApplication() {
  static int argc = 1;
  static char name[] = "orlisk_ui_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: Qt's own statics (input devices made by the test tool)
  // outlive it and would otherwise be torn down after it at exit.
  static Application* app = new Application(argc, argv);
  return *app;
}

AppPaths WindowPaths(const std::filesystem::path& home, const std::filesystem::path& programFolder) {
  AppPaths paths;
  paths.ProgramFolder = programFolder;
  paths.HomeFolder = home;
  paths.SettingsFile = home / "orlisk.ini";
  paths.VideosFolder = home / "Videos";
  paths.DataFolder = home / "data";
  return paths;
}

void RunCommand(Tfm_main& window, const char* name) {
  QAction* action = window.commands().action(name);
  if (!action) throw std::invalid_argument(std::string("no command ") + name);
  action->trigger();
}

int TenPixelsAByte(const std::string& line, const SubtitleFont&) { return static_cast<int>(line.size()) * 10; }

}  // namespace orlisk::test
