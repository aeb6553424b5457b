#include "SubtitleAtHand.h"

#include <algorithm>
#include <utility>

#include "subtitles/TextEncoding.h"

namespace orlisk {

namespace {

// What the renderers draw of an entry besides its text. The font reference
// and the tag are not compared: the renderers never read them.
bool SameLook(const SubtitleEntry& a, const SubtitleEntry& b) {
  return a.Place == b.Place && StyleOf(a, {}) == StyleOf(b, {});
}

}  // namespace

void SubtitleAtHand::Take(Kind kind, int row) {
  kind_ = kind;
  row_ = row;
  finished_ = false;
  typing_ = false;
  status_.clear();
}

void SubtitleAtHand::Release() { Take(Kind::Nothing, -1); }

void SubtitleAtHand::ShowStatus(std::string status) {
  Release();
  status_ = std::move(status);
}

void SubtitleAtHand::StartNew(int row) { Take(Kind::NewSubtitle, row); }

void SubtitleAtHand::FinishTyping() {
  if (kind_ == Kind::NewSubtitle) finished_ = true;
}

void SubtitleAtHand::Pick(int row) { Take(Kind::ExistingRow, row); }

void SubtitleAtHand::PickForStamps(int row) {
  Pick(row);
  editIndex_ = row;
}

void SubtitleAtHand::TakeUp(int row) {
  PickForStamps(row);
  typing_ = true;
}

int SubtitleAtHand::Row(int rowCount) const {
  if (kind_ == Kind::Nothing || row_ < 0 || row_ >= rowCount) return -1;
  return row_;
}

bool SubtitleAtHand::TakesTyping() const {
  return (kind_ == Kind::NewSubtitle && !finished_) || (kind_ == Kind::ExistingRow && typing_);
}

int SubtitleAtHand::StampRow(int rowCount, int selectedRow) const {
  if (kind_ == Kind::NewSubtitle) return Row(rowCount);
  // A removal or a clear may have left EditIndex behind the end of the list.
  if (selectedRow < 0 || editIndex_ < 0 || editIndex_ >= rowCount) return -1;
  return editIndex_;
}

void SubtitleAtHand::Capture(SubtitleDocument& document, const WindowSubtitle& shown) {
  SubtitleEntry& buffer = entryBuffer_;
  buffer.Place = shown.Place;
  buffer.Text = CutUtf8(shown.Text, kMaxEntryTextBytes);
  buffer.Tag = shown.Cursor;
  TakeColours(buffer, shown.Style);
  buffer.Font = FontId(shown.Style.Font);

  const int row = Row(document.rowCount());
  if (row < 0 || row >= static_cast<int>(document.entries().size())) return;
  SubtitleEntry& entry = document.entries()[static_cast<std::size_t>(row)];
  if (TakesTyping()) {
    if (!shown.MemoEnabled) return;
    if (document.row(row).Subtitle == shown.Text && entry.Text == buffer.Text && SameLook(entry, buffer)) return;
    document.setRowSubtitle(row, shown.Text);
    buffer.BeginTime = entry.BeginTime;
    buffer.EndTime = entry.EndTime;
    entry = buffer;
    return;
  }
  // A picked row, or a new subtitle already finished: its text stays, but a
  // drag or a style chosen while it is shown is its own.
  if (SameLook(entry, buffer)) return;
  entry.Place = buffer.Place;
  TakeColours(entry, shown.Style);
}

void ShowTimesAtHand(const SubtitleAtHand& atHand, const SubtitleDocument& document, TimeEdit& begin, TimeEdit& end) {
  const int row = atHand.Row(std::min<int>(document.rowCount(), static_cast<int>(document.entries().size())));
  const SubtitleEntry shown = row >= 0 ? document.entries()[static_cast<std::size_t>(row)] : SubtitleEntry{};
  begin.setText(FormatSubtitleTime(shown.BeginTime));
  end.setText(FormatSubtitleTime(shown.EndTime));
}

}  // namespace orlisk
