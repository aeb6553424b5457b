#include "TestSupport.h"

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

}  // namespace orlisk::test
