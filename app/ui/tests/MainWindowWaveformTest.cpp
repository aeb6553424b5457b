// The whole main window over the shipped skin with the real reader: a video
// opened through the file dialog brings its sound to the playbar while the
// window keeps handling events, and the list's timed subtitles follow as bands;
// the timing strip below the skin's face re-times them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>

#include "TestSupport.h"
#include "app/skin/SkinSurface.h"
#include "app/ui/MainWindow.h"
#include "app/ui/TimingStrip.h"
#include "burnin/NullTextTransform.h"
#include "burnin/writer/NullVideoWriter.h"
#include "playback/FfmpegVideoReader.h"
#include "tests/fixtures/TestClips.h"

namespace orlisk {
namespace {

bool AllKnown(const PlaybarWaveform& waveform) {
  const std::vector<float>& levels = waveform.columnLevels(100);
  return !levels.empty() && std::all_of(levels.begin(), levels.end(), [](float level) { return level >= 0; });
}

// Lets the window's events through until `done` or 30 s.
template <typename Done>
bool ProcessEventsUntil(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

TEST(MainWindowWaveformTest, AnOpenedVideosSoundAndTheListsSubtitlesShowOnThePlaybar) {
  test::TestApplication();
  QTemporaryDir home;
  const AppPaths paths = test::WindowPaths(home.path().toStdString());
  FfmpegVideoReader reader;
  test::IdleAudio audio;
  NullTextTransform transform;
  NullVideoWriter writer;
  Tfm_main window(MainWindowParts{paths, kLangEnglishUs, reader, audio, transform, writer,
                                  test::TenPixelsAByte});
  window.FormShow();
  window.show();
  PlaybarWaveform& waveform = window.findChild<SkinSurface*>()->playbarWaveform();

  const std::string clip = testclips::MakeClip({.width = 64, .height = 48, .seconds = 2, .audio = true, .channels = 1});
  // The open dialog is answered with the clip as soon as it is up.
  QTimer chooser;
  QObject::connect(&chooser, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    chooser.stop();
    // Typed into its name box and confirmed with Enter, as a user does.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_TRUE(name);
    name->setText(QString::fromStdString(clip));
    QTest::keyClick(name, Qt::Key_Return);
  });
  chooser.start(10);
  test::RunCommand(window, "OpenFile1");
  ASSERT_EQ(window.state().VideoPath, clip);
  EXPECT_EQ(waveform.duration(), 2000);
  ASSERT_TRUE(ProcessEventsUntil([&] { return AllKnown(waveform); }));
  // The test clips' tone plays at an eighth of full scale.
  EXPECT_NEAR(waveform.columnLevels(100)[50], 0.125, 0.01);

  // Any command hands the list's timed subtitles over.
  SubtitleEntry timed;
  timed.BeginTime = 500;
  timed.EndTime = 1500;
  window.state().Document.replaceAll({{"00:00:00,500 --> 00:00:01,500", "a"}}, {timed});
  test::RunCommand(window, "Pause");  // nothing to pause: the command does nothing else
  EXPECT_EQ(waveform.spans(), (std::vector<TimeSpan>{{500, 1500}}));

  // The strip lies below the skin's face and shows the video from 0 at 10 ms a pixel.
  auto* strip = window.findChild<TimingStrip*>();
  ASSERT_TRUE(strip);
  EXPECT_GE(strip->mapTo(&window, QPoint(0, 0)).y(), window.findChild<SkinSurface*>()->height());
  EXPECT_GE(strip->height(), 60);
  ASSERT_EQ(strip->scale().duration(), 2000);
  // The end dragged from 1.5 s to 1.8 s: one undo step through the window's commands.
  const std::size_t steps = window.controller().history().undoCount();
  QTest::mousePress(strip, Qt::LeftButton, {}, {150, 40});
  QTest::mouseMove(strip, {181, 40});
  QTest::mouseRelease(strip, Qt::LeftButton, {}, {181, 40});
  EXPECT_EQ(window.state().Document.row(0).Time, "00:00:00,500 --> 00:00:01,800");
  EXPECT_EQ(window.controller().history().undoCount(), steps + 1);
  test::RunCommand(window, "Undo1");
  EXPECT_EQ(window.state().Document.entries()[0].EndTime, 1500);
}

}  // namespace
}  // namespace orlisk
