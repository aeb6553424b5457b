#include "app/ui/CommandTable.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QWidget>

#include "app/core/MainController.h"
#include "app/ui/CheckReportDialog.h"
#include "app/ui/OtherWindows.h"
#include "app/ui/OutputSettingsDialog.h"
#include "app/ui/ReactionDelayDialog.h"
#include "app/ui/SubtitleStyleDialog.h"
#include "app/ui/TimingDialogs.h"
#include "app/ui/TimingStrip.h"

namespace orlisk {
namespace {

constexpr QKeyCombination Ctrl(Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); }
constexpr QKeyCombination CtrlShift(Qt::Key key) {
  return QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, key);
}
constexpr QKeyCombination Shift(Qt::Key key) { return QKeyCombination(Qt::ShiftModifier, key); }
constexpr QKeyCombination Alt(Qt::Key key) { return QKeyCombination(Qt::AltModifier, key); }
constexpr QKeyCombination AltShift(Qt::Key key) { return QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, key); }

bool WhileWriting(const CommandConditions& now) { return now.Writing; }
bool WithUndo(const CommandConditions& now) { return now.CanUndo; }
bool WithRedo(const CommandConditions& now) { return now.CanRedo; }
bool WithSubtitleFile(const CommandConditions& now) { return now.SubtitleFile; }
bool WithVideo(const CommandConditions& now) { return now.VideoOpen; }
// A row of the Timing menu that plays at Percent of normal speed; its name
// is its caption's section too.
template <std::int32_t Percent>
CommandRow SpeedRow(const char* name, Qt::Key key, const char* caption, bool separatorBefore = false) {
  return {.Name = name, .Shortcuts = {Ctrl(key)}, .Menu = MenuPlace::Timing, .SeparatorBefore = separatorBefore,
          .CaptionSection = name, .EnglishCaption = caption,
          .Run = [](CommandTargets& t) { t.Controller.SetPlaybackSpeed(Percent); },
          .Checked = [](const CommandConditions& now) { return now.SpeedPercent == Percent; }};
}

void PopUp(CommandTargets& t, QMenu& menu, SkinMenu where) {
  menu.popup(SkinMenuPosition(where, t.Window.frameGeometry().topLeft(), t.State.ChineseUI));
}

// Typing goes on at the end of the restored text, not before it.
void CursorToMemoEnd(CommandTargets& t) { t.Memo.moveCursor(QTextCursor::End); }

