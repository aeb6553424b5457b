// Undo and redo of the subtitle list. The history puts the rows and entries
// back; these commands put the rest of the window in step with them.
#include <algorithm>

#include "EditingCommands.h"
#include "PreviewCommands.h"

namespace orlisk {

void EditingCommands::Undo() {
  if (c_.Basics.RefuseWhileWriting()) return;
  const int typingRow = c_.Basics.State.AtHand.TakesTyping() && c_.Memo.isEnabled() ? RowAtHand() : -1;
  const int selected = c_.List.selectedRow();
  if (std::optional<DocumentSplice> applied = c_.Basics.History.undo()) ShowRestored(*applied, typingRow, selected);
}

void EditingCommands::Redo() {
  if (c_.Basics.RefuseWhileWriting()) return;
  const int typingRow = c_.Basics.State.AtHand.TakesTyping() && c_.Memo.isEnabled() ? RowAtHand() : -1;
  const int selected = c_.List.selectedRow();
  if (std::optional<DocumentSplice> applied = c_.Basics.History.redo()) ShowRestored(*applied, typingRow, selected);
}

void EditingCommands::ShowRestored(const DocumentSplice& applied, int typingRow, int selected) {
  MainState& s = c_.Basics.State;
  const SubtitleDocument& doc = s.Document;
  const bool sameSubtitle = applied.RemovedCount == 1 && applied.Rows.size() == 1 && applied.First == typingRow &&
                            !s.IsPlaying;
  if (sameSubtitle) {
    // Typing, a drag or a style undone in the subtitle being typed: typing
    // goes on there, from its restored text, place and style. The list was
    // reset under its selection, which is put back.
    c_.List.selectRow(selected < doc.rowCount() ? selected : -1);
    const SubtitleEntry& entry = doc.entries()[static_cast<std::size_t>(typingRow)];
    s.Placement = entry.Place;
    s.Style = StyleOf(entry, s.Style);
    c_.Memo.setText(doc.row(typingRow).Subtitle);
    ShowTimesAtHand(s.AtHand, doc, c_.StartTime, c_.EndTime);
    c_.Preview.RefreshFrame();
    return;
  }
  // Rows came or went, or another subtitle changed: the row numbers the
  // subtitle at hand had may name other subtitles now, so the changed place
  // of the list is picked and shown instead.
  const int row = doc.rowCount() == 0 ? -1 : std::min(applied.First, doc.rowCount() - 1);
  c_.List.selectRow(row);
  c_.Memo.setEnabled(false);
  if (row < 0) {
    s.AtHand.Release();
    c_.Memo.setText("");
    s.SubtitleCursor = 0;
    ShowTimesAtHand(s.AtHand, doc, c_.StartTime, c_.EndTime);
    c_.Preview.RefreshFrame();
    return;
  }
  // Time stamps go to it too: the row they went to before may be another
  // subtitle now.
  s.AtHand.PickForStamps(row);
  // While playing, the picture is the video's: the row shows once it stops.
  if (!s.IsPlaying) ShowPickedRow(row);
}

}  // namespace orlisk
