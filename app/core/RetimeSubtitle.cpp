// A subtitle's begin and end set at once, as the timing strip's edge drag
// asks: one change of the list, so one undo step.
#include "EditingCommands.h"

namespace orlisk {

bool EditingCommands::RetimeSubtitle(int row, SubtitleTime begin, SubtitleTime end) {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return false;
  SubtitleDocument& doc = s.Document;
  if (row < 0 || row >= doc.rowCount() || row >= static_cast<int>(doc.entries().size())) return false;
  if (begin < 0) {
    c_.Basics.ShowInformation("TimeBeforeStart", "The time would lie before 00:00:00,000; it was not changed.");
    return false;
  }
  if (end < begin) {
    c_.Basics.ShowInformation("TypedEndBeforeBegin",
                              "The end time lies before the begin time; the time was not changed.");
    return false;
  }
  const SubtitleTime duration = s.VideoPath.empty() ? 0 : c_.Reader.GetDuration();
  if (duration > 0 && end > duration) {
    c_.Basics.ShowInformation("TypedTimePastVideo",
                              "The time lies beyond the end of the video; the time was not changed.");
    return false;
  }
  SubtitleEntry& entry = doc.entries()[static_cast<std::size_t>(row)];
  entry.BeginTime = begin;
  entry.EndTime = end;
  doc.setRowTime(row, TimeRangeText(begin, end));
  // The boxes show the subtitle at hand's times, whichever road changed them.
  ShowTimesAtHand(s.AtHand, doc, c_.StartTime, c_.EndTime);
  return true;
}

}  // namespace orlisk
