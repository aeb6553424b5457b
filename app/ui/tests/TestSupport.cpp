#include "TestSupport.h"

namespace orlisk::test {

Application& TestApplication() {
  static int argc = 1;
  static char name[] = "orlisk_ui_tests";
  static char* argv[] = {name, nullptr};
  static Application app(argc, argv);
  return app;
}

}  // namespace orlisk::test
