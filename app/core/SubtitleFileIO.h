#pragma once
// Disk access for the subtitle files: whole-file reads, the companion check and
// writes that never leave a half-written file in place of a good one.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace orlisk {

// The whole file. Raises std::runtime_error "Unable to read <file>: <reason>".
std::string ReadWholeFile(const std::filesystem::path& file);

// Whether an existing file holds companion records rather than something else
// with the same name (a VCD ".dat" video). Reads only the start of the file.
bool IsCompanionFile(const std::filesystem::path& file);

// Creates an empty file when none exists. A folder that cannot be written is
// not an error here: nothing depends on the empty file.
void CreateEmptyFileIfMissing(const std::filesystem::path& file);

// Writes every (target, bytes) pair to a temporary file beside its target and,
// only when all of them were written and flushed completely, renames them over
// their targets. On any failure no target is touched, the temporary files are
// removed and std::runtime_error says which file could not be written and why.
// A target that is a symbolic link keeps its link: the file it names is replaced.
void ReplaceFilesTogether(const std::vector<std::pair<std::filesystem::path, std::string>>& files);

}  // namespace orlisk
