#pragma once
// Where orlisk-burn puts its video: the file -o names, or a free name in the
// output folder. Nothing there is touched before the video is complete
// (PartialOutput).
#include <string>

#include "BurnOptions.h"
#include "burnin/writer/PartialOutput.h"

namespace orlisk {

// Why the file -o names cannot take the video ("" when it can, or without
// -o): it is the source, it exists and --overwrite is missing, or it is
// anything but a regular file (a device, pipe, socket or folder), --overwrite
// or not. Opens nothing, so it may come before anything else is opened.
std::string RefusedOutputFile(const BurnOptions& options);

// The write job's target: the -o file (a regular file there replaced with
// --overwrite), or a free name in --out-dir or else the settings' output
// folder, which is made when it is missing.
OutputTarget BurnTarget(const BurnOptions& options, const std::string& settingsFolder, const std::string& extension);

}  // namespace orlisk
