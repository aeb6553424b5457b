#include "app/ui/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProgressBar>

#include "app/core/RecoveryCommands.h"
#include "app/skin/SkinSurface.h"
#include "app/ui/AppIcon.h"
#include "app/ui/CommandRunner.h"
#include "app/ui/DesktopShortcuts.h"
#include "app/ui/ErrorHandler.h"
#include "app/ui/HistoryControls.h"
#include "app/ui/OtherWindows.h"
#include "app/ui/OutputFolderDialog.h"
#include "app/ui/OutputSettingsDialog.h"
#include "app/ui/PlaybarSound.h"
#include "app/ui/QtSeams.h"
#include "app/ui/ReactionDelayDialog.h"
#include "app/ui/SkinCommands.h"
#include "app/ui/SubtitleFontDialog.h"
#include "app/ui/SubtitleList.h"
#include "app/ui/SubtitleStyleDialog.h"
#include "app/ui/TypedTimeBox.h"
#include "app/ui/VideoViewWidget.h"
#include "app/ui/WidgetSeams.h"
#include "app/ui/WindowCaptions.h"
#include "settings/RecoveryJournal.h"
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
constexpr int kClientHeight = 765;

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
      FontDialog1(new SubtitleFontDialog(this)) {
  setWindowTitle(QString::fromLatin1(kApplicationTitle));
  setObjectName(QStringLiteral("Tfm_main"));  // the language file's section for its captions
  setWindowIcon(ApplicationIcon());  // the other windows and the boxes take it from here
  setFixedSize(kClientWidth, kClientHeight);
  Skin1->setGeometry(0, 0, kClientWidth, kClientHeight);

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
  CreateMenus();

  runner_ = std::make_unique<CommandRunner>([this] { HandleAppException(); });
  messages_ = std::make_unique<QtMessageBoxes>(this, &language_);
  dialogs_ = std::make_unique<QtFileDialogs>(this);
  skinObjects_ = std::make_unique<SkinSurfaceObjects>();
  memo_ = std::make_unique<PlainTextMemo>(*ed_text);
  startTime_ = std::make_unique<TypedTimeBox>(*ed_Starttime, [this] { return ApplyTypedTime(true); });
  endTime_ = std::make_unique<TypedTimeBox>(*ed_Endtime, [this] { return ApplyTypedTime(false); });
  selection_ = std::make_unique<ListViewSelection>(*lv);
  Timer1 = std::make_unique<QtPlaybackTimer>(
      [this] { RunAs(CommandKind::Background, [this] { controller_->PlaybackTick(); }); });
  clock_ = std::make_unique<SteadyTickClock>();
  if (!parts_.Desktop) ownDesktop_ = std::make_unique<QtDesktopShell>();
  mouse_ = std::make_unique<QtMouseButtons>();
  uiThread_ = std::make_unique<QtUserInterfaceThread>(
      this, [this](const std::function<void()>& task) { RunAs(CommandKind::Background, task); });
  Timer2 = std::make_unique<QtPlaybackTimer>(
      [this] { RunAs(CommandKind::Background, [this] { controller_->Timer2Timer(); }); });
  updateNotices_ = std::make_unique<QtUpdateNotices>(this, QString::fromLatin1(kApplicationTitle),
                                                     [this] { fm_update->ShowModal(); });
  events_ = std::make_unique<QtEventPump>();
  progress_ = std::make_unique<WriteProgressWidgets>(*pb_writesubtitle, *ed_text);
  waveform_ = std::make_unique<PlaybarSound>(
      Skin1->playbarWaveform(),
      [this] {
        if (SkinObject* playbar = Skin1->FindObject(QStringLiteral("playbar"))) playbar->Refresh();
      },
      *uiThread_);
  controller_ = std::make_unique<MainController>(MainContext{.State = state_,
                                                             .Settings = settings_,
                                                             .Lang = language_,
                                                             .Paths = parts_.Paths,
                                                             .Messages = *messages_,
                                                             .Dialogs = *dialogs_,
                                                             .Skin = *skinObjects_,
                                                             .Memo = *memo_,
                                                             .StartTime = *startTime_,
                                                             .EndTime = *endTime_,
                                                             .List = *selection_,
                                                             .Timer = *Timer1,
                                                             .Clock = *clock_,
                                                             .Desktop = parts_.Desktop ? *parts_.Desktop
                                                                                       : *ownDesktop_,
                                                             .Mouse = *mouse_,
                                                             .Fonts = *FontDialog1,
                                                             .Reader = parts_.Reader,
                                                             .View = *VideoView1,
                                                             .Audio = parts_.Audio,
                                                             .Waveform = *waveform_,
                                                             .Transform = parts_.Transform,
                                                             .TextWidth = parts_.TextWidth,
                                                             .Http = parts_.Http ? *parts_.Http : offline_,
                                                             .UiThread = *uiThread_,
                                                             .Timer2 = *Timer2,
                                                             .Notices = *updateNotices_,
                                                             .Writer = parts_.Writer,
                                                             .Events = *events_,
                                                             .Progress = *progress_});
  recovery_ = std::make_unique<RecoveryCommands>(RecoveryCommands::Context{
      .Basics = controller_->basics(),
      .History = controller_->history(),
      .List = *selection_,
      .Playback = controller_->playback()});
  parts_.Audio.setMoreAudioRequested(
      [this] { RunAs(CommandKind::Background, [this] { controller_->FeedAudio(); }); });
  ConnectControls();
  historyControls_ = std::make_unique<HistoryControls>(
      HistoryControlsParts{.Window = *this,
                           .ListMenu = *PopupMenu_tools,
                           .Memo = *ed_text,
                           .TimeBoxes = {ed_Starttime, ed_Endtime},
                           .State = state_,
                           .History = controller_->history(),
                           .Undo = [this] { Run([this] { controller_->Undo(); }); },
                           .Redo = [this] { Run([this] { controller_->Redo(); }); },
                           .ApplicationTitle = kApplicationTitle});

  const auto run = [this](const std::function<void()>& command) { Run(command); };
  fm_setfont = new Tfm_setfont(
      this, SubtitleStyleParts{.Settings = settings_,
                               .State = state_,
                               .ChooseSubtitleFont = [this] { Run([this] { controller_->ChooseSubtitleFont(); }); },
                               .Run = run});
  fm_dir = new Tfm_dir(this, parts_.Paths.HomeFolder);
  fm_set = new Tfm_set(this, OutputSettingsParts{.Settings = settings_,
                                                 .State = state_,
                                                 .Writer = parts_.Writer,
                                                 .Messages = *messages_,
                                                 .FolderDialog = *fm_dir,
                                                 .Run = run});
  fm_about = new Tfm_about(this);
  fm_reactionDelay = new ReactionDelayDialog(this, settings_, language_);
  fm_update = new Tfm_update(this, controller_->online(),
                             [this](const std::function<void()>& command) { Run(command); });
  connect(fm_about, &Tfm_about::webSiteRequested, this, &Tfm_main::OurWebSite1Click);
  connect(fm_about, &Tfm_about::contactRequested, this, &Tfm_main::ContactUS1Click);
}

