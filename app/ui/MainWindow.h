#pragma once
// `Tfm_main`: the main window. It places the controls over the skin surface,
// hands the skin's clicks, the menus and the keys to its command table
// (CommandActions) and the list, the memo and the picture to the commands of
// MainController, and runs the start-up sequence (FormShow) and the close
// (FormCloseQuery). It holds no logic of its own.
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/core/MainController.h"
#include "app/language/Language.h"
#include "app/ui/WindowSeams.h"
#include "burnin/writer/CodecLists.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;

namespace orlisk {

class SkinSurface;
class SubtitleListModel;
class SubtitleListView;
class SubtitleFontDialog;
class VideoViewWidget;
class CommandActions;
class CommandRunner;
class ReactionDelayDialog;
class ShiftTimesDialog;
class TwoPointSyncDialog;
class FrameRateDialog;
class SubtitleCheckMarks;
class CheckReportDialog;
class Tfm_setfont;
class Tfm_set;
class Tfm_dir;
class Tfm_about;
class Tfm_update;
class DialogCaptionsOnShow;
class RecoveryCommands;
class RecoveryJournal;
class HistoryControls;
class TimingStrip;

class Tfm_main : public QWidget {
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

  // Every command a user starts without arguments: their actions, keys and menus.
  CommandActions& commands() { return *commands_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowPlayState();
  // The memo takes typing only while a subtitle at hand does; its hint says
  // what typing does, or how to take a subtitle up, unless a status stands there.
  void ShowMemoState();
  // The output folder dialog centred on this window, from `startFolder`.
  std::optional<std::string> ChooseOutputFolder(const std::string& startFolder);
  void SetUpControls();       // looks and names of the controls on the skin
  void CreateOtherWindows();  // the dialogs, after the commands they reach
  void CreateCommands();      // the command table's actions, menus and keys
  void ConnectControls();
  void LoadLanguage();
  void SetUpSkin();
  void PlaceControls();
  // The timing strip below the skin's face: its sound and spans come with
  // the playbar's; after every command it takes the video and play time.
  void CreateTimingWindows();  // MainWindowTiming.cpp, as the two below
  void ConnectTimingStrip();
  void ShowOnTimingStrip();
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
  QWidget* stripBand_;         // what the window adds below the skin's face
  TimingStrip* strip_;
  QLabel* lb_strip;            // its title and how to use it
  QCheckBox* cb_snapsilence;   // dragged edges snap to silences too

  QMenu* PopupMenu_File;
  QMenu* PopupMenu_tools;  // the list's menu
  QMenu* PopupMenu_help;
  QMenu* PopupMenu_timing;  // the timing tools, under the list's menu

  std::unique_ptr<CommandRunner> runner_;
  std::unique_ptr<WindowSeams> seams_;  // what the commands talk through
  std::unique_ptr<MainController> controller_;
  std::unique_ptr<RecoveryCommands> recovery_;
  std::unique_ptr<RecoveryJournal> journal_;  // none until RecoverAndStartJournal
  std::unique_ptr<CommandActions> commands_;
  std::unique_ptr<HistoryControls> historyControls_;  // goes before the history it observes

  // The other windows, created after this one and living as long.
  Tfm_setfont* fm_setfont;
  Tfm_set* fm_set;
  Tfm_dir* fm_dir;
  Tfm_about* fm_about;
  Tfm_update* fm_update;
  ReactionDelayDialog* fm_reactionDelay;
  ShiftTimesDialog* fm_shiftTimes;
  TwoPointSyncDialog* fm_twoPointSync;
  FrameRateDialog* fm_frameRate;
  SubtitleCheckMarks* checkMarks_;
  CheckReportDialog* fm_checkReport;
  // Gives dialogs their captions from the language file as they are shown.
  DialogCaptionsOnShow* captionsOnShow_ = nullptr;
  QString typingHint_;
  QString readOnlyHint_;
};

}  // namespace orlisk
