// The subtitle list and its editing: inserting while watching, time stamps,
// selecting, editing, blank rows, removing, clearing, and the capture of the
// typed text into the subtitle being edited.
#include <algorithm>

#include "subtitles/SubtitleStyle.h"
#include "EditingCommands.h"
#include "PlaybackCommands.h"
#include "PreviewCommands.h"

namespace orlisk {

namespace {
constexpr const char* kEmptyRange = "00:00:00,000 --> 00:00:00,000";
}  // namespace

int EditingCommands::SelectedRowInRange() const {
  const SubtitleDocument& doc = c_.Basics.State.Document;
  int row = c_.List.selectedRow();
  if (row < 0 || row >= doc.rowCount() || row >= static_cast<int>(doc.entries().size())) return -1;
  return row;
}

namespace {
// Rows whose entry exists too: the entries can lag behind the rows.
int RowsWithEntries(const SubtitleDocument& doc) {
  return std::min(doc.rowCount(), static_cast<int>(doc.entries().size()));
}
}  // namespace

int EditingCommands::StampRow() const {
  const MainState& s = c_.Basics.State;
  return s.AtHand.StampRow(RowsWithEntries(s.Document), c_.List.selectedRow());
}

int EditingCommands::RowAtHand() const {
  const MainState& s = c_.Basics.State;
  return s.AtHand.Row(RowsWithEntries(s.Document));
}

void EditingCommands::InsertSubtitle() {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return;
  if (s.VideoPath.empty()) {
    c_.Basics.ShowInformation("SetSubEndtime", "please first add video file");
    return;
  }
  if (!s.EditMode) {
    c_.Basics.ShowInformation("insertsubtitle3", "please first unselect \"Subtitle Preview\" checkBox");
    return;
  }
  if (!s.IsPaused) c_.Playback.Pause();

  s.Document.appendRow(SubtitleRow{});
  s.Document.resizeEntries(s.Document.rowCount());
  // Opening a video empties the rows but not the entries, so the slot may
  // still hold an old subtitle: the new one starts from zero.
  s.Document.entries().back() = SubtitleEntry{};

  s.AtHand.StartNew(s.Document.rowCount() - 1);
  c_.Memo.setEnabled(true);
  c_.Memo.setText("");
  c_.Memo.setFocus();

  c_.Playback.TakeFrameAtPlaybar();
  c_.Preview.RefreshFrame();

  SetBeginTime();
  ShowTimesAtHand(s.AtHand, s.Document, c_.StartTime, c_.EndTime);
  s.SubtitleCursor = s.Document.rowCount();

  if (s.FirstInsertHint) {
    c_.Basics.ShowInformation("insertsubtitle",
                    "Insert subtitles when play is pause, complete one subtitle edit, please click the "
                    "play button, continue to play");
    c_.Basics.Settings.writeBool("Firstinsertsubtitle", "Bool", false);
    s.FirstInsertHint = false;
  }
}

void EditingCommands::SetBeginTime() {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return;
  const int target = StampRow();
  if (target < 0) return;
  SubtitleEntry& entry = s.Document.entries()[static_cast<std::size_t>(target)];
  entry.BeginTime = StampPlaytime(c_.StartTime);
  s.Document.setRowTime(target, TimeRangeText(entry.BeginTime, entry.EndTime));
}

void EditingCommands::SetEndTime() {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return;
  if (s.VideoPath.empty()) {
    c_.Basics.ShowInformation("SetSubEndtime", "please first add video file");
    return;
  }
  const int target = StampRow();
  if (target < 0) return;
  SubtitleEntry& entry = s.Document.entries()[static_cast<std::size_t>(target)];
  entry.EndTime = StampPlaytime(c_.EndTime);
  s.Document.setRowTime(target, TimeRangeText(entry.BeginTime, entry.EndTime));
  s.AtHand.FinishTyping();
}

void EditingCommands::SelectSubtitle() {
  MainState& s = c_.Basics.State;
  if (s.IsPlaying || s.IsWriting) return;
  const int row = SelectedRowInRange();
  if (row < 0) return;
  s.AtHand.Pick(row);
  ShowPickedRow(row);
}

void EditingCommands::ShowPickedRow(int row) {
  MainState& s = c_.Basics.State;
  s.SubtitleCursor = row;
  const SubtitleEntry entry = s.Document.entries()[static_cast<std::size_t>(row)];
  s.Placement = entry.Place;
  s.Style = StyleOf(entry, s.Style);

  // Rows can exist without a video (a blank row, a file read earlier): then
  // there is no picture to seek and no playbar to move.
  const bool haveVideo = !s.VideoPath.empty();
  if (haveVideo) {
    c_.Reader.SeekTo(entry.BeginTime);
    s.CurrentFrame = c_.Reader.ReadFrame();
  }
  c_.Memo.setEnabled(false);
  c_.Memo.setText(s.Document.row(row).Subtitle);  // redraws the picture
  if (haveVideo) {
    // A time read from a file can lie outside the video; the playbar cannot.
    s.PlaybarPosition = std::clamp(MulDiv(entry.BeginTime, 10000, c_.Reader.GetDuration()), 0, 10000);
    c_.Skin.setPlaybarPosition(s.PlaybarPosition);
  }
  ShowTimesAtHand(s.AtHand, s.Document, c_.StartTime, c_.EndTime);
  c_.Skin.setPlaytimeText(c_.StartTime.text());
}

void EditingCommands::EditSubtitle() {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return;
  int row = SelectedRowInRange();
  if (row < 0) return;
  if (!s.EditMode) {
    c_.Basics.ShowInformation("insertsubtitle3", "please first unselect \"Subtitle Preview\" checkBox");
    return;
  }
  if (s.IsPlaying || s.IsPaused) c_.Playback.StopPlayback();
  s.AtHand.TakeUp(row);
  ShowPickedRow(row);
  c_.Memo.setEnabled(true);
  c_.Memo.setFocus();
}

void EditingCommands::InsertBlankSubtitle() {
  MainState& s = c_.Basics.State;
  SubtitleDocument& doc = s.Document;
  if (c_.Basics.RefuseWhileWriting()) return;
  if (s.IsPlaying || s.IsPaused) c_.Playback.StopPlayback();

  int p = 0;
  if (doc.rowCount() == 0) {
    doc.appendRow(SubtitleRow{kEmptyRange, ""});
    doc.resizeEntries(1);
    doc.entries()[0] = SubtitleEntry{};
  } else {
    const int selected = SelectedRowInRange();
    p = selected >= 0 ? selected : doc.rowCount() - 1;
    // The place and style of the row the blank one goes before.
    if (selected >= 0) SelectSubtitle();
    // Rows p.. move down one place; the blank row p keeps a copy of the old
    // entry p (its times, place and style) until it is edited.
    doc.resizeEntries(doc.rowCount());
    auto& entries = doc.entries();
    SubtitleEntry copyOfP = entries[static_cast<std::size_t>(p)];
    entries.insert(entries.begin() + p, copyOfP);
    doc.insertRow(p, SubtitleRow{kEmptyRange, ""});
  }
  // The blank row is at hand for typing, with its own empty text: the text of
  // the row it displaced would otherwise be typed into it.
  c_.List.selectRow(p);
  s.AtHand.TakeUp(p);
  c_.Memo.setEnabled(true);
  c_.Memo.setText("");
  ShowTimesAtHand(s.AtHand, s.Document, c_.StartTime, c_.EndTime);
}

void EditingCommands::RemoveSubtitle() {
  MainState& s = c_.Basics.State;
  SubtitleDocument& doc = s.Document;
  if (c_.Basics.RefuseWhileWriting()) return;
  int r = SelectedRowInRange();
  if (r < 0) return;

  auto& entries = doc.entries();
  entries.erase(entries.begin() + r);
  doc.removeRow(r);
  doc.resizeEntries(doc.rowCount());

  if (doc.rowCount() > 0) {
    c_.List.selectRow(std::min(r, doc.rowCount() - 1));
    SelectSubtitle();
  } else {
    c_.List.selectRow(-1);
    ReleaseSubtitleAtHand();
  }
}

void EditingCommands::ClearSubtitles() {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return;
  s.Document.clearRows();
  c_.List.selectRow(-1);
  ReleaseSubtitleAtHand();
  s.Document.resizeEntries(0);
}

void EditingCommands::ReleaseSubtitleAtHand() {
  MainState& s = c_.Basics.State;
  s.AtHand.Release();
  c_.Memo.setText("");  // redraws the picture, now without a subtitle
  ShowTimesAtHand(s.AtHand, s.Document, c_.StartTime, c_.EndTime);
}

}  // namespace orlisk
