// orlisk-burn: burns a subtitle file into a copy of a video, for many videos
// at a time from scripts. The same settings, renderer and write job as the
// editor, without a window.
#include <QGuiApplication>
#include <atomic>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

#include "BurnOptions.h"
#include "BurnRun.h"
#include "ExportRun.h"
#include "media/FfmpegDiagnostics.h"

namespace {

std::atomic<int> stopSignal{0};

extern "C" void RequestStop(int signal) { stopSignal.store(signal); }

// Qt's remarks about the desktop session (no runtime folder, no screen) mean
// nothing to a program without windows; only its real failures are shown.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "orlisk-burn: " << message.toStdString() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orlisk;
  std::setlocale(LC_ALL, "");
  std::vector<std::string> arguments(argv + 1, argv + argc);
  BurnOptions options;
  try {
    options = ParseBurnOptions(arguments);
  } catch (const UsageError& e) {
    std::cerr << "orlisk-burn: " << e.what() << "\n\n" << BurnUsageText();
    return kBurnBadUsage;
  }
  if (options.Help) {
    std::cout << BurnUsageText();
    return kBurnDone;
  }
  if (options.Version) {
    std::cout << BurnVersionText(FfmpegVersionsText());
    return kBurnDone;
  }
  ShowFfmpegLog(options.Verbose);

  // The text is drawn with QPainter, which needs a GUI application but no screen.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QuietQtMessages);
  QGuiApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("orlisk-burn"));

  static_assert(std::atomic<int>::is_always_lock_free);
  struct sigaction stop {};
  stop.sa_handler = RequestStop;
  sigemptyset(&stop.sa_mask);
  sigaction(SIGINT, &stop, nullptr);
  sigaction(SIGTERM, &stop, nullptr);

  const std::filesystem::path executableFolder = QCoreApplication::applicationDirPath().toStdString();
  const AppPaths paths = AppPaths::Discover(executableFolder, executableFolder);
  if (!options.ExportFile.empty()) return RunExport(options, paths, std::cout, std::cerr);
  return RunBurn(options, paths, std::cout, std::cerr, isatty(STDERR_FILENO) != 0, stopSignal);
}
