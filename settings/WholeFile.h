#pragma once
// Whole files read and written safely: a write never leaves a half-written
// file in place of a good one.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace orlisk {

// The whole file. Raises std::runtime_error "Unable to read <file>: <reason>".
std::string ReadWholeFile(const std::filesystem::path& file);

// Writes every (target, bytes) pair to a temporary file beside its target and,
// only when all of them were written and flushed completely, renames them over
// their targets. A replaced file keeps its permissions; a new one gets the
// usual ones. On any failure no target is touched, the temporary files are
// removed and std::runtime_error says which file could not be written and why.
// A target that is a symbolic link keeps its link: the file it names is replaced.
void ReplaceFilesTogether(const std::vector<std::pair<std::filesystem::path, std::string>>& files);

}  // namespace orlisk
