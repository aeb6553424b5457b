#pragma once
// The main window's commands that a user starts without arguments, one row
// each: the menu item, the skin objects, the function key and the shortcuts
// that start it, when it is enabled, and what it runs. CommandActions turns
// every row into one QAction; a menu item, a key and a button all trigger it.
//
// A new command is one row here (and its caption in the language files when
// it has a menu item). Rows of a menu are listed in the menu's order.
#include <QKeyCombination>
#include <QPoint>
#include <array>
#include <span>

#include "app/core/DocumentHistory.h"

class QMenu;
class QPlainTextEdit;
class QWidget;

namespace orlisk {

class MainController;
struct MainState;
class Tfm_about;
class Tfm_set;
class Tfm_setfont;
class ReactionDelayDialog;
class CheckReportDialog;
class ShiftTimesDialog;
class TwoPointSyncDialog;
class FrameRateDialog;

// The timing tools' dialogs.
struct TimingDialogs {
  ShiftTimesDialog& Shift;
  TwoPointSyncDialog& Sync;
  FrameRateDialog& Rates;
};

// What a row's command reaches: the facade and the window's own parts.
struct CommandTargets {
  MainController& Controller;
  MainState& State;
  QWidget& Window;  // Exit closes it; the About window opens beside it
  QMenu& FileMenu;  // PopupMenu_File, popped up by the skin's "file"
  QMenu& HelpMenu;  // PopupMenu_help, by the skin's "help"
  QPlainTextEdit& Memo;  // ed_text: typing goes on at its end after an undo
  Tfm_setfont& SubtitleStyle;
  Tfm_set& OutputSettings;
  Tfm_about& About;
  ReactionDelayDialog& ReactionDelay;
  CheckReportDialog& CheckReport;
  TimingDialogs Timing;
};

// What decides whether a command is enabled. Only a command that is silent
// where it does not apply is ever disabled: one that refuses with a message
// stays enabled, or the user would never see why.
struct CommandConditions {
  bool Writing = false;  // a write job runs
  bool CanUndo = false;
  bool CanRedo = false;
  bool SubtitleFile = false;  // the list was read from or saved to a file
};

enum class MenuPlace { None, File, List, Help, Timing };

struct CommandRow {
  const char* Name;  // the QAction's objectName: the menu item's name where there is one
  std::array<const char*, 2> SkinObjects{};  // exact names, letter case included
  int FunctionKey = 0;                        // Qt::Key_F1..Qt::Key_F8, or none
  std::array<QKeyCombination, 2> Shortcuts{};
  MenuPlace Menu = MenuPlace::None;
  bool SeparatorBefore = false;
  // The caption is key "Caption" of this section of the language file; with
  // no section, key Name of the main window's section (the window's captions).
  const char* CaptionSection = nullptr;
  const char* EnglishCaption = "";
  bool (*Enabled)(const CommandConditions&) = nullptr;  // none: always enabled
  CommandKind Kind = CommandKind::UserAction;           // how the history records it
  void (*Run)(CommandTargets&) = nullptr;
};

// Every row, menu rows first in their menus' order.
std::span<const CommandRow> MainWindowCommands();

enum class SkinMenu { File, Help };

// Where a skin menu pops up: a fixed offset from the window's outer top-left
// corner on the screen, so it follows the window wherever it was moved. The
// Chinese skin draws its "help" button further left.
QPoint SkinMenuPosition(SkinMenu menu, QPoint windowTopLeft, bool chineseUI);

}  // namespace orlisk
