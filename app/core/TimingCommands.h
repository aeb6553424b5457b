#pragma once
// The timing tools: the subtitle at hand's begin or end nudged by a frame or
// by 100 ms, the still picture stepped frame by frame or by seconds, the play
// time stamped into the subtitle at hand while the video plays on, and the
// whole list (or its rest) shifted, synced on two points or converted to
// another frame rate. The arithmetic is subtitles/Retiming; this group finds
// the subtitles, refuses with a message what the arithmetic refuses (nothing
// changed then) and puts the list, the boxes and the picture in step.
// Each command changes the list in one go, so the window's history keeps it
// as one undo step.
#include "CommandBasics.h"
#include "Seams.h"
#include "playback/VideoReader.h"
#include "subtitles/Retiming.h"

namespace orlisk {

class EditingCommands;
class PreviewCommands;

// Which subtitles a shift moves.
enum class ShiftScope { EverySubtitle, FromSubtitleAtHand };

class TimingCommands {
 public:
  struct Context {
    CommandBasics& Basics;
    TextMemo& Memo;               // ed_text: shows the next subtitle after a stamped end
    TimeEdit& StartTime;          // ed_Starttime
    TimeEdit& EndTime;            // ed_Endtime
    SubtitleListSelection& List;  // lv
    SkinObjects& Skin;            // the play time and the playbar
    VideoReader& Reader;          // the grid, the video's end and the still picture
    EditingCommands& Editing;     // stamps the play time as F3 and F4 do
    PreviewCommands& Preview;     // redraws the still picture
  };
  explicit TimingCommands(Context context) : c_(context) {}

  // The subtitle at hand (else the selected one) gets its begin or end moved;
  // while the video stands still it shows the picture at the moved time.
  void NudgeTime(TimeEdge edge, NudgeStep step);
  // While the video stands still (paused or stopped): the picture `frames`
  // frames on, or `seconds` seconds on, snapped to its frame. Nothing while
  // the video plays.
  void StepFrames(int frames);
  void StepSeconds(int seconds);
  // The play time, taken the reaction delay earlier, as the begin or end of
  // the subtitle at hand (else the selected one), without pausing. A begin
  // stamped past the subtitle's end takes the end along, keeping its length;
  // after a stamped end the next subtitle is at hand, so a list is re-timed
  // in one pass while it plays.
  void StampBeginAtPlayTime();
  void StampEndAtPlayTime();
  // The dialogs' commands; false when refused (a message said why).
  bool ShiftTimes(SubtitleTime deltaMs, ShiftScope scope);
  // Rows are 0-based; each point's time is where that subtitle should begin.
  bool SyncTwoPoints(SyncPoint first, SyncPoint second);
  bool ConvertFrameRate(FrameRate from, FrameRate to);
  // The subtitle the tools act on: the one at hand, else the selected one;
  // -1 for neither.
  int TargetRow() const;

 private:
  // TargetRow, or a message saying to pick one and -1.
  int TargetRowOrSay() const;
  // Guards of every tool: no write job; false when refused.
  bool MayRetime() const;
  // Whether a video is open; else "please first add video file".
  bool HaveVideoOrSay() const;
  // The row a stamp goes to after every guard; -1 when refused.
  int StampTarget() const;
  SubtitleTime VideoEnd() const;
  FrameRate Grid() const;
  std::vector<SubtitleSpan> Spans() const;
  // Puts the moved times into the entries and the rows' texts, told once.
  void ApplyTimes(const std::vector<SubtitleSpan>& times);
  // The refusal's message; bulk refusals name the subtitle (1-based).
  void SayRefused(RetimeRefusal refusal, int row) const;
  // Shows the picture at `ms` as the still position: the play time, the
  // playbar and the picture follow.
  void ShowStillAt(SubtitleTime ms);
  // A still step of `frames` frames, or of `deltaMs` snapped to its frame.
  void StepStill(int frames, SubtitleTime deltaMs);
  // Applies a bulk result, or says why it was refused; false then.
  bool Apply(const RetimeResult& result);
  // A stamped end hands the subtitle after `row` over, as a click would.
  void PickNextForStamps(int row);

  Context c_;
};

}  // namespace orlisk
