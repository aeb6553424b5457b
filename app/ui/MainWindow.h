#pragma once
// `Tfm_main`: the main window. It places the controls over the skin surface,
// forwards the skin's clicks, the menus, the list, the memo, the picture and
// the timer to the commands of MainController, and runs the start-up sequence
// (FormShow) and the close (FormCloseQuery). It holds no logic of its own.
#include <QWidget>
#include <functional>
#include <memory>

#include "app/core/MainController.h"
#include "burnin/writer/CodecLists.h"
#include "burnin/writer/VideoWriter.h"
#include "app/language/Language.h"
#include "app/ui/WindowCommands.h"
#include "subtitles/DocumentChange.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;

namespace orlisk {

class SkinSurface;
class SkinSurfaceObjects;
class SubtitleListModel;
class SubtitleListView;
class SubtitleFontDialog;
class VideoViewWidget;
class CommandRunner;
class QtMessageBoxes;
class QtFileDialogs;
class QtPlaybackTimer;
class SteadyTickClock;
class QtDesktopShell;
class QtMouseButtons;
class QtUserInterfaceThread;
class PlaybarSound;
class QtUpdateNotices;
class QtEventPump;
class WriteProgressWidgets;
class PlainTextMemo;
class TypedTimeBox;
class ReactionDelayDialog;
class ListViewSelection;
class Tfm_setfont;
class Tfm_set;
class Tfm_dir;
class Tfm_about;
class Tfm_update;
class DialogCaptionsOnShow;
class RecoveryCommands;
class RecoveryJournal;
class HistoryControls;

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

class Tfm_main : public QWidget, public WindowCommands {
  Q_OBJECT
 public:
  explicit Tfm_main(MainWindowParts parts);
  ~Tfm_main() override;

  // The start-up sequence, run once before the window is first shown. Throws
  // SkinError naming the skin file when it is missing or broken.
  void FormShow();
  // An error escaped a command: offer to save the subtitles.
  void HandleAppException();
  // Runs a command of this window; an error it throws goes to HandleAppException.
  // Afterwards the play and pause buttons show the play state.
  void Run(const std::function<void()>& command);
  // The same, for a command that is not a plain user action: typing, the
  // placement drag, a timer (they join or keep the history's runs).
  void RunAs(CommandKind kind, const std::function<void()>& command);
  // After the first show: offers to restore what a run that did not end
  // cleanly left in its journal, then keeps this run's own journal.
  void RecoverAndStartJournal();

  MainController& controller() { return *controller_; }
  MainState& state() { return state_; }
  // The writer's catalogues as read at start, and the output settings' format
  // list (0 AVI, 1 MPEG, 2 WMV, 3 RM): what a write job configures from.
  const CodecLists& codecLists() const { return controller_->burnIn().codecLists(); }
  int FormatChoice() const;

  // The skin's buttons, the function keys and the menus.
  void OpenVideo() override;
  void OpenSubtitleFile() override;
  void SaveSubtitleFile() override;
  void WriteSubtitlesToVideo() override;
  void StopWriting() override;
  void Play() override;
  void Pause() override;
  void StopPlayback() override;
  void FastBack() override;
  void FastForward() override;
  void InsertSubtitle() override;
  void SetBeginTime() override;
  void SetEndTime() override;
  void RemoveSubtitle() override;
  void ClearSubtitles() override;
  void InsertBlankSubtitle() override;
  void EditSubtitle() override;
  void ShowFileMenu() override;
  void ShowHelpMenu() override;
  void ShowSubtitleStyle() override;
  void ShowOutputSettings() override;
  void OpenGiftPage() override;
  void OpenHelpFile() override;
  void ShowHelpTopic(int topic) override;

