#pragma once
// Disk access for the subtitle files beyond whole-file reads and writes
// (files/WholeFile.h): the companion check and the empty companion.
#include <filesystem>

namespace orlisk {

// Whether an existing file holds companion records rather than something else
// with the same name (a VCD ".dat" video). Reads only the start of the file.
bool IsCompanionFile(const std::filesystem::path& file);

// Creates an empty file when none exists. A folder that cannot be written is
// not an error here: nothing depends on the empty file.
void CreateEmptyFileIfMissing(const std::filesystem::path& file);

}  // namespace orlisk
