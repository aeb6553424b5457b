// Commands fail where they start: the runner hands their errors to the error
// handler, so nothing unwinds through Qt's frames, not even beneath a nested
// event loop such as a modal dialog's or the write job's.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <stdexcept>

#include "TestSupport.h"
#include "app/ui/CommandRunner.h"

namespace orlisk {
namespace {

class CommandRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication().setExceptionHandler([this] { ++lastNetCalls; });
  }
  void TearDown() override { test::TestApplication().setExceptionHandler({}); }

  int handled = 0;
  int lastNetCalls = 0;
  CommandRunner runner{[this] { ++handled; }};
};

TEST_F(CommandRunnerTest, AFailingCommandGoesToTheHandlerOnceAndAWorkingOneDoesNot) {
  int ran = 0;
  runner.run([&] { ++ran; });
  EXPECT_EQ(handled, 0);
  EXPECT_NO_THROW(runner.run([] { throw std::runtime_error("the reader failed"); }));
  EXPECT_NO_THROW(runner.run([] { throw 42; }));
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(handled, 2);
}

TEST_F(CommandRunnerTest, ACommandFailingBeneathANestedLoopLeavesTheLoopRunning) {
  QEventLoop nested;
  bool laterEventRan = false;
  QTimer::singleShot(0, [&] { runner.run([] { throw std::runtime_error("a tick failed"); }); });
  QTimer::singleShot(5, [&] {
    laterEventRan = true;
    nested.quit();
  });
  nested.exec();
  EXPECT_TRUE(laterEventRan);
  EXPECT_EQ(handled, 1);
  // Handled where the command started: the application's last net saw nothing.
  EXPECT_EQ(lastNetCalls, 0);
}

TEST_F(CommandRunnerTest, ErrorsWhileTheHandlerAsksAreNotAskedAgainAndItsOwnErrorIsDropped) {
  int asked = 0;
  CommandRunner nestedRunner{[&] {
    ++asked;
    // The question's own loop runs another failing command.
    nestedRunner.run([] { throw std::runtime_error("again"); });
    throw std::runtime_error("the offered save failed too");
  }};
  EXPECT_NO_THROW(nestedRunner.run([] { throw std::runtime_error("first"); }));
  EXPECT_EQ(asked, 1);
  // Once the question is closed, the next failure asks again.
  nestedRunner.run([] { throw std::runtime_error("later"); });
  EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace orlisk
