#pragma once
// The name of a written video: the output folder, then the source's file name
// with the output extension ("talk.avi"). When that file exists the name gets
// "New_1", "New_2", ... in front ("New_1talk.avi"), counting on past 100 until
// a free name turns up: an existing file, and the source above all, is never
// written over. Partials being written (PartialOutput) have hidden names of
// their own and take no name here.
#include <functional>
#include <string>

#include "PartialOutput.h"

namespace orlisk {

// `folder` with a trailing "/" (an empty folder stays empty: the current folder).
std::string WithTrailingSlash(std::string folder);

// The source's file name without its folder, its extension replaced by
// `extension` (with the dot; appended when the name has none).
std::string OutputBaseName(const std::string& videoPath, const std::string& extension);

// The first free candidate; `exists` says whether a path is taken.
std::string ChooseOutputPath(const std::string& outputFolder, const std::string& videoPath,
                             const std::string& extension, const std::function<bool(const std::string&)>& exists);

// The same against the file system (anything at a path, even a broken link,
// takes it).
std::string ChooseOutputPath(const std::string& outputFolder, const std::string& videoPath,
                             const std::string& extension);

// The free name as a write job's target: replacing nothing, and asking this
// rule again when another job has taken the name by the time the video is done.
OutputTarget FreeOutputTarget(const std::string& outputFolder, const std::string& videoPath,
                              const std::string& extension);

}  // namespace orlisk
