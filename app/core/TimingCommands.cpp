// The timing tools: nudges, still steps, stamps while playing, and the bulk
// re-timing of the list from the shift, sync and frame-rate dialogs.
#include "TimingCommands.h"

#include <algorithm>

#include "EditingCommands.h"
#include "PreviewCommands.h"

namespace orlisk {

namespace {

struct RefusalText {
  const char* Key;
  const char* English;
};

// One subtitle's times (a nudge) or a still step.
RefusalText SingleRefusal(RetimeRefusal refusal) {
  switch (refusal) {
    case RetimeRefusal::BeforeStart:
      return {"TimeBeforeStart", "The time would lie before 00:00:00,000; it was not changed."};
    case RetimeRefusal::PastVideoEnd:
      return {"TimePastVideoEnd", "The time would lie past the end of the video; it was not changed."};
    case RetimeRefusal::EndBeforeBegin:
      return {"TimeEndBeforeBegin", "The end time would lie before the begin time; it was not changed."};
    default: break;
  }
  return {"", ""};
}

// The whole list: the first subtitle that would break a rule is named.
RefusalText BulkRefusal(RetimeRefusal refusal) {
  switch (refusal) {
    case RetimeRefusal::BeforeStart:
      return {"RetimeBeforeStart", "Subtitle %1 would begin or end before 00:00:00,000; no time was changed."};
    case RetimeRefusal::PastVideoEnd:
      return {"RetimePastVideoEnd", "Subtitle %1 would begin or end past the end of the video; no time was changed."};
    case RetimeRefusal::SameTimeTwice:
      return {"SyncSameTimeTwice",
              "Two-point sync needs two subtitles that begin at different times, and two different right times; "
              "no time was changed."};
    case RetimeRefusal::WrongOrder:
      return {"SyncWrongOrder",
              "The right times run the other way than the two subtitles; no time was changed."};
    case RetimeRefusal::SameFrameRate:
      return {"SameFrameRate", "The two frame rates are the same; no time was changed."};
    default: break;
  }
  return SingleRefusal(refusal);
}

}  // namespace

int TimingCommands::TargetRow() const {
  const SubtitleDocument& doc = c_.Basics.State.Document;
  const int rows = std::min(doc.rowCount(), static_cast<int>(doc.entries().size()));
  const int atHand = c_.Basics.State.AtHand.Row(rows);
  if (atHand >= 0) return atHand;
  const int selected = c_.List.selectedRow();
  return selected >= 0 && selected < rows ? selected : -1;
}

int TimingCommands::TargetRowOrSay() const {
  const int row = TargetRow();
  if (row < 0) c_.Basics.ShowInformation("NoSubtitleAtHand", "Pick a subtitle in the list first.");
  return row;
}

bool TimingCommands::MayRetime() const { return !c_.Basics.RefuseWhileWriting(); }

bool TimingCommands::HaveVideoOrSay() const {
  if (!c_.Basics.State.VideoPath.empty()) return true;
  c_.Basics.ShowInformation("SetSubEndtime", "please first add video file");
  return false;
}

int TimingCommands::StampTarget() const {
  if (!MayRetime() || !HaveVideoOrSay()) return -1;
  return TargetRowOrSay();
}

SubtitleTime TimingCommands::VideoEnd() const {
  return c_.Basics.State.VideoPath.empty() ? 0 : c_.Reader.GetDuration();
}

FrameRate TimingCommands::Grid() const { return FrameRateOf(c_.Reader.GetFrameRate()); }

std::vector<SubtitleSpan> TimingCommands::Spans() const {
  const SubtitleDocument& doc = c_.Basics.State.Document;
  const auto rows = static_cast<std::size_t>(std::min(doc.rowCount(), static_cast<int>(doc.entries().size())));
  std::vector<SubtitleSpan> spans;
  spans.reserve(rows);
  for (std::size_t i = 0; i < rows; ++i) spans.push_back({doc.entries()[i].BeginTime, doc.entries()[i].EndTime});
  return spans;
}

void TimingCommands::ApplyTimes(const std::vector<SubtitleSpan>& times) {
  SubtitleDocument& doc = c_.Basics.State.Document;
  std::size_t first = times.size();
  std::size_t last = 0;
  for (std::size_t i = 0; i < times.size(); ++i) {
    SubtitleEntry& entry = doc.entries()[i];
    if (entry.BeginTime == times[i].Begin && entry.EndTime == times[i].End) continue;
    entry.BeginTime = times[i].Begin;
    entry.EndTime = times[i].End;
    first = std::min(first, i);
    last = i;
  }
  if (first > last) return;
  // One notice for the whole run: a list of 100,000 rows repaints once.
  std::vector<std::string> texts;
  texts.reserve(last - first + 1);
  for (std::size_t i = first; i <= last; ++i) {
    const SubtitleEntry& entry = doc.entries()[i];
    texts.push_back(TimeRangeText(entry.BeginTime, entry.EndTime));
  }
  doc.setRowTimes(static_cast<int>(first), std::move(texts));
  ShowTimesAtHand(c_.Basics.State.AtHand, doc, c_.StartTime, c_.EndTime);
}

void TimingCommands::SayRefused(RetimeRefusal refusal, int row) const {
  const RefusalText text = row >= 0 ? BulkRefusal(refusal) : SingleRefusal(refusal);
  std::string message = c_.Basics.Lang.MessageText(text.Key, text.English);
  if (const auto at = message.find("%1"); at != std::string::npos) message.replace(at, 2, std::to_string(row + 1));
  c_.Basics.Messages.information(message);
}

void TimingCommands::ShowStillAt(SubtitleTime ms) {
  MainState& s = c_.Basics.State;
  c_.Reader.SeekTo(ms);
  s.CurrentFrame = c_.Reader.ReadFrame();
  s.PlaybarPosition = std::clamp(MulDiv(ms, 10000, c_.Reader.GetDuration()), 0, 10000);
  c_.Skin.setPlaybarPosition(s.PlaybarPosition);
  c_.Skin.setPlaytimeText(FormatSubtitleTime(ms));
  c_.Preview.RefreshFrame();
}

void TimingCommands::NudgeTime(TimeEdge edge, NudgeStep step) {
  if (!MayRetime()) return;
  const int row = TargetRowOrSay();
  if (row < 0) return;
  std::vector<SubtitleSpan> times = Spans();
  const NudgeResult moved = Nudge(times[static_cast<std::size_t>(row)], edge, step, Grid(), VideoEnd());
  if (moved.Refusal != RetimeRefusal::None) {
    SayRefused(moved.Refusal, -1);
    return;
  }
  times[static_cast<std::size_t>(row)] = moved.Times;
  ApplyTimes(times);
  const MainState& s = c_.Basics.State;
  if (!s.VideoPath.empty() && !s.IsPlaying) ShowStillAt(edge == TimeEdge::Begin ? moved.Times.Begin : moved.Times.End);
}

void TimingCommands::StepFrames(int frames) { StepStill(frames, 0); }

void TimingCommands::StepSeconds(int seconds) { StepStill(0, seconds * 1000); }

void TimingCommands::StepStill(int frames, SubtitleTime deltaMs) {
  if (!MayRetime() || c_.Basics.State.IsPlaying || !HaveVideoOrSay()) return;
  // The still position is the play time the user sees, which F3 would stamp.
  const SubtitleTime now = ParseSubtitleTimeFields(c_.Skin.playtimeText()).value_or(0);
  const SubtitleTime videoEnd = c_.Reader.GetDuration();
  const StepResult step = frames != 0 ? orlisk::StepFrames(now, frames, Grid(), videoEnd)
                                      : StepMilliseconds(now, deltaMs, Grid(), videoEnd);
  if (step.Refusal != RetimeRefusal::None) {
    SayRefused(step.Refusal, -1);
    return;
  }
  ShowStillAt(step.Time);
}

void TimingCommands::StampBeginAtPlayTime() {
  const int row = StampTarget();
  if (row < 0) return;
  std::vector<SubtitleSpan> times = Spans();
  SubtitleSpan& span = times[static_cast<std::size_t>(row)];
  const SubtitleTime begin = c_.Editing.StampPlaytime(c_.StartTime);
  // Re-timing a list that runs late: the old end may lie before the new
  // begin. The subtitle keeps its length then, within the video.
  if (span.End > 0 && span.End < begin) {
    const SubtitleTime length = std::max(span.End - span.Begin, 0);
    span.End = static_cast<SubtitleTime>(std::min<std::int64_t>(std::int64_t{begin} + length, VideoEnd()));
  }
  span.Begin = begin;
  ApplyTimes(times);
}

void TimingCommands::StampEndAtPlayTime() {
  MainState& s = c_.Basics.State;
  const int row = StampTarget();
  if (row < 0) return;
  std::vector<SubtitleSpan> times = Spans();
  SubtitleSpan& span = times[static_cast<std::size_t>(row)];
  const SubtitleTime end = c_.Editing.StampPlaytime(c_.EndTime);
  if (end < span.Begin) {
    SayRefused(RetimeRefusal::EndBeforeBegin, -1);
    ShowTimesAtHand(s.AtHand, s.Document, c_.StartTime, c_.EndTime);
    return;
  }
  span.End = end;
  ApplyTimes(times);
  s.AtHand.FinishTyping();
  PickNextForStamps(row);
}

void TimingCommands::PickNextForStamps(int row) {
  MainState& s = c_.Basics.State;
  const int next = row + 1;
  if (next >= static_cast<int>(Spans().size())) return;
  const SubtitleEntry& entry = s.Document.entries()[static_cast<std::size_t>(next)];
  s.AtHand.PickForStamps(next);
  s.SubtitleCursor = next;
  // Its own place and style first, so a redraw after a pause captures
  // nothing of the subtitle before it.
  s.Placement = entry.Place;
  s.Style = StyleOf(entry, s.Style);
  c_.List.selectRow(next);
  c_.Memo.setEnabled(false);
  c_.Memo.setText(s.Document.row(next).Subtitle);
  ShowTimesAtHand(s.AtHand, s.Document, c_.StartTime, c_.EndTime);
}

bool TimingCommands::ShiftTimes(SubtitleTime deltaMs, ShiftScope scope) {
  if (!MayRetime()) return false;
  int first = 0;
  if (scope == ShiftScope::FromSubtitleAtHand && (first = TargetRowOrSay()) < 0) return false;
  return Apply(orlisk::ShiftTimes(Spans(), first, deltaMs, VideoEnd()));
}

bool TimingCommands::SyncTwoPoints(SyncPoint first, SyncPoint second) {
  if (!MayRetime()) return false;
  return Apply(orlisk::SyncTwoPoints(Spans(), first, second, VideoEnd()));
}

bool TimingCommands::ConvertFrameRate(FrameRate from, FrameRate to) {
  if (!MayRetime()) return false;
  return Apply(orlisk::ConvertFrameRate(Spans(), from, to, VideoEnd()));
}

bool TimingCommands::Apply(const RetimeResult& result) {
  if (result.Refusal != RetimeRefusal::None) {
    SayRefused(result.Refusal, std::max(result.Row, 0));
    return false;
  }
  ApplyTimes(result.Times);
  return true;
}

}  // namespace orlisk
