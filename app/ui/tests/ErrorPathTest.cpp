// An error that escapes a handler of the user-interface thread ends in the
// application object and becomes the offer to save the subtitles.
#include <gtest/gtest.h>

#include <QTimer>
#include <stdexcept>

#include "TestSupport.h"
#include "app/ui/ErrorHandler.h"

namespace orlisk {
namespace {

class ScriptedMessages : public MessageBoxes {
 public:
  bool answer = false;
  std::vector<std::string> confirmations;
  std::vector<std::string> informations;

  void information(const std::string& text) override { informations.push_back(text); }
  bool informationQuestion(const std::string&) override {
    ADD_FAILURE() << "no question expected";
    return false;
  }
  void informationWithHelp(const std::string&) override { FAIL() << "no help box expected"; }
  bool confirmation(const std::string& text) override {
    confirmations.push_back(text);
    return answer;
  }
  SaveAnswer saveQuestion(const std::string&) override {
    ADD_FAILURE() << "no save question expected";
    return SaveAnswer::Cancel;
  }
};

// An object whose every user event fails the way a command's error does.
class FailingObject : public QObject {
 public:
  int deliveries = 0;
  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    ++deliveries;
    throw std::runtime_error("the component failed");
  }
};

class ErrorPath : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication().setExceptionHandler(
        [this] { HandleAppException(messages, language, [this] { save(); }); });
  }
  void TearDown() override { test::TestApplication().setExceptionHandler({}); }

  ScriptedMessages messages;
  Language language;  // before the language file is chosen: English texts
  int saves = 0;
  std::function<void()> save = [this] { ++saves; };
};

const std::string kQuestion = "A system error occurs, whether save subtitle?";

TEST_F(ErrorPath, AnEventHandlerErrorAsksAndNoSavesNothing) {
  FailingObject failing;
  QEvent event(QEvent::User);
  EXPECT_NO_THROW(QCoreApplication::sendEvent(&failing, &event));
  EXPECT_EQ(failing.deliveries, 1);
  EXPECT_EQ(messages.confirmations, std::vector<std::string>{kQuestion});
  EXPECT_EQ(saves, 0);
  EXPECT_TRUE(messages.informations.empty());
}

TEST_F(ErrorPath, YesRunsTheSaveCommand) {
  messages.answer = true;
  FailingObject failing;
  QEvent event(QEvent::User);
  QCoreApplication::sendEvent(&failing, &event);
  EXPECT_EQ(saves, 1);
}

TEST_F(ErrorPath, ASlotErrorFromTheEventLoopIsCaughtToo) {
  bool ran = false;
  QTimer::singleShot(0, [&ran] {
    ran = true;
    throw std::runtime_error("a slot failed");
  });
  EXPECT_NO_THROW(QCoreApplication::processEvents());
  EXPECT_TRUE(ran);
  EXPECT_EQ(messages.confirmations, std::vector<std::string>{kQuestion});
}

TEST_F(ErrorPath, ASaveThatFailsAgainEscapesNowhere) {
  messages.answer = true;
  save = [this] {
    ++saves;
    throw std::runtime_error("Unable to write to /nowhere/a.srt");
  };
  FailingObject failing;
  QEvent event(QEvent::User);
  EXPECT_NO_THROW(QCoreApplication::sendEvent(&failing, &event));
  EXPECT_EQ(saves, 1);
  // Told, with the reason, that nothing was saved.
  EXPECT_EQ(messages.informations,
            std::vector<std::string>{"The subtitles were not saved.\n\nUnable to write to /nowhere/a.srt"});
  // The loop carries on: the next failure asks again.
  EXPECT_NO_THROW(QCoreApplication::sendEvent(&failing, &event));
  EXPECT_EQ(saves, 2);
}

TEST_F(ErrorPath, ErrorsWhileTheQuestionIsOpenAreNotAskedAgain) {
  // The question's own event loop delivers another failing event.
  FailingObject failing;
  messages.answer = false;
  int asked = 0;
  test::TestApplication().setExceptionHandler([&] {
    ++asked;
    QEvent again(QEvent::User);
    QCoreApplication::sendEvent(&failing, &again);
  });
  QEvent event(QEvent::User);
  EXPECT_NO_THROW(QCoreApplication::sendEvent(&failing, &event));
  EXPECT_EQ(failing.deliveries, 2);
  EXPECT_EQ(asked, 1);
}

TEST_F(ErrorPath, NonStandardThrowsAreCaught) {
  QTimer::singleShot(0, [] { throw 42; });
  EXPECT_NO_THROW(QCoreApplication::processEvents());
  EXPECT_EQ(messages.confirmations.size(), 1u);
}

}  // namespace
}  // namespace orlisk