  // Popup menu items that are not skin commands.
  void SaveSubtitleFileAs();
  void Inspectionupdate1Click();
  void ContactUS1Click();
  void OurWebSite1Click();
  void About1Click();
  void Exit1Click();
  void ReactionDelay1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowPlayState();
  // The memo takes typing only while a subtitle at hand does; its hint says
  // what typing does, or how to take a subtitle up.
  void ShowMemoState();
  void CreateMenus();
  void ConnectControls();
  void LoadLanguage();
  void SetUpSkin();
  void PlaceControls();
  // Enter in ed_Starttime (begin) or ed_Endtime: true when the typed time was taken.
  bool ApplyTypedTime(bool begin);
  void StartJournalling();     // every change of the list from now on reaches journal_
  void CloseJournalCleanly();  // the window closes as the user wished

  MainWindowParts parts_;
  MainState state_;
  ProfileFile settings_;
  Language language_;  // English defaults until LoadLanguage

  // Controls; children of the skin surface so they sit on its face.
  SkinSurface* Skin1;
  VideoViewWidget* VideoView1;
  SubtitleListView* lv;
  SubtitleListModel* lvModel_;
  QPlainTextEdit* ed_text;
  QLineEdit* ed_Starttime;
  QLineEdit* ed_Endtime;
  QProgressBar* pb_writesubtitle;
  QCheckBox* cb_prsub;
  SubtitleFontDialog* FontDialog1;

  QMenu* PopupMenu_File = nullptr;
  QMenu* PopupMenu_tools = nullptr;
  QMenu* PopupMenu_help = nullptr;
  QAction* OpenFile1 = nullptr;
  QAction* OpenObj1 = nullptr;
  QAction* SaveProject1 = nullptr;
  QAction* SaveProjectAs1 = nullptr;  // always asks for a name
  QAction* WriteSubtitle1 = nullptr;
  QAction* Stop1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* Insert = nullptr;
  QAction* Editsubtitle = nullptr;
  QAction* RemoveSubtitle1 = nullptr;
  QAction* ClearSubtitle1 = nullptr;
  QAction* Content1 = nullptr;
  QAction* Inspectionupdate1 = nullptr;
  QAction* ContactUS1 = nullptr;
  QAction* OurWebSite1 = nullptr;
  QAction* About1 = nullptr;
  QAction* ReactionDelay1 = nullptr;

  std::unique_ptr<CommandRunner> runner_;
  // The seams the commands talk through.
  std::unique_ptr<QtMessageBoxes> messages_;
  std::unique_ptr<QtFileDialogs> dialogs_;
  std::unique_ptr<SkinSurfaceObjects> skinObjects_;
  std::unique_ptr<PlainTextMemo> memo_;
  std::unique_ptr<TypedTimeBox> startTime_;
  std::unique_ptr<TypedTimeBox> endTime_;
  std::unique_ptr<ListViewSelection> selection_;
  std::unique_ptr<QtPlaybackTimer> Timer1;
  std::unique_ptr<SteadyTickClock> clock_;
  std::unique_ptr<QtDesktopShell> ownDesktop_;  // when the parts bring none
  std::unique_ptr<QtMouseButtons> mouse_;
  OfflineHttpClient offline_;
  std::unique_ptr<QtUserInterfaceThread> uiThread_;
  std::unique_ptr<QtPlaybackTimer> Timer2;  // a newer version found: shows Tfm_update
  std::unique_ptr<QtUpdateNotices> updateNotices_;
  std::unique_ptr<QtEventPump> events_;
  std::unique_ptr<WriteProgressWidgets> progress_;
  std::unique_ptr<PlaybarSound> waveform_;  // stops its scan before the skin goes
  std::unique_ptr<MainController> controller_;
  std::unique_ptr<RecoveryCommands> recovery_;
  std::unique_ptr<RecoveryJournal> journal_;  // none until RecoverAndStartJournal
  std::unique_ptr<HistoryControls> historyControls_;  // goes before the history it observes

  // The other windows, created after this one and living as long.
  Tfm_setfont* fm_setfont;
  Tfm_set* fm_set;
  Tfm_dir* fm_dir;
  Tfm_about* fm_about;
  Tfm_update* fm_update;
  ReactionDelayDialog* fm_reactionDelay;
  // Gives dialogs their captions from the language file as they are shown.
  DialogCaptionsOnShow* captionsOnShow_ = nullptr;
  QString typingHint_;
  QString readOnlyHint_;
};

}  // namespace orlisk