Tfm_main::~Tfm_main() {
  if (journal_) controller_->history().removeObserver(*journal_);
}

void Tfm_main::CreateMenus() {
  PopupMenu_File = new QMenu(this);
  OpenFile1 = PopupMenu_File->addAction(QStringLiteral("Open Video File"), this, &Tfm_main::OpenVideo);
  OpenObj1 = PopupMenu_File->addAction(QStringLiteral("Open Subtitle File"), this, &Tfm_main::OpenSubtitleFile);
  SaveProject1 = PopupMenu_File->addAction(QStringLiteral("Save Subtitle File"), this, &Tfm_main::SaveSubtitleFile);
  SaveProjectAs1 =
      PopupMenu_File->addAction(QStringLiteral("Save Subtitle File As..."), this, &Tfm_main::SaveSubtitleFileAs);
  PopupMenu_File->addSeparator();
  WriteSubtitle1 =
      PopupMenu_File->addAction(QStringLiteral("Write Subtitle to Video"), this, &Tfm_main::WriteSubtitlesToVideo);
  Stop1 = PopupMenu_File->addAction(QStringLiteral("Stop Write Subtitle"), this, &Tfm_main::StopWriting);
  PopupMenu_File->addSeparator();
  Exit1 = PopupMenu_File->addAction(QStringLiteral("Exit"), this, &Tfm_main::Exit1Click);
  GiveDesktopShortcuts(*this, {OpenFile1, OpenObj1, SaveProject1, SaveProjectAs1, Exit1});

  PopupMenu_tools = new QMenu(this);
  Insert = PopupMenu_tools->addAction(QStringLiteral("Insert Subtitle"), this, &Tfm_main::InsertBlankSubtitle);
  Editsubtitle = PopupMenu_tools->addAction(QStringLiteral("Edit Subtitle"), this, &Tfm_main::EditSubtitle);
  RemoveSubtitle1 = PopupMenu_tools->addAction(QStringLiteral("Remove Subtitle"), this, &Tfm_main::RemoveSubtitle);
  ClearSubtitle1 = PopupMenu_tools->addAction(QStringLiteral("Clear Subtitle"), this, &Tfm_main::ClearSubtitles);
  PopupMenu_tools->addSeparator();
  ReactionDelay1 =
      PopupMenu_tools->addAction(QStringLiteral("Reaction Delay..."), this, &Tfm_main::ReactionDelay1Click);

  PopupMenu_help = new QMenu(this);
  Content1 = PopupMenu_help->addAction(QStringLiteral("Help"), this, &Tfm_main::OpenHelpFile);
  Inspectionupdate1 =
      PopupMenu_help->addAction(QStringLiteral("Inspection Update"), this, &Tfm_main::Inspectionupdate1Click);
  ContactUS1 = PopupMenu_help->addAction(QStringLiteral("Contact US"), this, &Tfm_main::ContactUS1Click);
  OurWebSite1 = PopupMenu_help->addAction(QStringLiteral("Our Website"), this, &Tfm_main::OurWebSite1Click);
  PopupMenu_help->addSeparator();
  About1 = PopupMenu_help->addAction(QStringLiteral("About "), this, &Tfm_main::About1Click);

  // Object names let tests and accessibility tools find the items.
  for (auto [action, name] : {std::pair{OpenFile1, "OpenFile1"}, {OpenObj1, "OpenObj1"},
                              {SaveProject1, "SaveProject1"}, {SaveProjectAs1, "SaveProjectAs1"},
                              {WriteSubtitle1, "WriteSubtitle1"},
                              {Stop1, "Stop1"}, {Exit1, "Exit1"}, {Insert, "Insert"},
                              {Editsubtitle, "Editsubtitle"}, {RemoveSubtitle1, "RemoveSubtitle1"},
                              {ClearSubtitle1, "ClearSubtitle1"}, {Content1, "Content1"},
                              {Inspectionupdate1, "Inspectionupdate1"}, {ContactUS1, "ContactUS1"},
                              {OurWebSite1, "OurWebSite1"}, {About1, "About1"},
                              {ReactionDelay1, "ReactionDelay1"}}) {
    action->setObjectName(QString::fromLatin1(name));
  }
  PopupMenu_File->setObjectName(QStringLiteral("PopupMenu_File"));
  PopupMenu_tools->setObjectName(QStringLiteral("PopupMenu_tools"));
  PopupMenu_help->setObjectName(QStringLiteral("PopupMenu_help"));
}

