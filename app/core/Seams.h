#pragma once
// The main window's commands reach everything outside themselves through these
// small interfaces. The window implements them with Qt widgets; tests implement
// them with scripted fakes. All calls happen on the user-interface thread.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "subtitles/SubtitleStyle.h"

namespace orlisk {

// The four message box kinds. Texts arrive already looked up (MessageText).
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Caption "Information", information icon, "OK".
  virtual void information(const std::string& text) = 0;
  // Caption "Information", information icon, "&Yes" and "&No". True for Yes.
  virtual bool informationQuestion(const std::string& text) = 0;
  // Caption "Information", information icon, "OK" and "&Help" (no topic attached).
  virtual void informationWithHelp(const std::string& text) = 0;
  // Caption "Confirm", question icon, "&Yes" and "&No". True for Yes.
  virtual bool confirmation(const std::string& text) = 0;

  // Caption "Confirm", question icon, "&Yes", "&No" and "Cancel" (also the
  // answer of Escape and of closing the box): whether to save before going on.
  enum class SaveAnswer { Save, Discard, Cancel };
  virtual SaveAnswer saveQuestion(const std::string& text) = 0;
};

// An encoding to pick from a list: the choices' names in the interface's
// language ("Automatic" first) and the one chosen when the list shows.
struct EncodingList {
  std::string Label;  // "Encoding:"
  std::vector<std::string> Names;
  int Chosen = 0;
};

// A subtitle file chosen in the open dialog, with the encoding chosen beside
// its name (an index into the list's names).
struct ChosenSubtitleFile {
  std::string Path;
  int Encoding = 0;
};

// The three file dialogs and the output folder dialog (`Tfm_dir`). Each
// starts in `startFolder` and returns the chosen path, or nothing when the
// user cancels. The save dialog proposes `proposedName` (a file name without
// folder; empty proposes nothing). The subtitle file's open dialog offers
// `encodings` beside the file name.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<std::string> openVideo(const std::string& startFolder, const std::string& filter) = 0;
  virtual std::optional<ChosenSubtitleFile> openSubtitle(const std::string& startFolder, const std::string& filter,
                                                         const EncodingList& encodings) = 0;
  virtual std::optional<std::string> saveSubtitle(const std::string& startFolder, const std::string& proposedName,
                                                  const std::string& filter) = 0;
  virtual std::optional<std::string> chooseOutputFolder(const std::string& startFolder) = 0;
  // The encoding to read the list's file again in, in a small window titled
  // `title`: an index into the names, or nothing when the user cancels.
  virtual std::optional<int> chooseEncoding(const std::string& title, const EncodingList& encodings) = 0;
};

// The skin objects the program writes to: "playbar", "playtime", "videotime", "shpb".
class SkinObjects {
 public:
  virtual ~SkinObjects() = default;
  virtual int playbarPosition() const = 0;  // 0..10000
  virtual void setPlaybarPosition(int position) = 0;  // moves the thumb and redraws it
  virtual std::string playtimeText() const = 0;
  virtual void setPlaytimeText(const std::string& text) = 0;  // and redraws it
  virtual void setVideotimeText(const std::string& text) = 0;  // and redraws it
  virtual void setProgressPanelVisible(bool visible) = 0;     // "shpb"
};

// The subtitle memo `ed_text`. Setting its text fires the window's change
// handler (ed_textChange), exactly as typing does.
class TextMemo {
 public:
  virtual ~TextMemo() = default;
  virtual std::string text() const = 0;  // UTF-8, lines joined by "\r\n"
  virtual void setText(const std::string& text) = 0;
  virtual bool isEnabled() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual void setFocus() = 0;
  // Shows `status` (SubtitleAtHand::Status) where the text goes while the
  // text is empty; "" takes it away. It never becomes the text.
  virtual void showStatus(const std::string& status) = 0;
};

// The begin and end edit boxes `ed_Starttime`, `ed_Endtime`.
class TimeEdit {
 public:
  virtual ~TimeEdit() = default;
  virtual std::string text() const = 0;
  virtual void setText(const std::string& text) = 0;
};

// The selection of the subtitle list `lv` (its rows come from the document).
class SubtitleListSelection {
 public:
  virtual ~SubtitleListSelection() = default;
  virtual int selectedRow() const = 0;  // -1 when no row is selected
  virtual void selectRow(int row) = 0;  // -1 clears the selection
};

// The playback timer `Timer1`.
class PlaybackTimer {
 public:
  virtual ~PlaybackTimer() = default;
  virtual void start(int intervalMs) = 0;
  virtual void stop() = 0;
  virtual bool isActive() const = 0;
};

// A millisecond tick count that wraps at 32 bits.
class TickClock {
 public:
  virtual ~TickClock() = default;
  virtual std::uint32_t nowMs() const = 0;
};

// The desktop: the browser, the help viewer and the file manager.
class DesktopShell {
 public:
  virtual ~DesktopShell() = default;
  virtual void openUrl(const std::string& url) = 0;   // web page or local file
  virtual void showInFileManager(const std::string& path) = 0;
};

// Is the left mouse button held down right now (asked of the system, not of an event)?
class MouseButtons {
 public:
  virtual ~MouseButtons() = default;
  virtual bool leftButtonDown() const = 0;
};

// The font dialog `FontDialog1`: the style with the chosen font and text
// colour (the outline as it was), or nothing on cancel.
class FontChooser {
 public:
  virtual ~FontChooser() = default;
  virtual std::optional<SubtitleStyle> chooseFont(const SubtitleStyle& current) = 0;
};

// Lets the window's pending events through (input, paints, timers) while a
// long command runs on the user-interface thread. Any handler may run inside,
// the stop request and the close query included.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void processPendingEvents() = 0;
};

// What the window shows of a running write job: the progress bar
// `pb_writesubtitle` (0..10000) and the height of the memo `ed_text`, which
// makes room for it.
class WriteProgressDisplay {
 public:
  virtual ~WriteProgressDisplay() = default;
  virtual void setProgressVisible(bool visible) = 0;
  virtual void setProgress(int position) = 0;
  virtual void changeMemoHeight(int deltaPixels) = 0;
};

}  // namespace orlisk
