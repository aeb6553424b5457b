#pragma once
// The subtitle document: the rows the list shows and saves ("Time" and
// "Subtitle" texts; the "No" column is always the 1-based row index) and the
// entries the renderers draw. Row i and entry i are the same subtitle; the row
// count is the document's size. The entry array can be longer than the rows for
// a while (opening a video empties the rows only).
#include <string>
#include <vector>

#include "SubtitleEntry.h"

namespace orlisk {

struct SubtitleRow {
  std::string Time;      // normally TimeRangeText(begin, end); as read for rows from a file
  std::string Subtitle;  // whole text, UTF-8, lines separated by "\r\n"

  bool operator==(const SubtitleRow&) const = default;
};

class SubtitleDocument {
 public:
  // Told of every change of the rows, so a list widget can follow.
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void rowsReset() = 0;
    virtual void rowsInserted(int first, int count) = 0;
    virtual void rowsRemoved(int first, int count) = 0;
    virtual void rowChanged(int row) = 0;
    // Rows first..first+count-1 changed at once (a shift of the whole list).
    virtual void rowsChanged(int first, int count) {
      for (int row = first; row < first + count; ++row) rowChanged(row);
    }
  };

  void setListener(Listener* listener) { listener_ = listener; }

  int rowCount() const { return static_cast<int>(rows_.size()); }
  const SubtitleRow& row(int i) const { return rows_.at(static_cast<std::size_t>(i)); }
  const std::vector<SubtitleRow>& rows() const { return rows_; }

  void appendRow(SubtitleRow row);
  void insertRow(int position, SubtitleRow row);
  void removeRow(int position);
  void clearRows();
  void setRowTime(int i, std::string time);
  void setRowSubtitle(int i, std::string subtitle);
  // The "Time" texts of rows first.. first + times.size() - 1, told as one change.
  void setRowTimes(int first, std::vector<std::string> times);

  // `Subtitles`: entry i belongs to row i.
  std::vector<SubtitleEntry>& entries() { return entries_; }
  const std::vector<SubtitleEntry>& entries() const { return entries_; }
  // Sets the entry count; new entries are all zero.
  void resizeEntries(int count) { entries_.resize(static_cast<std::size_t>(count)); }

  // Replaces rows and entries at once (a file that was read whole).
  void replaceAll(std::vector<SubtitleRow> rows, std::vector<SubtitleEntry> entries);

  // Remembers the subtitles as they are now: just saved, or just read.
  void markSaved();
  // Whether closing now would lose work: the rows, or the entries that belong
  // to them, differ from what was last saved or read (an empty document
  // counts as saved until it holds rows). The tag an entry carries is
  // bookkeeping of the editor, not the user's work, and is not compared.
  bool hasUnsavedChanges() const;

 private:
  std::vector<SubtitleRow> rows_;
  std::vector<SubtitleEntry> entries_;
  std::vector<SubtitleRow> savedRows_;
  std::vector<SubtitleEntry> savedEntries_;
  Listener* listener_ = nullptr;
};

}  // namespace orlisk
