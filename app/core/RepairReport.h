#pragma once
// The one message after reading a subtitle file this program did not write:
// what had to be repaired, a line for each kind with its count.
#include <string>

#include "app/language/Language.h"
#include "subtitles/SubRipRepairs.h"

namespace orlisk {

// A heading, then "label count" for each kind that occurred, labels from the
// language file ("messagedlg", keys "ReadSubtitleRepair..."); empty when
// nothing was repaired. Messages carry no placeholders, so the counts follow
// the labels.
std::string RepairReport(const SubRipRepairs& repairs, const Language& lang);

}  // namespace orlisk
