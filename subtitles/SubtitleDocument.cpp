#include "subtitles/SubtitleDocument.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace orlisk {
namespace {

// The entries that belong to rows, which are what a save writes.
std::vector<SubtitleEntry> EntriesOfRows(const std::vector<SubtitleEntry>& entries, std::size_t rows) {
  return {entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(std::min(rows, entries.size()))};
}

bool SameWork(const SubtitleEntry& a, const SubtitleEntry& b) {
  SubtitleEntry untaggedA = a;
  untaggedA.Tag = b.Tag;
  return untaggedA == b;
}

void CheckIndex(int index, int limit, const char* what) {
  if (index < 0 || index > limit) {
    throw std::out_of_range(std::string(what) + ": row " + std::to_string(index) +
                            " is outside the subtitle list");
  }
}

}  // namespace

void SubtitleDocument::appendRow(SubtitleRow row) {
  rows_.push_back(std::move(row));
  if (listener_) listener_->rowsInserted(rowCount() - 1, 1);
}

void SubtitleDocument::insertRow(int position, SubtitleRow row) {
  CheckIndex(position, rowCount(), "insertRow");
  rows_.insert(rows_.begin() + position, std::move(row));
  if (listener_) listener_->rowsInserted(position, 1);
}

void SubtitleDocument::removeRow(int position) {
  CheckIndex(position, rowCount() - 1, "removeRow");
  rows_.erase(rows_.begin() + position);
  if (listener_) listener_->rowsRemoved(position, 1);
}

void SubtitleDocument::clearRows() {
  rows_.clear();
  if (listener_) listener_->rowsReset();
}

void SubtitleDocument::setRowTime(int i, std::string time) {
  CheckIndex(i, rowCount() - 1, "setRowTime");
  rows_[static_cast<std::size_t>(i)].Time = std::move(time);
  if (listener_) listener_->rowChanged(i);
}

void SubtitleDocument::setRowSubtitle(int i, std::string subtitle) {
  CheckIndex(i, rowCount() - 1, "setRowSubtitle");
  rows_[static_cast<std::size_t>(i)].Subtitle = std::move(subtitle);
  if (listener_) listener_->rowChanged(i);
}

void SubtitleDocument::setRowTimes(int first, std::vector<std::string> times) {
  const int count = static_cast<int>(times.size());
  if (count == 0) return;
  CheckIndex(first, rowCount() - count, "setRowTimes");
  for (int i = 0; i < count; ++i) rows_[static_cast<std::size_t>(first + i)].Time = std::move(times[static_cast<std::size_t>(i)]);
  if (listener_) listener_->rowsChanged(first, count);
}

void SubtitleDocument::replaceAll(std::vector<SubtitleRow> rows, std::vector<SubtitleEntry> entries) {
  rows_ = std::move(rows);
  entries_ = std::move(entries);
  if (listener_) listener_->rowsReset();
}

void SubtitleDocument::markSaved() {
  savedRows_ = rows_;
  savedEntries_ = EntriesOfRows(entries_, rows_.size());
}

bool SubtitleDocument::hasUnsavedChanges() const {
  if (rows_ != savedRows_) return true;
  const std::vector<SubtitleEntry> current = EntriesOfRows(entries_, rows_.size());
  return !std::equal(current.begin(), current.end(), savedEntries_.begin(), savedEntries_.end(), SameWork);
}

}  // namespace orlisk
