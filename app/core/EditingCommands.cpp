// The subtitle list and its editing: inserting while watching, time stamps,
// selecting, editing, blank rows, removing, clearing, and the capture of the
// typed text into the subtitle being edited.
#include <algorithm>

#include "subtitles/SubtitleStyle.h"
#include "EditingCommands.h"
#include "PlaybackCommands.h"
#include "PreviewCommands.h"
#include "subtitles/TextEncoding.h"

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

int EditingCommands::EditTargetRow() const {
  const MainState& s = c_.Basics.State;
  const SubtitleDocument& doc = s.Document;
  int row = -1;
  if (s.EditingNewEntry) {
    row = doc.rowCount() - 1;
  } else if (c_.List.selectedRow() >= 0) {
    // The selected row only has to exist; typing goes to EditIndex, which a
    // removal or a clear may have left behind the end of the list.
    row = s.EditIndex;
  }
  if (row < 0 || row >= doc.rowCount() || row >= static_cast<int>(doc.entries().size())) return -1;
  return row;
}

void EditingCommands::CaptureEdit() {
  MainState& s = c_.Basics.State;
  std::string typed = c_.Memo.text();
  SubtitleEntry& buffer = s.EntryBuffer;
  buffer.Place = s.Placement;
  buffer.Text = CutUtf8(typed, kMaxEntryTextBytes);
  buffer.Tag = s.SubtitleCursor;
  buffer.TextColor = s.Style.TextColor;
  buffer.BorderColor = s.Style.BorderColor;
  buffer.Font = FontId(s.Style.Font);
  buffer.Border = s.Style.BorderEnabled;

  if (s.SuppressEditCapture || s.MemoEmptiedByPause || s.TypingFinished || !c_.Memo.isEnabled()) return;
  int target = EditTargetRow();
  if (target < 0) return;
  s.Document.setRowSubtitle(target, typed);
  SubtitleEntry& entry = s.Document.entries()[static_cast<std::size_t>(target)];
  buffer.BeginTime = entry.BeginTime;
  buffer.EndTime = entry.EndTime;
  entry = buffer;
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

  s.EditingNewEntry = true;
  s.TypingFinished = false;
  c_.Memo.setEnabled(true);
  c_.Memo.setText("");
  c_.Memo.setFocus();

  c_.Playback.TakeFrameAtPlaybar();
  s.SuppressEditCapture = true;
  c_.Preview.RefreshFrame();
  s.SuppressEditCapture = false;

  SetBeginTime();
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
  int target = EditTargetRow();
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
  int target = EditTargetRow();
  if (target < 0) return;
  SubtitleEntry& entry = s.Document.entries()[static_cast<std::size_t>(target)];
  entry.EndTime = StampPlaytime(c_.EndTime);
  s.Document.setRowTime(target, TimeRangeText(entry.BeginTime, entry.EndTime));
  s.TypingFinished = true;
}

void EditingCommands::SelectSubtitle() {
  MainState& s = c_.Basics.State;
  if (s.IsPlaying || s.IsWriting) return;
  int row = SelectedRowInRange();
  if (row < 0) return;

  s.SuppressEditCapture = true;
  s.EditingNewEntry = false;
  s.TypingFinished = false;
  s.SubtitleCursor = row;
  const SubtitleEntry entry = s.Document.entries()[static_cast<std::size_t>(row)];

  // Rows can exist without a video (a blank row, a file read earlier): then
  // there is no picture to seek and no playbar to move.
  bool haveVideo = !s.VideoPath.empty();
  if (haveVideo) {
    c_.Reader.SeekTo(entry.BeginTime);
    s.CurrentFrame = c_.Reader.ReadFrame();
  }
  c_.Memo.setEnabled(false);
  c_.Memo.setText(s.Document.row(row).Subtitle);  // redraws, still in the old style
  if (haveVideo) {
    // A time read from a file can lie outside the video; the playbar cannot.
    s.PlaybarPosition = std::clamp(MulDiv(entry.BeginTime, 10000, c_.Reader.GetDuration()), 0, 10000);
    c_.Skin.setPlaybarPosition(s.PlaybarPosition);
  }
  c_.StartTime.setText(FormatSubtitleTime(entry.BeginTime));
  c_.EndTime.setText(FormatSubtitleTime(entry.EndTime));
  c_.Skin.setPlaytimeText(c_.StartTime.text());
  s.SuppressEditCapture = false;

  s.Placement = entry.Place;
  s.Style.TextColor = entry.TextColor;
  s.Style.BorderColor = entry.BorderColor;
  s.Style.BorderEnabled = entry.Border;
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
  SelectSubtitle();
  s.EditingNewEntry = false;
  c_.Memo.setEnabled(true);
  c_.Memo.setFocus();
  s.EditIndex = row;
}

void EditingCommands::InsertBlankSubtitle() {
  MainState& s = c_.Basics.State;
  SubtitleDocument& doc = s.Document;
  if (c_.Basics.RefuseWhileWriting()) return;
  if (s.IsPlaying || s.IsPaused) c_.Playback.StopPlayback();

  s.TypingFinished = false;
  if (doc.rowCount() == 0) {
    doc.appendRow(SubtitleRow{kEmptyRange, ""});
    doc.resizeEntries(1);
    doc.entries()[0] = SubtitleEntry{};
    c_.Memo.setEnabled(true);
    return;
  }

  SelectSubtitle();
  s.EditingNewEntry = false;
  int selected = SelectedRowInRange();
  int p = selected >= 0 ? selected : doc.rowCount() - 1;
  s.EditIndex = p;

  // Rows p.. move down one place; the blank row p keeps a copy of the old
  // entry p until it is edited.
  doc.resizeEntries(doc.rowCount());
  auto& entries = doc.entries();
  SubtitleEntry copyOfP = entries[static_cast<std::size_t>(p)];
  entries.insert(entries.begin() + p, copyOfP);
  doc.insertRow(p, SubtitleRow{kEmptyRange, ""});
  if (selected >= 0) c_.List.selectRow(p);

  c_.Memo.setEnabled(true);
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
    c_.Memo.setText("");
    c_.Preview.RefreshFrame();
  }
}

void EditingCommands::ClearSubtitles() {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return;
  c_.Memo.setText("");
  s.Document.clearRows();
  c_.List.selectRow(-1);
  c_.Preview.RefreshFrame();
  s.Document.resizeEntries(0);
}

}  // namespace orlisk