// Names compare exactly: "stopplay" and "playstop" are both the skin's.
const CommandRow kRows[] = {
    // PopupMenu_File
    {.Name = "OpenFile1", .SkinObjects = {"openvideo"}, .Shortcuts = {Ctrl(Qt::Key_O)}, .Menu = MenuPlace::File,
     .EnglishCaption = "Open Video File", .Run = [](CommandTargets& t) { t.Controller.OpenVideo(); }},
    {.Name = "OpenObj1", .SkinObjects = {"opensubtitle"}, .Shortcuts = {CtrlShift(Qt::Key_O)},
     .Menu = MenuPlace::File, .EnglishCaption = "Open Subtitle File",
     .Run = [](CommandTargets& t) { t.Controller.OpenSubtitleFile(); }},
    {.Name = "ReopenWithEncoding1", .Menu = MenuPlace::File, .CaptionSection = "ReopenWithEncoding",
     .EnglishCaption = "Reopen with encoding...", .Enabled = WithSubtitleFile,
     .Run = [](CommandTargets& t) { t.Controller.ReopenSubtitleFile(); }},
    {.Name = "SaveProject1", .SkinObjects = {"savesubtitle"}, .Shortcuts = {Ctrl(Qt::Key_S)},
     .Menu = MenuPlace::File, .EnglishCaption = "Save Subtitle File",
     .Run = [](CommandTargets& t) { t.Controller.SaveSubtitleFile(); }},
    {.Name = "SaveProjectAs1", .Shortcuts = {CtrlShift(Qt::Key_S)}, .Menu = MenuPlace::File,
     .EnglishCaption = "Save Subtitle File As...",
     .Run = [](CommandTargets& t) { t.Controller.SaveSubtitleFileAs(); }},
    {.Name = "ExportWebVtt1", .Menu = MenuPlace::File, .SeparatorBefore = true, .CaptionSection = "ExportWebVtt",
     .EnglishCaption = "Export as WebVTT (.vtt)...",
     .Run = [](CommandTargets& t) { t.Controller.ExportSubtitles(ExportFormat::WebVtt); }},
    {.Name = "ExportAss1", .Menu = MenuPlace::File, .CaptionSection = "ExportAss",
     .EnglishCaption = "Export as ASS (.ass)...",
     .Run = [](CommandTargets& t) { t.Controller.ExportSubtitles(ExportFormat::Ass); }},
    {.Name = "ExportSubRipFromOne1", .Menu = MenuPlace::File, .CaptionSection = "ExportSubRipFromOne",
     .EnglishCaption = "Export as SubRip numbered from 1 (.srt)...",
     .Run = [](CommandTargets& t) { t.Controller.ExportSubtitles(ExportFormat::SubRipFromOne); }},
    {.Name = "WriteSubtitle1", .SkinObjects = {"start"}, .FunctionKey = Qt::Key_F7, .Menu = MenuPlace::File,
     .SeparatorBefore = true, .CaptionSection = "WriteSubtitle", .EnglishCaption = "Write Subtitle",
     .Run =
         [](CommandTargets& t) {
           // The output settings' format list counts once its choice is made.
           t.State.FormatChoice = t.OutputSettings.FormatChoice();
           t.Controller.WriteSubtitlesToVideo();
         }},
    {.Name = "Stop1", .SkinObjects = {"stop"}, .FunctionKey = Qt::Key_F8, .Menu = MenuPlace::File,
     .CaptionSection = "Stop", .EnglishCaption = "Stop Write Subtitle", .Enabled = WhileWriting,
     .Run = [](CommandTargets& t) { t.Controller.StopWriting(); }},
    {.Name = "Exit1", .Shortcuts = {Ctrl(Qt::Key_Q)}, .Menu = MenuPlace::File, .SeparatorBefore = true,
     .CaptionSection = "Exit", .EnglishCaption = "Exit", .Run = [](CommandTargets& t) { t.Window.close(); }},
    // PopupMenu_tools, the list's menu
    {.Name = "Insert", .SkinObjects = {"lvinsert"}, .Menu = MenuPlace::List, .EnglishCaption = "Insert Subtitle",
     .Run = [](CommandTargets& t) { t.Controller.InsertBlankSubtitle(); }},
    {.Name = "Editsubtitle", .SkinObjects = {"lvedit"}, .Menu = MenuPlace::List, .EnglishCaption = "Edit Subtitle",
     .Run = [](CommandTargets& t) { t.Controller.EditSubtitle(); }},
    {.Name = "RemoveSubtitle1", .SkinObjects = {"remove"}, .Menu = MenuPlace::List,
     .EnglishCaption = "Remove Subtitle", .Run = [](CommandTargets& t) { t.Controller.RemoveSubtitle(); }},
    {.Name = "ClearSubtitle1", .SkinObjects = {"clear"}, .Menu = MenuPlace::List, .EnglishCaption = "Clear Subtitle",
     .Run = [](CommandTargets& t) { t.Controller.ClearSubtitles(); }},
    {.Name = "ReactionDelay1", .Menu = MenuPlace::List, .SeparatorBefore = true, .CaptionSection = "ReactionDelay",
     .EnglishCaption = "Reaction Delay...", .Run = [](CommandTargets& t) { t.ReactionDelay.ShowModal(); }},
    {.Name = "CheckSubtitles1", .Shortcuts = {Ctrl(Qt::Key_K)}, .Menu = MenuPlace::List, .CaptionSection = "Checks",
     .EnglishCaption = "Check subtitles", .Run = [](CommandTargets& t) { t.CheckReport.ShowReport(); }},
    {.Name = "Undo1", .Shortcuts = {Ctrl(Qt::Key_Z)}, .Menu = MenuPlace::List, .SeparatorBefore = true,
     .CaptionSection = "Undo", .EnglishCaption = "Undo", .Enabled = WithUndo,
     .Run =
         [](CommandTargets& t) {
           t.Controller.Undo();
           CursorToMemoEnd(t);
         }},
    {.Name = "Redo1", .Shortcuts = {CtrlShift(Qt::Key_Z), Ctrl(Qt::Key_Y)}, .Menu = MenuPlace::List,
     .CaptionSection = "Redo", .EnglishCaption = "Redo", .Enabled = WithRedo,
     .Run =
         [](CommandTargets& t) {
           t.Controller.Redo();
           CursorToMemoEnd(t);
         }},
    // PopupMenu_help
    {.Name = "Content1", .FunctionKey = Qt::Key_F1, .Menu = MenuPlace::Help, .CaptionSection = "Content",
     .EnglishCaption = "Help", .Run = [](CommandTargets& t) { t.Controller.OpenHelpFile(); }},
    {.Name = "Inspectionupdate1", .Menu = MenuPlace::Help, .CaptionSection = "Inspectionupdate",
     .EnglishCaption = "Inspection Update", .Run = [](CommandTargets& t) { t.Controller.Inspectionupdate1Click(); }},
    {.Name = "ContactUS1", .Menu = MenuPlace::Help, .CaptionSection = "ContactUS", .EnglishCaption = "Contact US",
     .Run = [](CommandTargets& t) { t.Controller.ContactUS1Click(); }},
    {.Name = "OurWebSite1", .Menu = MenuPlace::Help, .CaptionSection = "OurWebSite", .EnglishCaption = "Our WebSite",
     .Run = [](CommandTargets& t) { t.Controller.OurWebSite1Click(); }},
    {.Name = "About1", .Menu = MenuPlace::Help, .SeparatorBefore = true, .CaptionSection = "About",
     .EnglishCaption = "About", .Run = [](CommandTargets& t) { t.About.showBeside(t.Window); }},
    // The skin's buttons and the function keys without a menu item
    {.Name = "Play", .SkinObjects = {"play"}, .FunctionKey = Qt::Key_F2,
     .Run = [](CommandTargets& t) { t.Controller.Play(); }},
    {.Name = "InsertSubtitle", .SkinObjects = {"insertsubtitle"}, .FunctionKey = Qt::Key_F3,
     .Run = [](CommandTargets& t) { t.Controller.InsertSubtitle(); }},
    {.Name = "SetEndTime", .SkinObjects = {"setendtime"}, .FunctionKey = Qt::Key_F4,
     .Run = [](CommandTargets& t) { t.Controller.SetEndTime(); }},
    {.Name = "Pause", .SkinObjects = {"pause"}, .FunctionKey = Qt::Key_F5,
     .Run = [](CommandTargets& t) { t.Controller.Pause(); }},
    {.Name = "StopPlayback", .SkinObjects = {"stopplay", "playstop"}, .FunctionKey = Qt::Key_F6,
     .Run = [](CommandTargets& t) { t.Controller.StopPlayback(); }},
    {.Name = "SetBeginTime", .SkinObjects = {"setbegintime"},
     .Run = [](CommandTargets& t) { t.Controller.SetBeginTime(); }},
    {.Name = "FastBack", .SkinObjects = {"fastback"}, .Run = [](CommandTargets& t) { t.Controller.FastBack(); }},
    {.Name = "FastForward", .SkinObjects = {"fastforward"},
     .Run = [](CommandTargets& t) { t.Controller.FastForward(); }},
    {.Name = "ShowFileMenu", .SkinObjects = {"file"},
     .Run = [](CommandTargets& t) { PopUp(t, t.FileMenu, SkinMenu::File); }},
    {.Name = "ShowHelpMenu", .SkinObjects = {"help"},
     .Run = [](CommandTargets& t) { PopUp(t, t.HelpMenu, SkinMenu::Help); }},
    {.Name = "ShowSubtitleStyle", .SkinObjects = {"edit"},
     .Run = [](CommandTargets& t) { t.SubtitleStyle.ShowModal(); }},
    {.Name = "ShowOutputSettings", .SkinObjects = {"settings"},
     .Run = [](CommandTargets& t) { t.OutputSettings.ShowModal(); }},
    {.Name = "OpenGiftPage", .SkinObjects = {"tools"}, .Run = [](CommandTargets& t) { t.Controller.OpenGiftPage(); }},
    {.Name = "HelpTopic1", .SkinObjects = {"help1"}, .Run = [](CommandTargets& t) { t.Controller.ShowHelpTopic(0); }},
    {.Name = "HelpTopic2", .SkinObjects = {"help2"}, .Run = [](CommandTargets& t) { t.Controller.ShowHelpTopic(1); }},
    {.Name = "HelpTopic3", .SkinObjects = {"help3"}, .Run = [](CommandTargets& t) { t.Controller.ShowHelpTopic(2); }},
    {.Name = "HelpTopic4", .SkinObjects = {"help4"}, .Run = [](CommandTargets& t) { t.Controller.ShowHelpTopic(3); }},
    // PopupMenu_timing, under the list's menu. Function keys F9..F12 nudge,
    // as they take no typing; Left and Right step the still picture wherever
    // no text cursor needs them (a memo or time box being typed into keeps
    // its own), and with Alt held from anywhere.
    {.Name = "NudgeBeginEarlierFrame", .Shortcuts = {QKeyCombination(Qt::Key_F9)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "Begin One Frame Earlier",
     .Run = [](CommandTargets& t) { t.Controller.timing().NudgeTime(TimeEdge::Begin, NudgeStep::FrameEarlier); }},
    {.Name = "NudgeBeginLaterFrame", .Shortcuts = {QKeyCombination(Qt::Key_F10)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "Begin One Frame Later",
     .Run = [](CommandTargets& t) { t.Controller.timing().NudgeTime(TimeEdge::Begin, NudgeStep::FrameLater); }},
    {.Name = "NudgeBeginEarlier100", .Shortcuts = {Shift(Qt::Key_F9)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "Begin 100 ms Earlier",
     .Run = [](CommandTargets& t) { t.Controller.timing().NudgeTime(TimeEdge::Begin, NudgeStep::Earlier100); }},
    {.Name = "NudgeBeginLater100", .Shortcuts = {Shift(Qt::Key_F10)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "Begin 100 ms Later",
     .Run = [](CommandTargets& t) { t.Controller.timing().NudgeTime(TimeEdge::Begin, NudgeStep::Later100); }},
    {.Name = "NudgeEndEarlierFrame", .Shortcuts = {QKeyCombination(Qt::Key_F11)}, .Menu = MenuPlace::Timing,
     .SeparatorBefore = true, .EnglishCaption = "End One Frame Earlier",
     .Run = [](CommandTargets& t) { t.Controller.timing().NudgeTime(TimeEdge::End, NudgeStep::FrameEarlier); }},
    {.Name = "NudgeEndLaterFrame", .Shortcuts = {QKeyCombination(Qt::Key_F12)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "End One Frame Later",
     .Run = [](CommandTargets& t) { t.Controller.timing().NudgeTime(TimeEdge::End, NudgeStep::FrameLater); }},
    {.Name = "NudgeEndEarlier100", .Shortcuts = {Shift(Qt::Key_F11)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "End 100 ms Earlier",
     .Run = [](CommandTargets& t) { t.Controller.timing().NudgeTime(TimeEdge::End, NudgeStep::Earlier100); }},
    {.Name = "NudgeEndLater100", .Shortcuts = {Shift(Qt::Key_F12)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "End 100 ms Later",
     .Run = [](CommandTargets& t) { t.Controller.timing().NudgeTime(TimeEdge::End, NudgeStep::Later100); }},
    {.Name = "StepFrameBack", .Shortcuts = {QKeyCombination(Qt::Key_Left), Alt(Qt::Key_Left)},
     .Menu = MenuPlace::Timing, .SeparatorBefore = true, .EnglishCaption = "Previous Frame",
     .Run = [](CommandTargets& t) { t.Controller.timing().StepFrames(-1); }},
    {.Name = "StepFrameForward", .Shortcuts = {QKeyCombination(Qt::Key_Right), Alt(Qt::Key_Right)},
     .Menu = MenuPlace::Timing, .EnglishCaption = "Next Frame",
     .Run = [](CommandTargets& t) { t.Controller.timing().StepFrames(1); }},
    {.Name = "StepSecondBack", .Shortcuts = {Shift(Qt::Key_Left), AltShift(Qt::Key_Left)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "One Second Back", .Run = [](CommandTargets& t) { t.Controller.timing().StepSeconds(-1); }},
    {.Name = "StepSecondForward", .Shortcuts = {Shift(Qt::Key_Right), AltShift(Qt::Key_Right)},
     .Menu = MenuPlace::Timing, .EnglishCaption = "One Second Forward",
     .Run = [](CommandTargets& t) { t.Controller.timing().StepSeconds(1); }},
    {.Name = "StampBeginAtPlayTime", .Shortcuts = {Ctrl(Qt::Key_B)}, .Menu = MenuPlace::Timing,
     .SeparatorBefore = true, .EnglishCaption = "Stamp Begin at Play Time",
     .Run = [](CommandTargets& t) { t.Controller.timing().StampBeginAtPlayTime(); }},
    {.Name = "StampEndAtPlayTime", .Shortcuts = {Ctrl(Qt::Key_E)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "Stamp End at Play Time",
     .Run = [](CommandTargets& t) { t.Controller.timing().StampEndAtPlayTime(); }},
    {.Name = "ShiftTimes1", .Shortcuts = {CtrlShift(Qt::Key_T)}, .Menu = MenuPlace::Timing, .SeparatorBefore = true,
     .EnglishCaption = "Shift Times...", .Run = [](CommandTargets& t) { t.Timing.Shift.ShowModal(); }},
    {.Name = "TwoPointSync1", .Shortcuts = {CtrlShift(Qt::Key_P)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "Two-Point Sync...", .Run = [](CommandTargets& t) { t.Timing.Sync.ShowModal(); }},
    {.Name = "ConvertFrameRate1", .Shortcuts = {CtrlShift(Qt::Key_R)}, .Menu = MenuPlace::Timing,
     .EnglishCaption = "Convert Frame Rate...", .Run = [](CommandTargets& t) { t.Timing.Rates.ShowModal(); }},
    // Playback speed, one row per speed; the speed in force is checked.
    SpeedRow<50>("Speed50", Qt::Key_1, "Speed 0.5x", true),
    SpeedRow<75>("Speed75", Qt::Key_2, "Speed 0.75x"),
    SpeedRow<100>("Speed100", Qt::Key_3, "Speed 1x (normal)"),
    SpeedRow<125>("Speed125", Qt::Key_4, "Speed 1.25x"),
    SpeedRow<150>("Speed150", Qt::Key_5, "Speed 1.5x"),
    // The timing strip's zoom, around the play position
    {.Name = "StripZoomIn1", .Shortcuts = {Ctrl(Qt::Key_Equal), Ctrl(Qt::Key_Plus)}, .Menu = MenuPlace::Timing,
     .SeparatorBefore = true, .CaptionSection = "StripZoomIn", .EnglishCaption = "Zoom In Timing Strip",
     .Enabled = WithVideo, .Run = [](CommandTargets& t) { t.Strip.zoomIn(); }},
    {.Name = "StripZoomOut1", .Shortcuts = {Ctrl(Qt::Key_Minus)}, .Menu = MenuPlace::Timing,
     .CaptionSection = "StripZoomOut", .EnglishCaption = "Zoom Out Timing Strip", .Enabled = WithVideo,
     .Run = [](CommandTargets& t) { t.Strip.zoomOut(); }},
    {.Name = "StripWholeVideo1", .Shortcuts = {Ctrl(Qt::Key_0)}, .Menu = MenuPlace::Timing,
     .CaptionSection = "StripWholeVideo", .EnglishCaption = "Whole Video on Timing Strip", .Enabled = WithVideo,
     .Run = [](CommandTargets& t) { t.Strip.showWholeVideo(); }},
};

}  // namespace

std::span<const CommandRow> MainWindowCommands() { return kRows; }

QPoint SkinMenuPosition(SkinMenu menu, QPoint windowTopLeft, bool chineseUI) {
  constexpr int kMenuTop = 64;
  if (menu == SkinMenu::File) return windowTopLeft + QPoint(27, kMenuTop);
  return windowTopLeft + QPoint(chineseUI ? 248 : 265, kMenuTop);
}

}  // namespace orlisk
