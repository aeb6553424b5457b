// The editor's entry: one instance per user, the windows, the event loop.
#include <QMessageBox>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <unistd.h>

#include "app/skin/SkinSurface.h"
#include "app/ui/AppIcon.h"
#include "app/ui/AppLook.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "app/ui/SingleInstance.h"
#include "burnin/QtTextTransform.h"
#include "burnin/writer/FfmpegVideoWriter.h"
#include "online/CurlHttpClient.h"
#include "playback/FfmpegVideoReader.h"
#include "playback/audio/SdlAudioPlayer.h"

int main(int argc, char** argv) {
  using namespace orlisk;
  // Answered before anything needs a display or another instance.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("orlisk %s\n", ORLISK_VERSION);
    return 0;
  }
  std::setlocale(LC_ALL, "");
  Application app(argc, argv);
  const QString title = QString::fromLatin1(kApplicationTitle);
  // The display name stays unset: on X11, Qt appends it to every other
  // window's title, which would turn the "Information" and "Confirm" captions
  // into "Information — Veldrane Orlisk". The main window carries the title.
  app.setApplicationName(QStringLiteral("orlisk"));
  // The desktop matches the windows to the installed orlisk.desktop by this name.
  app.setDesktopFileName(QStringLiteral("orlisk"));
  app.setWindowIcon(ApplicationIcon());
  ApplyDarkLook(app);
  const int languageId = SystemDefaultLanguageId();
  InstallQtTranslations(app, languageId == kLangChineseSimplified);

  // A later start only tells the running editor about itself.
  SingleInstance instance(SingleInstanceName(title, ::getuid()));
  if (!instance.claim()) {
    instance.notifyRunningInstance();
    return 0;
  }

  FfmpegVideoReader reader;
  SdlAudioPlayer audio;
  QtTextTransform transform;
  CurlHttpClient http;
  FfmpegVideoWriter writer;
  const std::filesystem::path executableFolder = QCoreApplication::applicationDirPath().toStdString();
  Tfm_main mainWindow(MainWindowParts{
      AppPaths::Discover(executableFolder, (executableFolder / ORLISK_DATA_FROM_EXECUTABLE).lexically_normal()),
      languageId, reader, audio, transform, writer, TextPixelWidth, &http});
  app.setCommands(&mainWindow.commands());
  app.setExceptionHandler([&mainWindow] { mainWindow.HandleAppException(); });

  try {
    mainWindow.FormShow();
  } catch (const std::exception& e) {
    // Without its skin (or another part of its start) the editor cannot work at all.
    QMessageBox::critical(nullptr, title, QString::fromStdString(e.what()));
    return 1;
  }
  mainWindow.show();
  mainWindow.RecoverAndStartJournal();
  return app.exec();
}
