#pragma once
// Subtitles without an end: F3 stamped a begin and F4 never came, or the end
// was set before the begin. Saved as they are, such a block reads
// "00:00:05,400 --> 00:00:00,000", and players leave it out.
#include <vector>

#include "SubtitleDocument.h"

namespace orlisk {

// How long a subtitle given an end lasts at most.
constexpr SubtitleTime kGivenEndDuration = 3000;

// The rows whose entry has no usable end: an end of 0 after a begin above 0,
// or an end before the begin. A row never timed at all (both 0) is not one.
std::vector<int> RowsWithoutEnd(const SubtitleDocument& document);

// Gives each of `rows` an end: the begin of the next subtitle (the earliest
// begin after its own) or its begin + kGivenEndDuration, whichever comes
// first; the entry and the row's "Time" text both change.
void GiveEnds(SubtitleDocument& document, const std::vector<int>& rows);

}  // namespace orlisk
