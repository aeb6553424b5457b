#pragma once
// SubRip files that this program did not write (no companion beside them),
// read the way the common readers agree on: a block is a time line, with or
// without a number line before it, and the text lines after it up to the next
// block. Every liberty taken is counted in the repairs.
#include <string>
#include <string_view>
#include <vector>

#include "SubRipRepairs.h"
#include "SubtitleTime.h"

namespace orlisk {

struct LooseCue {
  SubtitleTime Begin = 0;
  SubtitleTime End = 0;
  std::vector<std::string> Lines;  // untrimmed, blank lines left out; none for an empty subtitle
};

struct LooseSubRip {
  std::vector<LooseCue> Cues;
  SubRipRepairs Repairs;
};

// Lines end at LF, CR LF, or CR alone (a run of CRs before an LF is one
// end). A time line is "begin --> end" ("->" and "- >" too), each time h:m:s
// with optional ",ms" or ".ms", fields of any number of digits; whatever
// follows the end time (coordinates) is left out. A number line (digits
// alone) just before a time line, blank lines between allowed, is the block's
// number; numbers are not otherwise looked at, so a repeated or missing number
// loses nothing. Any other line is text of the block before; blank lines
// inside a text are left out, so a block without a time line joins the one
// before rather than swallowing the next. Negative times and times beyond 32
// bits are read as 0.
LooseSubRip ReadLooseSubRip(std::string_view utf8Text);

}  // namespace orlisk
