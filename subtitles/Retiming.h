#pragma once
// The arithmetic of moving subtitle times: one time nudged by a frame or by
// 100 ms, the still picture stepped along the frame grid, and whole lists
// shifted, synced on two points or converted to another frame rate.
//
// Every function checks its whole result before it hands anything back, so a
// caller that keeps the list as it was on a refusal changes nothing at all.
// Times are milliseconds; intermediate products are 64-bit and results are
// rounded to the nearest millisecond, halves away from zero.
#include <cstdint>
#include <vector>

#include "SubtitleTime.h"

namespace orlisk {

// A frame rate as an exact fraction: 23.976 is 24000/1001, so that frame
// boundaries far into a film stay where the decoder puts them.
struct FrameRate {
  std::int64_t Num = 25;
  std::int64_t Den = 1;
  bool operator==(const FrameRate&) const = default;
};

// The fraction a reported rate stands for: the NTSC rates (23.976, 29.97,
// 59.94, ...) as n*1000/1001, any other rate to a thousandth of a frame. A
// rate that is not positive counts as 25.
FrameRate FrameRateOf(double framesPerSecond);

// The frame shown at `ms`: frame n is shown from n * Den * 1000 / Num ms on.
std::int64_t FrameAt(SubtitleTime ms, FrameRate rate);
// The first whole millisecond of frame `frame` (so FrameAt gives `frame` back).
std::int64_t FrameStart(std::int64_t frame, FrameRate rate);

// The begin and end of one subtitle. An end of 0 is one not stamped yet;
// a subtitle with neither time (a blank row) has no times to move.
struct SubtitleSpan {
  SubtitleTime Begin = 0;
  SubtitleTime End = 0;
  bool operator==(const SubtitleSpan&) const = default;
};

enum class RetimeRefusal {
  None,
  BeforeStart,     // a time would lie before 00:00:00,000
  PastVideoEnd,    // a time would lie past the video's end
  EndBeforeBegin,  // an end would lie before its begin
  SameTimeTwice,   // two-point sync: both points at one time, or both subtitles at one time
  WrongOrder,      // two-point sync: the right times run the other way than the subtitles
  SameFrameRate,   // a conversion from a rate to itself
};

// Which time of a subtitle a nudge moves, and how far.
enum class TimeEdge { Begin, End };
enum class NudgeStep { FrameEarlier, FrameLater, Earlier100, Later100 };

struct NudgeResult {
  RetimeRefusal Refusal = RetimeRefusal::None;
  SubtitleSpan Times;  // the subtitle's times after the nudge
};

// Moves one time of `span`: by one frame along the grid of `rate` (from the
// frame it is shown in to the first millisecond of the next or previous
// frame) or by 100 ms. `videoEnd` 0 means no video bounds it. A begin may
// pass an end not stamped yet (0); any other end before its begin is refused.
NudgeResult Nudge(SubtitleSpan span, TimeEdge edge, NudgeStep step, FrameRate rate, SubtitleTime videoEnd);

// Where the still picture goes from `ms`: `frames` frames along the grid, or
// `ms + deltaMs` snapped to the start of its frame. Refused below 0, and at or
// past `videoEnd`, where there is no picture.
struct StepResult {
  RetimeRefusal Refusal = RetimeRefusal::None;
  SubtitleTime Time = 0;
};
StepResult StepFrames(SubtitleTime ms, int frames, FrameRate rate, SubtitleTime videoEnd);
StepResult StepMilliseconds(SubtitleTime ms, SubtitleTime deltaMs, FrameRate rate, SubtitleTime videoEnd);

struct RetimeResult {
  RetimeRefusal Refusal = RetimeRefusal::None;
  int Row = -1;                // the first subtitle that would break a rule
  std::vector<SubtitleSpan> Times;  // every span, the moved ones changed; empty on a refusal
};

// The bulk tools map every time of the subtitles from row `first` on (the
// others stay); blank rows keep their zeros and an end not stamped stays 0.
// Each map keeps the order of times, so only the video's bounds can refuse.

// Every time later by `deltaMs` (earlier when negative).
RetimeResult ShiftTimes(const std::vector<SubtitleSpan>& spans, int first, SubtitleTime deltaMs, SubtitleTime videoEnd);

// Two subtitles and the times they should begin at: every time is mapped by
// the line through (their begin, its right time).
struct SyncPoint {
  int Row = 0;
  SubtitleTime RightTime = 0;
};
// Rows outside the list name no time and are refused as one time twice.
RetimeResult SyncTwoPoints(const std::vector<SubtitleSpan>& spans, SyncPoint a, SyncPoint b, SubtitleTime videoEnd);

// A list timed for a cut at `from` frames per second, for the cut at `to`:
// every time times from / to.
RetimeResult ConvertFrameRate(const std::vector<SubtitleSpan>& spans, FrameRate from, FrameRate to,
                              SubtitleTime videoEnd);

}  // namespace orlisk