void Tfm_main::ConnectControls() {
  connect(Skin1, &SkinSurface::objectClicked, this, [this](const QString& name) { SkinCommand(name, *this); });
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
}

void Tfm_main::LoadLanguage() {
  language_ = Language(parts_.Paths.ProgramFolder.string(), parts_.LanguageId);
  state_.ChineseUI = language_.chinese();
  state_.SkinFilePath = language_.skinFilePath();

  About1->setText(Text(language_, "About", "Caption", "About"));
  ContactUS1->setText(Text(language_, "ContactUS", "Caption", "Contact US"));
  Content1->setText(Text(language_, "Content", "Caption", "Help"));
  Exit1->setText(Text(language_, "Exit", "Caption", "Exit"));
  Inspectionupdate1->setText(Text(language_, "Inspectionupdate", "Caption", "Inspection Update"));
  OurWebSite1->setText(Text(language_, "OurWebSite", "Caption", "Our WebSite"));
  Stop1->setText(Text(language_, "Stop", "Caption", "Stop Write Subtitle"));
  WriteSubtitle1->setText(Text(language_, "WriteSubtitle", "Caption", "Write Subtitle"));
  ReactionDelay1->setText(Text(language_, "ReactionDelay", "Caption", "Reaction Delay..."));
  historyControls_->ApplyCaptions(language_);
  // The list keeps its designed headers where the language file has none.
  lvModel_->setHeaders({Text(language_, "LV", "Caption", "No"), Text(language_, "LV", "Subitem", "Time"),
                        Text(language_, "LV", "Subitem1", "Subtitle")});
  // Hints shown while the memo is empty, never its text: the memo's text is
  // drawn on the picture as the subtitle being typed.
  typingHint_ = Text(language_, "ed_text", "Typing",
                     "Type the subtitle: it is drawn on the picture as you type, and F4 stamps its end");
  readOnlyHint_ = Text(language_, "ed_text", "ReadOnly",
                       "Press F3 to add a subtitle at the play time, or pick a row in the list and choose Edit to "
                       "change it");
  ShowMemoState();
  // Every other caption: the menu items and check box of this window, and the other windows.
  ApplyWindowCaptions(*this, language_);
  for (QWidget* window : std::initializer_list<QWidget*>{fm_setfont, fm_set, fm_dir, fm_about, fm_update, FontDialog1})
    ApplyWindowCaptions(*window, language_);
  if (!captionsOnShow_) captionsOnShow_ = new DialogCaptionsOnShow(this, language_);
}

