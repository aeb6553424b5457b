#pragma once
// orlisk-burn --export: the subtitles saved in another format, with places
// relative to the video's picture; no video is written.
#include <iosfwd>

#include "BurnOptions.h"
#include "settings/AppPaths.h"

namespace orlisk {

// Returns the exit code (BurnExitCode): 2 when the file exists without
// --overwrite or is not a regular file, 3 when the video or the subtitles
// cannot be read, 4 when the file cannot be written. The path written goes
// to `out`, everything else to `err`.
int RunExport(const BurnOptions& options, const AppPaths& paths, std::ostream& out, std::ostream& err);

}  // namespace orlisk
