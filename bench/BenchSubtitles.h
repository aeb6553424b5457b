#pragma once
// A long list for the benchmarks of the list's tools: `count` subtitles every
// 2 s from `firstBegin`, each shown 1.5 s, numbered in their text.
#include <string>
#include <vector>

#include "subtitles/SubtitleDocument.h"

namespace orlisk::bench {

inline void FillEvenList(SubtitleDocument& document, int count, SubtitleTime firstBegin, const std::string& textTail) {
  std::vector<SubtitleRow> rows;
  std::vector<SubtitleEntry> entries;
  for (int i = 0; i < count; ++i) {
    SubtitleEntry entry;
    entry.Text = "Subtitle line number " + std::to_string(i) + textTail;
    entry.BeginTime = firstBegin + i * 2000;
    entry.EndTime = entry.BeginTime + 1500;
    rows.push_back({TimeRangeText(entry.BeginTime, entry.EndTime), entry.Text});
    entries.push_back(entry);
  }
  document.replaceAll(std::move(rows), std::move(entries));
}

}  // namespace orlisk::bench
