#include "subtitles/LooseSubRip.h"

#include <cstdint>
#include <limits>
#include <optional>

namespace orlisk {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

void SkipBlanks(std::string_view& text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
}

// Lines ending at LF, CR LF or CR alone; a run of CRs before an LF is one end,
// as files converted twice carry them (and as this program's own rules drop
// such CRs).
class LineSplitter {
 public:
  explicit LineSplitter(std::string_view text) : text_(text) {}

  std::optional<std::string_view> next(SubRipRepairs& repairs) {
    if (position_ >= text_.size()) return std::nullopt;
    std::size_t end = position_;
    while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
    const std::string_view line = text_.substr(position_, end - position_);
    if (end == text_.size()) {
      position_ = text_.size();
    } else if (text_[end] == '\n') {
      position_ = end + 1;
    } else {
      std::size_t after = end;
      while (after < text_.size() && text_[after] == '\r') ++after;
      if (after < text_.size() && text_[after] == '\n') {
        position_ = after + 1;
      } else {
        // Each CR ends a line of its own: two in a row leave a blank line.
        position_ = end + 1;
        ++repairs[SubRipRepair::CrLineEnds];
      }
    }
    return line;
  }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

// One field of a time: an optional minus sign before digits, then digits.
struct Field {
  std::int64_t value = 0;
  int digits = 0;
  bool negative = false;
};

Field ReadField(std::string_view& text) {
  Field field;
  if (text.size() > 1 && text[0] == '-' && IsDigit(text[1])) {
    field.negative = true;
    text.remove_prefix(1);
  }
  // Values are held below 10^12 so that the sum cannot overflow; anything that
  // large is beyond 32 bits of milliseconds anyway.
  constexpr std::int64_t kCap = 1'000'000'000'000;
  while (!text.empty() && IsDigit(text.front())) {
    if (field.value < kCap) field.value = field.value * 10 + (text.front() - '0');
    ++field.digits;
    text.remove_prefix(1);
  }
  return field;
}

struct TimeReading {
  std::int64_t milliseconds = 0;
  bool negative = false;
  bool oneDigitField = false;
  bool noMilliseconds = false;
  bool shortMilliseconds = false;
};

// h:m:s with optional ",ms" or ".ms"; nothing when the text does not start so.
std::optional<TimeReading> ReadTime(std::string_view& text) {
  TimeReading time;
  Field fields[3];
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (text.empty() || text.front() != ':') return std::nullopt;
      text.remove_prefix(1);
    }
    fields[i] = ReadField(text);
    if (fields[i].digits == 0) return std::nullopt;
    time.negative |= fields[i].negative;
    time.oneDigitField |= fields[i].digits == 1;
  }
  Field millis;
  if (!text.empty() && (text.front() == ',' || text.front() == '.')) {
    text.remove_prefix(1);
    millis = ReadField(text);
  }
  time.negative |= millis.negative;
  time.noMilliseconds = millis.digits == 0;
  time.shortMilliseconds = millis.digits == 1 || millis.digits == 2;
  time.milliseconds = fields[0].value * 3'600'000 + fields[1].value * 60'000 + fields[2].value * 1'000 + millis.value;
  return time;
}

// The time the reading gives, counting what it took to get there.
SubtitleTime Take(const TimeReading& time, SubRipRepairs& repairs) {
  if (time.negative || time.milliseconds > std::numeric_limits<SubtitleTime>::max()) {
    ++repairs[SubRipRepair::TimesReadAsZero];
    return 0;
  }
  if (time.oneDigitField) ++repairs[SubRipRepair::OneDigitFields];
  if (time.noMilliseconds) ++repairs[SubRipRepair::NoMilliseconds];
  if (time.shortMilliseconds) ++repairs[SubRipRepair::ShortMilliseconds];
  return static_cast<SubtitleTime>(time.milliseconds);
}

bool SkipArrow(std::string_view& text) {
  for (const std::string_view arrow : {"-->", "->", "- >"}) {
    if (text.starts_with(arrow)) {
      text.remove_prefix(arrow.size());
      return true;
    }
  }
  return false;
}

struct TimeLine {
  TimeReading begin, end;
  bool textAfter = false;
};

std::optional<TimeLine> ReadTimeLine(std::string_view line) {
  TimeLine timeLine;
  const auto begin = ReadTime(line);
  if (!begin) return std::nullopt;
  SkipBlanks(line);
  if (!SkipArrow(line)) return std::nullopt;
  SkipBlanks(line);
  const auto end = ReadTime(line);
  if (!end) return std::nullopt;
  return TimeLine{*begin, *end, !Trimmed(line).empty()};
}

bool IsNumberLine(std::string_view trimmed) {
  for (const char c : trimmed)
    if (!IsDigit(c)) return false;
  return true;
}

// Reads line by line, holding back a number line until the next line tells
// whether it numbers a block or belongs to a text.
class CueCollector {
 public:
  void line(std::string_view line) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.empty()) {
      blankBefore_ = true;
      return;
    }
    if (const auto timeLine = ReadTimeLine(trimmed)) {
      startCue(*timeLine);
      return;
    }
    takeHeldNumber();
    if (IsNumberLine(trimmed)) {
      heldNumber_ = line;
      numberAfterBlank_ = blankBefore_;
      blankBefore_ = false;
      return;
    }
    text(line, blankBefore_);
  }

  SubRipRepairs& repairs() { return read_.Repairs; }

  LooseSubRip finish() {
    takeHeldNumber();
    return std::move(read_);
  }

 private:
  void startCue(const TimeLine& timeLine) {
    if (!heldNumber_) ++read_.Repairs[SubRipRepair::NoNumber];
    heldNumber_.reset();
    LooseCue cue;
    cue.Begin = Take(timeLine.begin, read_.Repairs);
    cue.End = Take(timeLine.end, read_.Repairs);
    if (timeLine.textAfter) ++read_.Repairs[SubRipRepair::TextAfterTimes];
    read_.Cues.push_back(std::move(cue));
    blankBefore_ = false;
    blankCounted_ = false;
  }

  // A number line that no time line followed is text after all; after a
  // blank line it is a block that lost its time line.
  void takeHeldNumber() {
    if (!heldNumber_) return;
    const bool lostTimeLine = numberAfterBlank_ && !read_.Cues.empty();
    if (lostTimeLine) ++read_.Repairs[SubRipRepair::NoTimeLine];
    text(*heldNumber_, numberAfterBlank_ && !lostTimeLine);
    heldNumber_.reset();
  }

  void text(std::string_view line, bool afterBlank) {
    blankBefore_ = false;
    if (read_.Cues.empty()) {
      ++read_.Repairs[SubRipRepair::LinesOutside];
      return;
    }
    if (afterBlank && !blankCounted_) {
      ++read_.Repairs[SubRipRepair::BlankLinesInside];
      blankCounted_ = true;
    }
    read_.Cues.back().Lines.emplace_back(line);
  }

  LooseSubRip read_;
  std::optional<std::string_view> heldNumber_;
  bool numberAfterBlank_ = false;
  bool blankBefore_ = false;
  bool blankCounted_ = false;  // the current subtitle's blank lines are counted
};

}  // namespace

LooseSubRip ReadLooseSubRip(std::string_view utf8Text) {
  LineSplitter lines(utf8Text);
  CueCollector cues;
  while (const auto line = lines.next(cues.repairs())) cues.line(*line);
  return cues.finish();
}

}  // namespace orlisk