void Tfm_main::SetUpSkin() {
  const QString skinFile = QString::fromStdString(state_.SkinFilePath);
  Skin1->LoadSkin(skinFile);
  skinObjects_->lookUp(*Skin1, skinFile);
  skinObjects_->setPlaybarPosition(0);
  skinObjects_->setProgressPanelVisible(false);
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
}

void Tfm_main::Run(const std::function<void()>& command) { RunAs(CommandKind::UserAction, command); }

void Tfm_main::RunAs(CommandKind kind, const std::function<void()>& command) {
  // The history records inside the runner, so an error an observer raises
  // reaches the handler like a command's own.
  runner_->run([this, kind, &command] { controller_->history().runCommand(kind, command); });
  ShowPlayState();
  ShowMemoState();
  // Whatever the command did to the list shows on the playbar's bands.
  waveform_->followSubtitles(state_.Document);
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
  const QString& hint = takesTyping ? typingHint_ : readOnlyHint_;
  if (ed_text->placeholderText() != hint) ed_text->setPlaceholderText(hint);
}

void Tfm_main::HandleAppException() {
  orlisk::HandleAppException(*messages_, language_, [this] { controller_->SaveSubtitleFile(); });
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

void Tfm_main::OpenVideo() { Run([this] { controller_->OpenVideo(); }); }
void Tfm_main::OpenSubtitleFile() { Run([this] { controller_->OpenSubtitleFile(); }); }
void Tfm_main::SaveSubtitleFile() { Run([this] { controller_->SaveSubtitleFile(); }); }
void Tfm_main::SaveSubtitleFileAs() { Run([this] { controller_->SaveSubtitleFileAs(); }); }
void Tfm_main::Play() { Run([this] { controller_->Play(); }); }
void Tfm_main::Pause() { Run([this] { controller_->Pause(); }); }
void Tfm_main::StopPlayback() { Run([this] { controller_->StopPlayback(); }); }
void Tfm_main::FastBack() { Run([this] { controller_->FastBack(); }); }
void Tfm_main::FastForward() { Run([this] { controller_->FastForward(); }); }
void Tfm_main::InsertSubtitle() { Run([this] { controller_->InsertSubtitle(); }); }
void Tfm_main::SetBeginTime() { Run([this] { controller_->SetBeginTime(); }); }
void Tfm_main::SetEndTime() { Run([this] { controller_->SetEndTime(); }); }
void Tfm_main::RemoveSubtitle() { Run([this] { controller_->RemoveSubtitle(); }); }
void Tfm_main::ClearSubtitles() { Run([this] { controller_->ClearSubtitles(); }); }
void Tfm_main::InsertBlankSubtitle() { Run([this] { controller_->InsertBlankSubtitle(); }); }
void Tfm_main::EditSubtitle() { Run([this] { controller_->EditSubtitle(); }); }

void Tfm_main::ShowSubtitleStyle() { Run([this] { fm_setfont->ShowModal(); }); }
void Tfm_main::ShowOutputSettings() { Run([this] { fm_set->ShowModal(); }); }
int Tfm_main::FormatChoice() const { return fm_set->FormatChoice(); }

void Tfm_main::ShowFileMenu() {
  PopupMenu_File->popup(SkinMenuPosition(SkinMenu::File, frameGeometry().topLeft(), state_.ChineseUI));
}

void Tfm_main::ShowHelpMenu() {
  PopupMenu_help->popup(SkinMenuPosition(SkinMenu::Help, frameGeometry().topLeft(), state_.ChineseUI));
}

// Commands whose features are not in the program yet: they are reachable from
// their buttons, keys and menu items and do nothing until then.
void Tfm_main::WriteSubtitlesToVideo() {
  Run([this] {
    // The output settings' format list: its choice counts once it is made,
    // as the size mode's does.
    state_.FormatChoice = fm_set->FormatChoice();
    controller_->WriteSubtitlesToVideo();
  });
}
void Tfm_main::StopWriting() { Run([this] { controller_->StopWriting(); }); }

void Tfm_main::OpenHelpFile() { Run([this] { controller_->OpenHelpFile(); }); }
void Tfm_main::ShowHelpTopic(int topic) { Run([this, topic] { controller_->ShowHelpTopic(topic); }); }
void Tfm_main::OpenGiftPage() { Run([this] { controller_->OpenGiftPage(); }); }
void Tfm_main::Inspectionupdate1Click() { Run([this] { controller_->Inspectionupdate1Click(); }); }
void Tfm_main::ContactUS1Click() { Run([this] { controller_->ContactUS1Click(); }); }
void Tfm_main::OurWebSite1Click() { Run([this] { controller_->OurWebSite1Click(); }); }
void Tfm_main::About1Click() { fm_about->showBeside(*this); }
void Tfm_main::Exit1Click() { close(); }
void Tfm_main::ReactionDelay1Click() { Run([this] { fm_reactionDelay->ShowModal(); }); }

bool Tfm_main::ApplyTypedTime(bool begin) {
  bool taken = false;
  Run([this, begin, &taken] {
    taken = begin ? controller_->editing().ApplyTypedBeginTime() : controller_->editing().ApplyTypedEndTime();
  });
  return taken;
}

}  // namespace orlisk
