#include "subtitles/Retiming.h"

#include <cmath>
#include <limits>

namespace orlisk {
namespace {

// num / den rounded to the nearest integer, halves away from zero; den > 0.
std::int64_t RoundedDiv(std::int64_t num, std::int64_t den) {
  return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
}

// floor(num / den) for den > 0.
std::int64_t FloorDiv(std::int64_t num, std::int64_t den) {
  const std::int64_t q = num / den;
  return (num % den != 0 && num < 0) ? q - 1 : q;
}

// A time that fits neither 0 nor the video: which bound it crossed.
RetimeRefusal OutOfBounds(std::int64_t time, SubtitleTime videoEnd) {
  if (time < 0) return RetimeRefusal::BeforeStart;
  const std::int64_t limit = videoEnd > 0 ? videoEnd : std::numeric_limits<SubtitleTime>::max();
  if (time > limit) return RetimeRefusal::PastVideoEnd;
  return RetimeRefusal::None;
}

bool IsBlank(const SubtitleSpan& span) { return span.Begin == 0 && span.End == 0; }

// Maps the times of spans[first..] by `map`, checking each against the video.
template <typename Map>
RetimeResult MapTimes(const std::vector<SubtitleSpan>& spans, int first, SubtitleTime videoEnd, Map map) {
  RetimeResult result;
  result.Times = spans;
  for (std::size_t i = static_cast<std::size_t>(std::max(first, 0)); i < spans.size(); ++i) {
    const SubtitleSpan& old = spans[i];
    if (IsBlank(old)) continue;
    const std::int64_t begin = map(old.Begin);
    const std::int64_t end = old.End == 0 ? 0 : map(old.End);
    RetimeRefusal refusal = OutOfBounds(begin, videoEnd);
    if (refusal == RetimeRefusal::None) refusal = OutOfBounds(end, videoEnd);
    if (refusal != RetimeRefusal::None) return {.Refusal = refusal, .Row = static_cast<int>(i), .Times = {}};
    result.Times[i] = {static_cast<SubtitleTime>(begin), static_cast<SubtitleTime>(end)};
  }
  return result;
}

RetimeResult Refused(RetimeRefusal why, int row = -1) { return {.Refusal = why, .Row = row, .Times = {}}; }

}  // namespace

FrameRate FrameRateOf(double framesPerSecond) {
  if (!(framesPerSecond > 0.0) || !std::isfinite(framesPerSecond)) return {};
  // 23.976, 29.97, 47.952, 59.94, 119.88: whole rates slowed by 1000/1001.
  const double ntscBase = framesPerSecond * 1001.0 / 1000.0;
  const bool whole = std::abs(framesPerSecond - std::round(framesPerSecond)) <= 0.01;
  if (!whole && std::abs(ntscBase - std::round(ntscBase)) < 0.005)
    return {static_cast<std::int64_t>(std::llround(ntscBase)) * 1000, 1001};
  return {std::llround(framesPerSecond * 1000.0), 1000};
}

std::int64_t FrameAt(SubtitleTime ms, FrameRate rate) { return FloorDiv(std::int64_t{ms} * rate.Num, 1000 * rate.Den); }

std::int64_t FrameStart(std::int64_t frame, FrameRate rate) {
  // ceil(frame * 1000 * Den / Num): the first millisecond at which it shows.
  return -FloorDiv(-frame * 1000 * rate.Den, rate.Num);
}

NudgeResult Nudge(SubtitleSpan span, TimeEdge edge, NudgeStep step, FrameRate rate, SubtitleTime videoEnd) {
  const SubtitleTime old = edge == TimeEdge::Begin ? span.Begin : span.End;
  std::int64_t moved = old;
  switch (step) {
    case NudgeStep::FrameEarlier: moved = FrameStart(FrameAt(old, rate) - 1, rate); break;
    case NudgeStep::FrameLater: moved = FrameStart(FrameAt(old, rate) + 1, rate); break;
    case NudgeStep::Earlier100: moved = std::int64_t{old} - 100; break;
    case NudgeStep::Later100: moved = std::int64_t{old} + 100; break;
  }
  if (const RetimeRefusal refusal = OutOfBounds(moved, videoEnd); refusal != RetimeRefusal::None)
    return {.Refusal = refusal, .Times = span};
  SubtitleSpan after = span;
  (edge == TimeEdge::Begin ? after.Begin : after.End) = static_cast<SubtitleTime>(moved);
  // An end of 0 on a subtitle whose begin is later is one not stamped yet.
  const bool endStamped = edge == TimeEdge::End || span.End > 0;
  if (endStamped && after.End < after.Begin) return {.Refusal = RetimeRefusal::EndBeforeBegin, .Times = span};
  return {.Refusal = RetimeRefusal::None, .Times = after};
}

namespace {
StepResult StepTo(std::int64_t frame, FrameRate rate, SubtitleTime videoEnd) {
  const std::int64_t time = FrameStart(frame, rate);
  if (time < 0) return {.Refusal = RetimeRefusal::BeforeStart, .Time = 0};
  if (videoEnd > 0 && time >= videoEnd) return {.Refusal = RetimeRefusal::PastVideoEnd, .Time = 0};
  return {.Refusal = RetimeRefusal::None, .Time = static_cast<SubtitleTime>(time)};
}
}  // namespace

StepResult StepFrames(SubtitleTime ms, int frames, FrameRate rate, SubtitleTime videoEnd) {
  return StepTo(FrameAt(ms, rate) + frames, rate, videoEnd);
}

StepResult StepMilliseconds(SubtitleTime ms, SubtitleTime deltaMs, FrameRate rate, SubtitleTime videoEnd) {
  const std::int64_t target = std::int64_t{ms} + deltaMs;
  if (target < 0) return {.Refusal = RetimeRefusal::BeforeStart, .Time = 0};
  if (target > std::numeric_limits<SubtitleTime>::max()) return {.Refusal = RetimeRefusal::PastVideoEnd, .Time = 0};
  return StepTo(FrameAt(static_cast<SubtitleTime>(target), rate), rate, videoEnd);
}

RetimeResult ShiftTimes(const std::vector<SubtitleSpan>& spans, int first, SubtitleTime deltaMs,
                        SubtitleTime videoEnd) {
  return MapTimes(spans, first, videoEnd, [deltaMs](SubtitleTime t) { return std::int64_t{t} + deltaMs; });
}

RetimeResult SyncTwoPoints(const std::vector<SubtitleSpan>& spans, SyncPoint a, SyncPoint b, SubtitleTime videoEnd) {
  const int count = static_cast<int>(spans.size());
  if (a.Row < 0 || a.Row >= count) return Refused(RetimeRefusal::SameTimeTwice, a.Row);
  if (b.Row < 0 || b.Row >= count) return Refused(RetimeRefusal::SameTimeTwice, b.Row);
  const std::int64_t fromA = spans[static_cast<std::size_t>(a.Row)].Begin;
  const std::int64_t fromB = spans[static_cast<std::size_t>(b.Row)].Begin;
  const std::int64_t toA = a.RightTime;
  const std::int64_t toB = b.RightTime;
  if (fromA == fromB || toA == toB) return Refused(RetimeRefusal::SameTimeTwice);
  // A line falling the other way would turn the list around.
  if ((fromB > fromA) != (toB > toA)) return Refused(RetimeRefusal::WrongOrder);
  for (const std::int64_t right : {toA, toB}) {
    if (const RetimeRefusal refusal = OutOfBounds(right, videoEnd); refusal != RetimeRefusal::None)
      return Refused(refusal, right == toA ? a.Row : b.Row);
  }
  // Both differences fit 32 bits, so their product fits 64.
  return MapTimes(spans, 0, videoEnd, [=](SubtitleTime t) {
    std::int64_t num = (std::int64_t{t} - fromA) * (toB - toA);
    std::int64_t den = fromB - fromA;
    if (den < 0) {
      num = -num;
      den = -den;
    }
    return toA + RoundedDiv(num, den);
  });
}

RetimeResult ConvertFrameRate(const std::vector<SubtitleSpan>& spans, FrameRate from, FrameRate to,
                              SubtitleTime videoEnd) {
  if (from.Num * to.Den == to.Num * from.Den) return Refused(RetimeRefusal::SameFrameRate);
  // A frame at from-rate time t is the same frame at t * from / to.
  const std::int64_t num = from.Num * to.Den;
  const std::int64_t den = from.Den * to.Num;
  return MapTimes(spans, 0, videoEnd, [=](SubtitleTime t) { return RoundedDiv(std::int64_t{t} * num, den); });
}

}  // namespace orlisk
