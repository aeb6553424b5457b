#pragma once
// Whole files read and written safely: a save replaces its files all together
// or leaves them as they were, never half-written.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "files/FileSteps.h"
#include "files/SafeFile.h"

namespace orlisk {

// A save that did not happen. what() is "Unable to write to <file>: <reason>".
// The files it was to replace are as they were before; in the rare case that
// putting an already replaced one back failed too, the message says so.
class FileWriteError : public std::runtime_error {
 public:
  FileWriteError(const std::filesystem::path& file, const std::string& reason);
  const std::filesystem::path& file() const { return file_; }
  const std::string& reason() const { return reason_; }

 private:
  std::filesystem::path file_;
  std::string reason_;
};

// The whole of a regular file of at most maxBytes; FileReadError otherwise.
std::string ReadWholeFile(const std::filesystem::path& file, std::uint64_t maxBytes = kMaxSubtitleFileBytes);

// Replaces every target with its bytes, all or none:
// - Each new file is written and synced as an unnamed temporary file in its
//   target's folder (a short hidden name where the file system cannot make
//   unnamed ones), so an interrupted save leaves nothing behind and names up
//   to the system's longest stay saveable.
// - Only when every file is complete are they renamed over their targets, in
//   order; an existing target is swapped with its replacement in one step, so
//   a later rename that fails puts the earlier files back. The folders are
//   synced afterwards.
// - An existing target must be a regular file the user may write: a link is
//   followed to the file it names (the link stays), but a link to a device,
//   a FIFO or a folder is refused, and so is a read-only file.
// A replaced file keeps its permissions; a new one gets the usual ones.
// Failures raise FileWriteError; `steps` lets tests make single steps fail.
void ReplaceFilesTogether(const std::vector<std::pair<std::filesystem::path, std::string>>& files,
                          FileSteps& steps = SystemFileSteps());

// What the hidden names a save uses beside `target` begin with: ".orlisk-"
// and a hash of the target's name. A save removes what an earlier, killed
// save of the same target left under such names.
std::string TemporaryNamePrefix(const std::filesystem::path& target);

}  // namespace orlisk
