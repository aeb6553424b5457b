#pragma once
// The subtitle at hand: the one subtitle that typing, time stamps, a placement
// drag and the picture go to. It is exactly one of
//   - nothing (at start, after a video or a subtitle file was opened, after a
//     clear, while a video is written);
//   - a new subtitle, from F3 until another subtitle is taken up; F4 finishes
//     it: its text is then kept, but stamps and drags still go to it;
//   - an existing row, picked by a click (shown and dragged, not typed into)
//     or taken up for typing (Edit, a blank row, an undo of its typing).
// Every command asks this model instead of keeping flags of its own, so the
// answers below are the one place where those rules live.
//
// While nothing is at hand the memo may show a status of the window instead
// (a write job's progress or how it ended). A status is never a subtitle: it
// is not the memo's text, so it is neither drawn on a picture nor captured,
// and it goes as soon as a video opens or a subtitle is taken up.
#include <cstdint>
#include <string>

#include "Seams.h"
#include "subtitles/SubtitleDocument.h"
#include "subtitles/SubtitleEntry.h"
#include "subtitles/SubtitleStyle.h"

namespace orlisk {

// What the window holds when a capture copies it into the subtitle at hand.
struct WindowSubtitle {
  std::string Text;          // the memo's text, whole
  bool MemoEnabled = false;  // a disabled memo is never captured
  SubtitlePlacement Place;
  SubtitleStyle Style;
  std::int32_t Cursor = 0;   // SubtitleCursor, kept in the entry as its tag
};

class SubtitleAtHand {
 public:
  enum class Kind { Nothing, NewSubtitle, ExistingRow };

  // Nothing at hand, and no status.
  void Release();
  // Nothing at hand; the memo shows `status` in place of a subtitle.
  void ShowStatus(std::string status);
  // F3 appended `row`: it takes the typing until it is finished.
  void StartNew(int row);
  // F4 stamped the end of the new subtitle: the memo edits it no longer.
  void FinishTyping();
  // A row clicked: it is shown and dragged, but the memo does not type into it.
  void Pick(int row);
  // A picked row that the time stamps go to as well (after an undo).
  void PickForStamps(int row);
  // A row taken up for typing: it is also where the time stamps go.
  void TakeUp(int row);

  Kind kind() const { return kind_; }
  // The status the memo shows; "" when there is none or something is at hand.
  const std::string& Status() const { return status_; }
  // The row at hand; -1 for nothing or a row no longer in a list of `rowCount`.
  int Row(int rowCount) const;
  // Whether the memo types into the subtitle at hand.
  bool TakesTyping() const;
  // The row a time stamp goes to. A new subtitle takes its own stamps; else a
  // stamp goes to the row last taken up for typing (`EditIndex`) whenever the
  // list has a selection, even when another row was clicked since.
  int StampRow(int rowCount, int selectedRow) const;

  // The Part's names for what the model holds.
  bool EditingNewEntry() const { return kind_ == Kind::NewSubtitle; }
  int EditIndex() const { return editIndex_; }
  const SubtitleEntry& EntryBuffer() const { return entryBuffer_; }
  bool IsDraggingSubtitle() const { return dragging_; }
  void SetDragging(bool dragging) { dragging_ = dragging; }

  // Copies what the window shows into the subtitle at hand: everything while
  // it takes the typing (the row's whole text, the entry's first 255 bytes,
  // the place, the style, the tag and the font), only the place and style of a
  // picked row. Nothing is stored while nothing the user sees differs from
  // what the row holds, so a redraw alone never changes the list.
  void Capture(SubtitleDocument& document, const WindowSubtitle& shown);

 private:
  // `kind` at `row`, neither finished nor typed into, and no status.
  void Take(Kind kind, int row);

  Kind kind_ = Kind::Nothing;
  int row_ = -1;
  int editIndex_ = 0;
  bool finished_ = false;  // a new subtitle whose end was stamped
  bool typing_ = false;    // an existing row taken up for typing
  bool dragging_ = false;
  SubtitleEntry entryBuffer_;
  std::string status_;
};

// Puts the begin and end of the subtitle at hand into its boxes: 00:00:00,000
// for an end not stamped yet, and for both while nothing is at hand.
void ShowTimesAtHand(const SubtitleAtHand& atHand, const SubtitleDocument& document, TimeEdit& begin, TimeEdit& end);

}  // namespace orlisk
