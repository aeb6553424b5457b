#pragma once
// The subtitle list and typing: inserting while watching, time stamps,
// selecting, editing, blank rows, removing, clearing, typed times, undo and
// redo. Each command says what is at hand (MainState::AtHand) and puts the
// memo, the boxes and the picture in step with it.
#include "CommandBasics.h"
#include "Seams.h"
#include "subtitles/DocumentChange.h"
#include "playback/VideoReader.h"

namespace orlisk {

class PlaybackCommands;
class PreviewCommands;

// Which subtitles the style dialog's colours and outline go to.
enum class StyleScope { SubtitleAtHand, EverySubtitle };

// What the style dialog's "OK" hands over: the outline and the backdrop
// chosen in it (the font and the text colour are in effect from the moment
// they are chosen), and where the colours and outline go.
struct StyleChoice {
  Colour BorderColor = 0;
  bool BorderEnabled = true;
  SubtitleBackdrop Backdrop;
  StyleScope Scope = StyleScope::SubtitleAtHand;
};

class EditingCommands {
 public:
  struct Context {
    CommandBasics& Basics;
    TextMemo& Memo;                 // ed_text
    TimeEdit& StartTime;            // ed_Starttime
    TimeEdit& EndTime;              // ed_Endtime
    SubtitleListSelection& List;    // lv
    SkinObjects& Skin;
    VideoReader& Reader;            // VideoFileRead
    PlaybackCommands& Playback;     // pausing and stopping before an edit
    PreviewCommands& Preview;       // redrawing the still picture
  };
  explicit EditingCommands(Context context) : c_(context) {}

  void InsertSubtitle();
  void SetBeginTime();
  void SetEndTime();
  void SelectSubtitle();  // lvClick
  void EditSubtitle();
  void InsertBlankSubtitle();
  void RemoveSubtitle();
  void ClearSubtitles();
  // Nothing at hand any more (the list was emptied or replaced): the memo
  // empties, the boxes show zero, and the picture shows no subtitle.
  void ReleaseSubtitleAtHand();
  // Enter in ed_Starttime or ed_Endtime, or leaving the box: the time typed
  // there becomes the begin or end of the subtitle at hand, and the box shows
  // it in full. A text that
  // is no time shows "Subtitle time errors"; a time past the video's end, a
  // begin after a stamped end or an end before the begin is refused with a
  // message. False when nothing changed: the caller shows the old time again.
  bool ApplyTypedBeginTime();
  bool ApplyTypedEndTime();
  // The style dialog's "OK" (StyleCommand.cpp): the outline and backdrop join
  // the style in use and the settings file, and the style's colours and
  // outline go into the subtitle at hand (none: only into what new subtitles
  // get) or into every subtitle; the picture is redrawn. A change of the list
  // joins the step of the command the dialog runs in. Every subtitle while a
  // video is written is refused with the writing message and changes
  // nothing: false.
  bool ApplyStyle(const StyleChoice& choice);
  // Undo and redo of the list's changes: the changed subtitle is selected and
  // shown on its picture; typing goes on in the subtitle it went to when only
  // that subtitle changed (UndoCommands.cpp).
  void Undo();
  void Redo();
  // Puts the play time into `box`, taken the reaction delay earlier, and
  // returns it; a malformed play time shows "Subtitle time errors" and gives 0.
  // Every stamp goes through here (F3, F4 and the timing tools' stamps).
  SubtitleTime StampPlaytime(TimeEdit& box);

 private:
  // The selected row when it names an existing row and entry, else -1.
  int SelectedRowInRange() const;
  // The row a stamp goes to, within the entries too; -1 for none.
  int StampRow() const;
  // The row at hand, within the entries too; -1 for none.
  int RowAtHand() const;
  bool ApplyTypedTime(bool begin);
  // Shows `row` as the picked subtitle: its own place and style first, so the
  // picture draws it where it stands, then its text, times and picture.
  void ShowPickedRow(int row);
  // After an undo or redo applied `applied`: puts the selection, the memo and
  // the placement in step with the list.
  void ShowRestored(const DocumentSplice& applied, int typingRow, int selected);

  Context c_;
};

}  // namespace orlisk
