// Undo and redo of the subtitle list. The history puts the rows and entries
// back; these commands put the rest of the window in step with them.
#include <algorithm>

#include "EditingCommands.h"
#include "PreviewCommands.h"

namespace orlisk {

void EditingCommands::Undo() {
  if (c_.Basics.RefuseWhileWriting()) return;
  const int editTarget = c_.Memo.isEnabled() ? EditTargetRow() : -1;
  const int selected = c_.List.selectedRow();
  if (std::optional<DocumentSplice> applied = c_.Basics.History.undo()) ShowRestored(*applied, editTarget, selected);
}

void EditingCommands::Redo() {
  if (c_.Basics.RefuseWhileWriting()) return;
  const int editTarget = c_.Memo.isEnabled() ? EditTargetRow() : -1;
  const int selected = c_.List.selectedRow();
  if (std::optional<DocumentSplice> applied = c_.Basics.History.redo()) ShowRestored(*applied, editTarget, selected);
}

void EditingCommands::ShowRestored(const DocumentSplice& applied, int editTarget, int selected) {
  MainState& s = c_.Basics.State;
  const SubtitleDocument& doc = s.Document;
  // Nothing shown here may be captured back into the list: the font, say, is
  // the window's and not the restored entry's, and a capture would record a
  // new change that throws the redo steps away.
  s.SuppressEditCapture = true;
  const bool sameSubtitle = applied.RemovedCount == 1 && applied.Rows.size() == 1 && applied.First == editTarget &&
                            !s.IsPlaying;
  if (sameSubtitle) {
    // Typing, a drag or a style undone in the subtitle being edited: editing
    // goes on there, from its restored text, place and style. The list was
    // reset under its selection, which names the subtitle typing goes to.
    c_.List.selectRow(selected < doc.rowCount() ? selected : -1);
    const SubtitleEntry& entry = doc.entries()[static_cast<std::size_t>(editTarget)];
    s.Placement = entry.Place;
    s.Style.TextColor = entry.TextColor;
    s.Style.BorderColor = entry.BorderColor;
    s.Style.BorderEnabled = entry.Border;
    c_.Memo.setText(doc.row(editTarget).Subtitle);
    c_.StartTime.setText(FormatSubtitleTime(entry.BeginTime));
    c_.EndTime.setText(FormatSubtitleTime(entry.EndTime));
  } else {
    // Rows came or went, or another subtitle changed: the row numbers the
    // editing target had may name other subtitles now, so editing ends and
    // the changed place of the list is selected and shown.
    s.EditingNewEntry = false;
    s.TypingFinished = false;
    c_.Memo.setEnabled(false);
    const int row = doc.rowCount() == 0 ? -1 : std::min(applied.First, doc.rowCount() - 1);
    c_.List.selectRow(row);
    if (row >= 0) {
      s.EditIndex = row;
      SelectSubtitle();  // its picture, text, times, place and style
      s.SuppressEditCapture = true;
    } else {
      c_.Memo.setText("");
      s.SubtitleCursor = 0;
    }
  }
  c_.Preview.RefreshFrame();
  s.SuppressEditCapture = false;
}

}  // namespace orlisk
