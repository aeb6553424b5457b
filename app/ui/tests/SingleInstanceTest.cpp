#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryFile>

#include "TestSupport.h"
#include "app/ui/SingleInstance.h"

namespace orlisk {
namespace {

TEST(SingleInstanceName, IsTheTitleMadeSafeForASocketNameAndTheUser) {
  struct Row {
    const char* title;
    unsigned user;
    const char* name;
  };
  const Row rows[] = {
      {"Veldrane Orlisk", 1000, "veldrane-orlisk-1000"},
      {"Veldrane Orlisk", 0, "veldrane-orlisk-0"},
      {"  Veldrane   Orlisk/..\\x ", 7, "veldrane-orlisk-x-7"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(SingleInstanceName(QString::fromUtf8(row.title), row.user), QString::fromLatin1(row.name));
  }
  EXPECT_NE(SingleInstanceName("Veldrane Orlisk", 1000), SingleInstanceName("Veldrane Orlisk", 1001));
}

TEST(SingleInstance, ASecondStartIsRefusedAndTellsTheFirst) {
  test::TestApplication();
  const QString name = SingleInstanceName(QStringLiteral("orlisk ui test %1").arg(QCoreApplication::applicationPid()), 1);
  SingleInstance first(name);
  ASSERT_TRUE(first.claim());
  QByteArray received;
  QObject::connect(&first, &SingleInstance::messageReceived, [&](const QByteArray& m) { received += m; });

  SingleInstance second(name);
  EXPECT_FALSE(second.claim());
  second.notifyRunningInstance();

  QElapsedTimer waited;
  waited.start();
  while (received.isEmpty() && waited.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(received, QByteArray("5120"));
}

TEST(SingleInstance, TheNameIsFreeAgainOnceTheFirstHasEnded) {
  test::TestApplication();
  const QString name = SingleInstanceName(QStringLiteral("orlisk ui again %1").arg(QCoreApplication::applicationPid()), 1);
  {
    SingleInstance first(name);
    ASSERT_TRUE(first.claim());
  }
  SingleInstance next(name);
  EXPECT_TRUE(next.claim());
}

// The temporary folder is a plain file, so no lock can be made in it: that is
// no running editor, and the start goes on.
TEST(SingleInstance, AnUnusableTemporaryFolderDoesNotStopTheStart) {
  test::TestApplication();
  QTemporaryFile notAFolder;
  ASSERT_TRUE(notAFolder.open());
  const QByteArray savedTmpdir = qgetenv("TMPDIR");
  const bool hadTmpdir = qEnvironmentVariableIsSet("TMPDIR");
  qputenv("TMPDIR", notAFolder.fileName().toLocal8Bit());
  const QString name = SingleInstanceName(QStringLiteral("orlisk ui unusable %1").arg(QCoreApplication::applicationPid()), 1);
  bool claimed = false;
  {
    SingleInstance first(name);
    claimed = first.claim();
  }
  if (hadTmpdir) {
    qputenv("TMPDIR", savedTmpdir);
  } else {
    qunsetenv("TMPDIR");
  }
  EXPECT_TRUE(claimed);
}

TEST(SingleInstance, NotifyingWithNobodyListeningReturnsQuietly) {
  test::TestApplication();
  SingleInstance lonely(SingleInstanceName(QStringLiteral("orlisk nobody"), 424242));
  EXPECT_NO_THROW(lonely.notifyRunningInstance());
}

}  // namespace
}  // namespace orlisk
