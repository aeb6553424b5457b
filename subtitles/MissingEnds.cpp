#include "MissingEnds.h"

#include <algorithm>
#include <cstdint>

#include "SubtitleTime.h"

namespace orlisk {

namespace {

bool LacksEnd(const SubtitleEntry& entry) {
  return (entry.EndTime == 0 && entry.BeginTime > 0) || entry.EndTime < entry.BeginTime;
}

// Counts only the entries that belong to rows: the array can be longer.
std::size_t TimedCount(const SubtitleDocument& document) {
  return std::min(static_cast<std::size_t>(document.rowCount()), document.entries().size());
}

}  // namespace

std::vector<int> RowsWithoutEnd(const SubtitleDocument& document) {
  std::vector<int> rows;
  for (std::size_t i = 0; i < TimedCount(document); ++i) {
    if (LacksEnd(document.entries()[i])) rows.push_back(static_cast<int>(i));
  }
  return rows;
}

void GiveEnds(SubtitleDocument& document, const std::vector<int>& rows) {
  std::vector<SubtitleEntry>& entries = document.entries();
  const std::size_t count = TimedCount(document);
  // Every end comes from the begins as they were; giving one an end moves no begin.
  for (int row : rows) {
    SubtitleEntry& entry = entries.at(static_cast<std::size_t>(row));
    // 64 bits: a begin read from a file can lie near the largest time.
    std::int64_t end = static_cast<std::int64_t>(entry.BeginTime) + kGivenEndDuration;
    for (std::size_t other = 0; other < count; ++other) {
      const SubtitleTime begin = entries[other].BeginTime;
      if (begin > entry.BeginTime) end = std::min<std::int64_t>(end, begin);
    }
    entry.EndTime = static_cast<SubtitleTime>(std::min<std::int64_t>(end, INT32_MAX));
    document.setRowTime(row, TimeRangeText(entry.BeginTime, entry.EndTime));
  }
}

}  // namespace orlisk
