#pragma once
// The subtitle list and typing: inserting while watching, time stamps,
// selecting, editing, blank rows, removing, clearing, and the capture of the
// typed text into the subtitle being edited.
#include "CommandBasics.h"
#include "Seams.h"
#include "subtitles/DocumentChange.h"
#include "playback/VideoReader.h"

namespace orlisk {

class PlaybackCommands;
class PreviewCommands;

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
  // Copies the typed text, placement and style into the subtitle being edited.
  void CaptureEdit();
  // Enter in ed_Starttime or ed_Endtime: the time typed there becomes the
  // begin or end of the subtitle at hand (the new entry while one is being
  // typed, else the selected row), and the box shows it in full. A text that
  // is no time shows "Subtitle time errors"; a time past the video's end, a
  // begin after a stamped end or an end before the begin is refused with a
  // message. False when nothing changed: the caller shows the old time again.
  bool ApplyTypedBeginTime();
  bool ApplyTypedEndTime();
  // Undo and redo of the list's changes: the changed subtitle is selected and
  // shown on its picture; typing goes on in the subtitle it went to when only
  // that subtitle changed (UndoCommands.cpp).
  void Undo();
  void Redo();

 private:
  // The row that typing and time stamping go to: the last row for a new entry,
  // else EditIndex while a row is selected; -1 when there is none (or EditIndex
  // lies beyond the list after a removal).
  int EditTargetRow() const;
  // The selected row when it names an existing row and entry, else -1.
  int SelectedRowInRange() const;
  // The row whose times the boxes show: the new entry's, else the selected one; -1 for none.
  int TypedTimeTargetRow() const;
  bool ApplyTypedTime(bool begin);
  // Puts the play time into `box`, taken the reaction delay earlier, and
  // returns it; a malformed play time shows "Subtitle time errors" and gives 0.
  SubtitleTime StampPlaytime(TimeEdit& box);
  // After an undo or redo applied `applied`: puts the selection, the memo and
  // the placement in step with the list.
  void ShowRestored(const DocumentSplice& applied, int editTarget, int selected);

  Context c_;
};

}  // namespace orlisk
