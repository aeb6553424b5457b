// Times typed into the begin and end boxes, and the play time stamped into
// them by F3 and F4 (taken the reaction delay earlier).
#include <string_view>

#include "EditingCommands.h"
#include "PlaybackCommands.h"
#include "settings/ReactionDelay.h"

namespace orlisk {

namespace {

// A blank picked up with a paste or a stray space is not part of the time;
// the fields themselves stay in their fixed columns.
std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

SubtitleTime EditingCommands::StampPlaytime(TimeEdit& box) {
  box.setText(c_.Skin.playtimeText());
  const SubtitleTime heard = c_.Basics.ParseSubtitleTime(box.text());
  // The user's reaction takes real time: at half speed it is half as much video.
  const std::int32_t delay = AtSpeed(ReadReactionDelay(c_.Basics.Settings), c_.Basics.State.SpeedPercent);
  const SubtitleTime stamped = CompensateReaction(heard, delay);
  // Without a delay the box keeps the play time's own text, as it always did.
  if (stamped != heard) box.setText(FormatSubtitleTime(stamped));
  return stamped;
}

bool EditingCommands::ApplyTypedBeginTime() { return ApplyTypedTime(true); }
bool EditingCommands::ApplyTypedEndTime() { return ApplyTypedTime(false); }

bool EditingCommands::ApplyTypedTime(bool begin) {
  MainState& s = c_.Basics.State;
  if (c_.Basics.RefuseWhileWriting()) return false;
  // The boxes show the subtitle at hand: a typed time goes to it.
  const int row = RowAtHand();
  if (row < 0) return false;
  TimeEdit& box = begin ? c_.StartTime : c_.EndTime;

  const std::optional<SubtitleTime> typed = ParseSubtitleTimeFields(TrimBlanks(box.text()));
  // A sign is legal in each field, but no subtitle starts before the video.
  if (!typed || *typed < 0) {
    c_.Basics.ShowInformation("StrTimetoint", "Subtitle time errors");
    return false;
  }
  if (!s.VideoPath.empty()) {
    const SubtitleTime duration = c_.Reader.GetDuration();
    if (duration > 0 && *typed > duration) {
      c_.Basics.ShowInformation("TypedTimePastVideo",
                                "The time lies beyond the end of the video; the time was not changed.");
      return false;
    }
  }
  SubtitleEntry& entry = s.Document.entries()[static_cast<std::size_t>(row)];
  if (begin) {
    // An end of 0 is one not stamped yet (a subtitle just inserted): any begin goes.
    if (entry.EndTime > 0 && *typed > entry.EndTime) {
      c_.Basics.ShowInformation("TypedBeginAfterEnd",
                                "The begin time lies after the end time; the time was not changed.");
      return false;
    }
    entry.BeginTime = *typed;
  } else {
    if (*typed < entry.BeginTime) {
      c_.Basics.ShowInformation("TypedEndBeforeBegin",
                                "The end time lies before the begin time; the time was not changed.");
      return false;
    }
    entry.EndTime = *typed;
  }
  s.Document.setRowTime(row, TimeRangeText(entry.BeginTime, entry.EndTime));
  box.setText(FormatSubtitleTime(*typed));
  return true;
}

}  // namespace orlisk
