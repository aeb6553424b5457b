#pragma once
// The Qt side of everything the main window's commands reach: it builds the
// seams over the window's controls and hands the commands their context.
// The window keeps the controls; these objects only wrap them, and call the
// window back to run what they start (a timer's tick, a typed time, the
// update check's result) as its commands.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/core/MainController.h"
#include "app/language/Language.h"
#include "burnin/writer/VideoWriter.h"
#include "online/HttpClient.h"

class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QWidget;

namespace orlisk {

class SkinSurface;
class SkinSurfaceObjects;
class SubtitleListView;
class SubtitleFontDialog;
class VideoViewWidget;
class QtMessageBoxes;
class QtFileDialogs;
class QtPlaybackTimer;
class SteadyTickClock;
class QtDesktopShell;
class QtMouseButtons;
class QtUserInterfaceThread;
class QtUpdateNotices;
class QtEventPump;
class WriteProgressWidgets;
class PlainTextMemo;
class TypedTimeBox;
class ListViewSelection;
class PlaybarSound;
class TimingStrip;

inline constexpr char kApplicationTitle[] = "Veldrane Orlisk";

// What the window is built from: where files live, the system language, and
// the media components (the real ones in the program, stand-ins in tests).
struct MainWindowParts {
  AppPaths Paths;
  int LanguageId = kLangEnglishUs;
  VideoReader& Reader;
  AudioPlayer& Audio;
  TextTransform& Transform;
  VideoWriter& Writer;  // its catalogues fill the output settings at start
  std::function<int(const std::string& utf8Line, const SubtitleFont& font)> TextWidth;
  // The network; none keeps the window offline (every request fails at once).
  HttpClient* Http = nullptr;
  // Where help and web pages open: the user's browser unless a test answers.
  DesktopShell* Desktop = nullptr;
};

// The window's controls the seams wrap; all outlive the seams.
struct WindowControls {
  QWidget& Window;  // parent of the boxes and dialogs
  SkinSurface& Skin;
  VideoViewWidget& View;
  SubtitleListView& List;
  QPlainTextEdit& Memo;
  QLineEdit& StartTime;
  QLineEdit& EndTime;
  QProgressBar& Progress;
  SubtitleFontDialog& Fonts;
  TimingStrip& Strip;  // shows the playbar's sound and spans too
};

// How the seams call the window back.
struct WindowCallbacks {
  std::function<void(CommandKind, const std::function<void()>&)> RunAs;  // the window's runner
  std::function<bool(bool begin)> ApplyTypedTime;  // Enter in ed_Starttime (begin) or ed_Endtime
  std::function<void()> PlaybackTick;              // Timer1
  std::function<void()> UpdateTick;                // Timer2
  std::function<void()> ShowUpdateWindow;          // Tfm_update
  // Tfm_dir from `startFolder`: the folder chosen, or nothing.
  std::function<std::optional<std::string>(const std::string& startFolder)> ChooseOutputFolder;
};

class WindowSeams {
 public:
  // `language` is the window's, filled at FormShow; it outlives the seams.
  WindowSeams(const MainWindowParts& parts, const WindowControls& controls, const Language& language,
              WindowCallbacks callbacks);
  ~WindowSeams();
  WindowSeams(const WindowSeams&) = delete;
  WindowSeams& operator=(const WindowSeams&) = delete;

  // The commands' context: these seams, the parts' media components, and the
  // window's state, settings file and language.
  MainContext Context(MainState& state, ProfileFile& settings, Language& language);

  QtMessageBoxes& messages() { return *messages_; }
  SkinSurfaceObjects& skinObjects() { return *skinObjects_; }
  ListViewSelection& selection() { return *selection_; }
  PlaybarSound& waveform() { return *waveform_; }

 private:
  const MainWindowParts& parts_;
  WindowControls controls_;
  WindowCallbacks callbacks_;
  std::unique_ptr<QtMessageBoxes> messages_;
  std::unique_ptr<QtFileDialogs> dialogs_;
  std::unique_ptr<SkinSurfaceObjects> skinObjects_;
  std::unique_ptr<PlainTextMemo> memo_;
  std::unique_ptr<TypedTimeBox> startTime_;
  std::unique_ptr<TypedTimeBox> endTime_;
  std::unique_ptr<ListViewSelection> selection_;
  std::unique_ptr<QtPlaybackTimer> timer1_;
  std::unique_ptr<SteadyTickClock> clock_;
  std::unique_ptr<QtDesktopShell> ownDesktop_;  // when the parts bring none
  std::unique_ptr<QtMouseButtons> mouse_;
  OfflineHttpClient offline_;
  std::unique_ptr<QtUserInterfaceThread> uiThread_;
  std::unique_ptr<QtPlaybackTimer> timer2_;  // a newer version found: shows Tfm_update
  std::unique_ptr<QtUpdateNotices> updateNotices_;
  std::unique_ptr<QtEventPump> events_;
  std::unique_ptr<WriteProgressWidgets> progress_;
  std::unique_ptr<PlaybarSound> waveform_;  // stops its scan before the skin goes
};

}  // namespace orlisk
