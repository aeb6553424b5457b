#include "app/ui/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProgressBar>

#include "app/core/RecoveryCommands.h"
#include "app/skin/SkinSurface.h"
#include "app/ui/AppIcon.h"
#include "app/ui/CheckReportDialog.h"
#include "app/ui/CommandActions.h"
#include "app/ui/CommandRunner.h"
#include "app/ui/ErrorHandler.h"
#include "app/ui/HistoryControls.h"
#include "app/ui/OtherWindows.h"
#include "app/ui/OutputFolderDialog.h"
#include "app/ui/OutputSettingsDialog.h"
#include "app/ui/PlaybarSound.h"
#include "app/ui/QtSeams.h"
#include "app/ui/ReactionDelayDialog.h"
#include "app/ui/SubtitleFontDialog.h"
#include "app/ui/SubtitleList.h"
#include "app/ui/SubtitleStyleDialog.h"
#include "app/ui/TimingDialogs.h"
#include "app/ui/TimingStrip.h"
#include "app/ui/VideoViewWidget.h"
#include "app/ui/WidgetSeams.h"
#include "app/ui/WindowCaptions.h"
#include "files/RecoveryJournal.h"
#include "settings/Settings.h"

namespace orlisk {
namespace {

// Dark surfaces for the controls placed on the skin. The list uses a slightly
// smaller font so a whole time range fits its "Time" column.
constexpr const char* kControlsOnSkinStyle = R"(
QPlainTextEdit, QLineEdit {
  background: #0e1117; color: #e8ebf1; border: 1px solid #2d3441; border-radius: 4px;
  selection-background-color: #2f6fde; selection-color: #ffffff;
}
QPlainTextEdit:focus, QLineEdit:focus { border: 1px solid #3b82f6; }
QPlainTextEdit:disabled, QLineEdit:disabled { background: #141820; color: #7f8796; }
QTableView {
  background: #0e1117; alternate-background-color: #131722; color: #e8ebf1;
  gridline-color: #252b36; border: 1px solid #2d3441; font-size: 11px;
  selection-background-color: #2f6fde; selection-color: #ffffff;
}
QHeaderView::section {
  background: #1a1f29; color: #aab2c0; border: 0; border-right: 1px solid #252b36;
  border-bottom: 1px solid #252b36; padding: 2px 4px; font-size: 11px;
}
QTableCornerButton::section { background: #1a1f29; border: 0; }
QScrollBar:horizontal, QScrollBar:vertical { background: #0e1117; border: 0; height: 10px; width: 10px; }
QScrollBar::handle { background: #3a4150; border-radius: 4px; min-width: 24px; min-height: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
)";

constexpr int kClientWidth = 988;
constexpr int kSkinHeight = 765;
// The timing strip's band below the skin's face, which it leaves as it is.
constexpr int kStripBandHeight = 100;
constexpr int kClientHeight = kSkinHeight + kStripBandHeight;

QString Text(const Language& language, const char* section, const char* key, const char* englishDefault) {
  return QString::fromStdString(language.text(section, key, englishDefault));
}

}  // namespace

Tfm_main::Tfm_main(MainWindowParts parts)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      parts_(std::move(parts)),
      settings_(parts_.Paths.SettingsFile),
      Skin1(new SkinSurface(this)),
      VideoView1(new VideoViewWidget(Skin1)),
      lv(new SubtitleListView(Skin1)),
      lvModel_(new SubtitleListModel(state_.Document, this)),
      ed_text(new QPlainTextEdit(Skin1)),
      ed_Starttime(new QLineEdit(QStringLiteral("00:00:00,000"), Skin1)),
      ed_Endtime(new QLineEdit(QStringLiteral("00:00:00,000"), Skin1)),
      pb_writesubtitle(new QProgressBar(Skin1)),
      cb_prsub(new QCheckBox(QStringLiteral("Subtitle Preview"), Skin1)),
      FontDialog1(new SubtitleFontDialog(this)),
      stripBand_(new QWidget(this)),
      strip_(new TimingStrip(Skin1->playbarWaveform(), stripBand_)),
      lb_strip(new QLabel(stripBand_)),
      cb_snapsilence(new QCheckBox(stripBand_)),
      PopupMenu_File(new QMenu(this)),
      PopupMenu_tools(new QMenu(this)),
      PopupMenu_help(new QMenu(this)),
      PopupMenu_timing(new QMenu(PopupMenu_tools)) {
  setWindowTitle(QString::fromLatin1(kApplicationTitle));
  setObjectName(QStringLiteral("Tfm_main"));  // the language file's section for its captions
  setWindowIcon(ApplicationIcon());  // the other windows and the boxes take it from here
  setFixedSize(kClientWidth, kClientHeight);
  Skin1->setGeometry(0, 0, kClientWidth, kSkinHeight);

  SetUpControls();

  runner_ = std::make_unique<CommandRunner>([this] { HandleAppException(); });
  seams_ = std::make_unique<WindowSeams>(
      parts_,
      WindowControls{.Window = *this,
                     .Skin = *Skin1,
                     .View = *VideoView1,
                     .List = *lv,
                     .Memo = *ed_text,
                     .StartTime = *ed_Starttime,
                     .EndTime = *ed_Endtime,
                     .Progress = *pb_writesubtitle,
                     .Fonts = *FontDialog1,
                     .Strip = *strip_},
      language_,
      WindowCallbacks{.RunAs = [this](CommandKind kind, const std::function<void()>& task) { RunAs(kind, task); },
                      .ApplyTypedTime = [this](bool begin) { return ApplyTypedTime(begin); },
                      .PlaybackTick = [this] { controller_->PlaybackTick(); },
                      .UpdateTick = [this] { controller_->Timer2Timer(); },
                      .ShowUpdateWindow = [this] { fm_update->ShowModal(); },
                      .ChooseOutputFolder = [this](const std::string& startFolder) {
                        return ChooseOutputFolder(startFolder);
                      }});
  controller_ = std::make_unique<MainController>(seams_->Context(state_, settings_, language_));
  recovery_ = std::make_unique<RecoveryCommands>(RecoveryCommands::Context{
      .Basics = controller_->basics(),
      .History = controller_->history(),
      .List = seams_->selection(),
      .Playback = controller_->playback()});
  parts_.Audio.setMoreAudioRequested(
      [this] { RunAs(CommandKind::Background, [this] { controller_->FeedAudio(); }); });
  CreateOtherWindows();
  CreateCommands();
  ConnectControls();
}

Tfm_main::~Tfm_main() {
  if (journal_) controller_->history().removeObserver(*journal_);
}

void Tfm_main::SetUpControls() {
  lv->setModel(lvModel_);
  ed_text->setEnabled(false);
  pb_writesubtitle->setRange(0, 10000);
  pb_writesubtitle->setOrientation(Qt::Horizontal);
  pb_writesubtitle->setTextVisible(true);
  pb_writesubtitle->hide();
  cb_prsub->setChecked(false);
  cb_prsub->setObjectName(QStringLiteral("cb_prsub"));
  ed_Starttime->setObjectName(QStringLiteral("ed_Starttime"));
  ed_Endtime->setObjectName(QStringLiteral("ed_Endtime"));
  // The controls sit on the skin's face, and both shipped skins are dark: give
  // them matching dark surfaces so the window reads as one piece.
  QPalette onSkin = cb_prsub->palette();
  onSkin.setColor(QPalette::WindowText, QColor(0xC9, 0xCE, 0xD8));
  cb_prsub->setPalette(onSkin);
  for (QWidget* control : {static_cast<QWidget*>(lv), static_cast<QWidget*>(ed_text),
                           static_cast<QWidget*>(ed_Starttime), static_cast<QWidget*>(ed_Endtime)})
    control->setStyleSheet(QString::fromLatin1(kControlsOnSkinStyle));
  PopupMenu_File->setObjectName(QStringLiteral("PopupMenu_File"));
  PopupMenu_tools->setObjectName(QStringLiteral("PopupMenu_tools"));
  PopupMenu_help->setObjectName(QStringLiteral("PopupMenu_help"));
  PopupMenu_timing->setObjectName(QStringLiteral("PopupMenu_timing"));
  // The band below the skin in the skin's own colours.
  QPalette band = stripBand_->palette();
  band.setColor(QPalette::Window, QColor(0x18, 0x1b, 0x21));
  band.setColor(QPalette::WindowText, QColor(0xC9, 0xCE, 0xD8));
  stripBand_->setPalette(band);
  stripBand_->setAutoFillBackground(true);
  lb_strip->setObjectName(QStringLiteral("lb_strip"));
  cb_snapsilence->setObjectName(QStringLiteral("cb_snapsilence"));
}

void Tfm_main::CreateOtherWindows() {
  const auto run = [this](const std::function<void()>& command) { Run(command); };
  fm_setfont = new Tfm_setfont(
      this, SubtitleStyleParts{.Settings = settings_,
                               .State = state_,
                               .Transform = parts_.Transform,
                               .ChooseSubtitleFont = [this] { Run([this] { controller_->ChooseSubtitleFont(); }); },
                               .ApplyStyle =
                                   [this](const StyleChoice& choice) { return controller_->ApplyStyle(choice); },
                               .Run = run});
  fm_dir = new Tfm_dir(this, parts_.Paths.HomeFolder);
  fm_set = new Tfm_set(this, OutputSettingsParts{.Settings = settings_,
                                                 .State = state_,
                                                 .Writer = parts_.Writer,
                                                 .Messages = seams_->messages(),
                                                 .FolderDialog = *fm_dir,
                                                 .Run = run});
  fm_about = new Tfm_about(this);
  fm_reactionDelay = new ReactionDelayDialog(this, settings_, language_);
  CreateTimingWindows();
  fm_update = new Tfm_update(this, controller_->online(),
                             [this](const std::function<void()>& command) { Run(command); });
}

void Tfm_main::CreateCommands() {
  commands_ = std::make_unique<CommandActions>(
      *this, CommandMenus{.File = *PopupMenu_File,
                            .List = *PopupMenu_tools,
                            .Help = *PopupMenu_help,
                            .Timing = PopupMenu_timing},
      [this] {
        return CommandConditions{.Writing = state_.IsWriting,
                                 .CanUndo = controller_->history().canUndo(),
                                 .CanRedo = controller_->history().canRedo(),
                                 .SubtitleFile = !state_.SubtitlePath.empty(),
                                 .VideoOpen = !state_.VideoPath.empty(),
                                 .SpeedPercent = state_.SpeedPercent};
      },
      [this, targets = CommandTargets{.Controller = *controller_,
                                      .State = state_,
                                      .Window = *this,
                                      .FileMenu = *PopupMenu_File,
                                      .HelpMenu = *PopupMenu_help,
                                      .Memo = *ed_text,
                                      .SubtitleStyle = *fm_setfont,
                                      .OutputSettings = *fm_set,
                                      .About = *fm_about,
                                      .ReactionDelay = *fm_reactionDelay,
                                      .CheckReport = *fm_checkReport,
                                      .Timing = {.Shift = *fm_shiftTimes,
                                                 .Sync = *fm_twoPointSync,
                                                 .Rates = *fm_frameRate},
                                      .Strip = *strip_}](const CommandRow& row) mutable {
        RunAs(row.Kind, [&row, &targets] { row.Run(targets); });
      });
  // The timing tools close the list's menu, as a submenu of their own.
  PopupMenu_tools->addSeparator();
  QAction* timingMenu = PopupMenu_tools->addMenu(PopupMenu_timing);
  timingMenu->setObjectName(QStringLiteral("TimingMenu1"));
  timingMenu->setText(QStringLiteral("Timing"));
  historyControls_ = std::make_unique<HistoryControls>(
      HistoryControlsParts{.Window = *this,
                           .Undo = *commands_->action("Undo1"),
                           .Redo = *commands_->action("Redo1"),
                           .Memo = *ed_text,
                           .TimeBoxes = {ed_Starttime, ed_Endtime},
                           .State = state_,
                           .History = controller_->history(),
                           .ApplicationTitle = kApplicationTitle});
  connect(fm_about, &Tfm_about::webSiteRequested, commands_->action("OurWebSite1"), &QAction::trigger);
  connect(fm_about, &Tfm_about::contactRequested, commands_->action("ContactUS1"), &QAction::trigger);
}

void Tfm_main::ConnectControls() {
  connect(Skin1, &SkinSurface::objectClicked, this,
          [this](const QString& name) { commands_->triggerSkinObject(name); });
  connect(Skin1, &SkinSurface::playbarPressed, this, [this] { Run([this] { controller_->PlaybarPress(); }); });
  connect(Skin1, &SkinSurface::playbarTracked, this, [this] { Run([this] { controller_->PlaybarDrag(); }); });
  connect(Skin1, &SkinSurface::playbarReleased, this, [this] { Run([this] { controller_->PlaybarRelease(); }); });

  connect(lv, &QAbstractItemView::clicked, this, [this] { Run([this] { controller_->SelectSubtitle(); }); });
  lv->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lv, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu_tools->popup(lv->viewport()->mapToGlobal(at)); });

  connect(ed_text, &QPlainTextEdit::textChanged, this,
          [this] { RunAs(CommandKind::Typing, [this] { controller_->ed_textChange(); }); });
  connect(cb_prsub, &QCheckBox::clicked, this,
          [this](bool ticked) { Run([this, ticked] { controller_->cb_prsubClick(ticked); }); });
  VideoView1->setMouseHandlers(
      [this](int x, int y) {
        RunAs(CommandKind::PlacementDrag, [this, x, y] { controller_->VideoViewMouseMove(x, y); });
      },
      [this] { Run([this] { controller_->VideoViewMouseUp(); }); });
  ConnectTimingStrip();
}

void Tfm_main::FormShow() {
  // On the first start only; it holds the start up for its short time-out at most.
  controller_->SendUsageReportOnFirstStart(parts_.LanguageId);
  LoadLanguage();
  SetUpSkin();

  const StartupSettings startup = LoadSettings(settings_, parts_.Paths.VideosFolder.string());
  state_.OutputFolder = startup.OutputFolder;
  state_.OutputMode = startup.OutputMode;
  state_.Style.BorderColor = startup.BorderColor;
  state_.Style.BorderEnabled = startup.BorderEnabled;
  state_.Style.Backdrop = startup.Backdrop;
  state_.AutoUpdateCheck = startup.AutoUpdateCheck;
  state_.FirstInsertHint = startup.FirstInsertHint;
  state_.AutoOpenOutput = startup.AutoOpenOutput;

  state_.EditMode = true;
  state_.ManualUpdateCheck = false;
  state_.Style.Font = SubtitleFont{};  // FontDialog1's font: Arial, bold, height -21
  state_.Style.TextColor = SubtitleStyle{}.TextColor;  // and its colour, white

  PlaceControls();
  VideoView1->hide();
  state_.NoVideoOpen = true;
  cb_prsub->setToolTip(Text(language_, "Hint", "cb_prsub", "check it to preview the completed subtitle"));
  controller_->FillCodecLists();
  fm_set->FillCodecLists(controller_->burnIn().codecLists());
  fm_set->SetStartRows();
  // Last: the update check on a thread of its own; the show never waits for it.
  if (state_.AutoUpdateCheck) controller_->StartUpdateCheck();
  controller_->history().startFresh();
  commands_->refresh();
}

void Tfm_main::LoadLanguage() {
  language_ = Language(parts_.Paths.ProgramFolder.string(), parts_.LanguageId);
  state_.ChineseUI = language_.chinese();
  state_.SkinFilePath = language_.skinFilePath();

  commands_->applyCaptions(language_);
  // The list keeps its designed headers where the language file has none.
  lvModel_->setHeaders({Text(language_, "LV", "Caption", "No"), Text(language_, "LV", "Subitem", "Time"),
                        Text(language_, "LV", "Subitem1", "Subtitle")});
  // Hints shown while the memo is empty, never its text: the memo's text is
  // drawn on the picture as the subtitle being typed.
  lb_strip->setText(Text(language_, "TimingStrip", "Title", "Timing strip"));
  lb_strip->setToolTip(Text(language_, "TimingStrip", "Hint",
                            "Wheel: zoom   Shift+wheel: scroll   Drag an edge: re-time   Click: seek"));
  strip_->setToolTip(lb_strip->toolTip());
  cb_snapsilence->setText(Text(language_, "TimingStrip", "SnapToSilence", "Snap edges to silence"));
  typingHint_ = Text(language_, "ed_text", "Typing",
                     "Type the subtitle: it is drawn on the picture as you type, and F4 stamps its end");
  readOnlyHint_ = Text(language_, "ed_text", "ReadOnly",
                       "Press F3 to add a subtitle at the play time, or pick a row in the list and choose Edit to "
                       "change it");
  ShowMemoState();
  // Every other caption: the menu items and check box of this window, and the other windows.
  historyControls_->ApplyCaptions(language_);
  ApplyWindowCaptions(*this, language_);
  for (QWidget* window : std::initializer_list<QWidget*>{fm_setfont, fm_set, fm_dir, fm_about, fm_update, FontDialog1,
                                                        fm_shiftTimes, fm_twoPointSync, fm_frameRate})
    ApplyWindowCaptions(*window, language_);
  if (!captionsOnShow_) captionsOnShow_ = new DialogCaptionsOnShow(this, language_);
}

void Tfm_main::SetUpSkin() {
  const QString skinFile = QString::fromStdString(state_.SkinFilePath);
  Skin1->LoadSkin(skinFile);
  seams_->skinObjects().lookUp(*Skin1, skinFile);
  seams_->skinObjects().setPlaybarPosition(0);
  seams_->skinObjects().setProgressPanelVisible(false);
}

// On the skins' grid: 12 pixels from the window's edges and between panels;
// the picture sits 8 pixels inside the skin's screen, the time boxes in the
// timing card, the check box in the transport card, the progress bar over
// the memo's lower edge while a write runs.
void Tfm_main::PlaceControls() {
  VideoView1->setGeometry(20, 154, 566, 378);
  lv->setGeometry(606, 146, 264, 366);
  ed_text->setGeometry(12, 568, 858, 63);
  ed_Starttime->setGeometry(393, 649, 112, 24);
  ed_Endtime->setGeometry(650, 649, 112, 24);
  pb_writesubtitle->setGeometry(16, 623, 850, 13);
  cb_prsub->setGeometry(176, 714, 121, 17);
  stripBand_->setGeometry(0, kSkinHeight, kClientWidth, kStripBandHeight);
  lb_strip->setGeometry(12, 3, 700, 16);
  cb_snapsilence->setGeometry(716, 3, 260, 16);
  strip_->setGeometry(12, 21, 964, kStripBandHeight - 24);
}

void Tfm_main::Run(const std::function<void()>& command) { RunAs(CommandKind::UserAction, command); }

void Tfm_main::RunAs(CommandKind kind, const std::function<void()>& command) {
  // The history records inside the runner, so an error an observer raises
  // reaches the handler like a command's own.
  runner_->run([this, kind, &command] { controller_->history().runCommand(kind, command); });
  ShowPlayState();
  ShowMemoState();
  // Whatever the command did to the list shows on the playbar's bands.
  seams_->waveform().followSubtitles(state_.Document);
  ShowOnTimingStrip();
  // Shortcuts and menus follow what the command changed (the history, a write job).
  if (commands_) commands_->refresh();
}

// Every command and tick passes Run, so the buttons follow the play state
// whichever road changed it (button, key, playbar, the end of the video).
void Tfm_main::ShowPlayState() {
  if (SkinObject* play = Skin1->FindObject(QStringLiteral("play"))) play->SetActive(state_.IsPlaying);
  if (SkinObject* pause = Skin1->FindObject(QStringLiteral("pause")))
    pause->SetActive(state_.IsPaused && !state_.IsPlaying);
}

void Tfm_main::ShowMemoState() {
  const bool takesTyping = state_.AtHand.TakesTyping();
  ed_text->setReadOnly(!takesTyping);
  // A status (a write job's) stands where the hint does, never in the text.
  const QString status = QString::fromStdString(state_.AtHand.Status());
  const QString& hint = !status.isEmpty() ? status : takesTyping ? typingHint_ : readOnlyHint_;
  if (ed_text->placeholderText() != hint) ed_text->setPlaceholderText(hint);
}

std::optional<std::string> Tfm_main::ChooseOutputFolder(const std::string& startFolder) {
  fm_dir->SelectFolder(startFolder);
  if (!fm_dir->ShowCentredOn(*this) || fm_dir->ChosenFolder().empty()) return std::nullopt;
  return fm_dir->ChosenFolder();
}

void Tfm_main::HandleAppException() {
  orlisk::HandleAppException(seams_->messages(), language_, [this] { controller_->SaveSubtitleFile(); });
}

void Tfm_main::closeEvent(QCloseEvent* event) {
  // A close whose question failed half way stays open: nothing is lost.
  bool canClose = false;
  Run([this, &canClose] { canClose = controller_->FormCloseQuery(); });
  if (canClose) {
    CloseJournalCleanly();
    event->accept();
  } else {
    event->ignore();
  }
}

int Tfm_main::FormatChoice() const { return fm_set->FormatChoice(); }

bool Tfm_main::ApplyTypedTime(bool begin) {
  bool taken = false;
  Run([this, begin, &taken] {
    taken = begin ? controller_->editing().ApplyTypedBeginTime() : controller_->editing().ApplyTypedEndTime();
  });
  return taken;
}

}  // namespace orlisk
