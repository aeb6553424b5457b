#pragma once
// The Qt side of the seams the main window's commands talk through: message
// boxes, file dialogs, the playback timer, the tick clock, the desktop and the
// mouse buttons. Widgets that the window owns (memo, edit boxes, list, skin)
// have their seams in WidgetSeams.h.
#include <QPointer>
#include <QTimer>
#include <functional>

#include "app/core/OnlineSeams.h"
#include "app/core/Seams.h"

class QWidget;

namespace orlisk {

class Language;

// Modal boxes centred on the screen, with the captions, icons and buttons of
// the four kinds: "Information" with "OK", "&Yes"/"&No" or "OK"/"&Help", and
// "Confirm" with a question icon and "&Yes"/"&No". Escape answers No (or OK).
// "&Help" has no topic: pressing it leaves the box open.
class QtMessageBoxes : public MessageBoxes {
 public:
  // The captions "Information" and "Confirm" come from the language file
  // (section "MessageBox") when one is given; it must outlive the boxes.
  explicit QtMessageBoxes(QWidget* parent, const Language* language = nullptr)
      : parent_(parent), language_(language) {}
  void information(const std::string& text) override;
  bool informationQuestion(const std::string& text) override;
  void informationWithHelp(const std::string& text) override;
  bool confirmation(const std::string& text) override;
  SaveAnswer saveQuestion(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
  const Language* language_;
};

// QFileDialog with the Windows filters converted. The video dialog lets the
// user pick several files and opens the first; the save dialog adds no
// extension and leaves the overwrite question to the command.
class QtFileDialogs : public FileDialogs {
 public:
  // The output folder dialog is the window's own `Tfm_dir`, reached through
  // `chooseFolder`; without one no folder is ever chosen.
  using FolderChooser = std::function<std::optional<std::string>(const std::string& startFolder)>;
  explicit QtFileDialogs(QWidget* parent, FolderChooser chooseFolder = {})
      : parent_(parent), chooseFolder_(std::move(chooseFolder)) {}
  std::optional<std::string> openVideo(const std::string& startFolder, const std::string& filter) override;
  // Qt's own dialog, with the encoding's list under the file type's.
  std::optional<ChosenSubtitleFile> openSubtitle(const std::string& startFolder, const std::string& filter,
                                                 const EncodingList& encodings) override;
  std::optional<std::string> saveSubtitle(const std::string& startFolder, const std::string& proposedName,
                                          const std::string& filter) override;
  std::optional<int> chooseEncoding(const std::string& title, const EncodingList& encodings) override;
  std::optional<std::string> chooseOutputFolder(const std::string& startFolder) override {
    return chooseFolder_ ? chooseFolder_(startFolder) : std::nullopt;
  }

 private:
  QPointer<QWidget> parent_;
  FolderChooser chooseFolder_;
};

// `Timer1`: a precise QTimer that runs `onTick` on every timeout.
class QtPlaybackTimer : public PlaybackTimer {
 public:
  explicit QtPlaybackTimer(std::function<void()> onTick);
  void start(int intervalMs) override;
  void stop() override { timer_.stop(); }
  bool isActive() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

// Milliseconds of the monotonic clock, wrapping at 32 bits.
class SteadyTickClock : public TickClock {
 public:
  std::uint32_t nowMs() const override;
};

// The user's browser or viewer; the file manager over D-Bus
// (org.freedesktop.FileManager1.ShowItems), or the folder itself when no file
// manager answers.
class QtDesktopShell : public DesktopShell {
 public:
  void openUrl(const std::string& url) override;
  void showInFileManager(const std::string& path) override;
};

// Work for the user-interface thread, posted from any thread to `context`'s
// event queue and run there through `run` (the window's command runner). Work
// still queued when `context` goes is dropped with it.
class QtUserInterfaceThread : public UserInterfaceThread {
 public:
  using Runner = std::function<void(const std::function<void()>&)>;
  QtUserInterfaceThread(QObject* context, Runner run) : context_(context), run_(std::move(run)) {}
  void post(std::function<void()> task) override;

 private:
  QObject* const context_;  // a plain pointer: read from other threads, never changed
  const Runner run_;
};

// The update notice window through `showWindow`; the plain notice as a modal
// box centred on the screen with the caption `title`, no icon and "OK".
class QtUpdateNotices : public UpdateNotices {
 public:
  QtUpdateNotices(QWidget* parent, QString title, std::function<void()> showWindow)
      : parent_(parent), title_(std::move(title)), showWindow_(std::move(showWindow)) {}
  void showUpdateWindow() override { showWindow_(); }
  void showNotice(const std::string& text) override;

 private:
  QPointer<QWidget> parent_;
  QString title_;
  std::function<void()> showWindow_;
};

// The left button as the system sees it at this moment.
class QtMouseButtons : public MouseButtons {
 public:
  bool leftButtonDown() const override;
};

}  // namespace orlisk
