#include "subtitles/SubtitleDocument.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace orlisk {
namespace {

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

void SubtitleDocument::replaceAll(std::vector<SubtitleRow> rows, std::vector<SubtitleEntry> entries) {
  rows_ = std::move(rows);
  entries_ = std::move(entries);
  if (listener_) listener_->rowsReset();
}

}  // namespace orlisk
