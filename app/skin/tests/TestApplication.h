#pragma once
// The widget tests need one QApplication for the whole run.
#include <QApplication>

namespace orlisk::test {

inline void EnsureApplication() {
  static int argc = 1;
  static char name[] = "orlisk_skin_tests";
  static char* argv[] = {name, nullptr};
  if (!QApplication::instance()) new QApplication(argc, argv);
}

// A first member of a test fixture, so that widget members come after the application.
struct ApplicationGuard {
  ApplicationGuard() { EnsureApplication(); }
};

}  // namespace orlisk::test
