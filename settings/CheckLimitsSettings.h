#pragma once
// The limits the subtitle checks hold a list to: section "Checks" of the
// settings file, read when the checks start. A missing key, or a value that
// is not a positive number, keeps the usual limit.
#include "ProfileFile.h"
#include "subtitles/SubtitleChecks.h"

namespace orlisk {

// Keys "MinDuration" and "MaxDuration" (ms), "MinGapFrames", "MaxCharsPerSecond",
// "MaxLineLength" and "MaxLineLengthCJK".
CheckLimits LoadCheckLimits(const ProfileFile& settings);

}  // namespace orlisk
