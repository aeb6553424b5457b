#pragma once
// Files a program must never write into, made in a test's own folder and
// never taken from the system's: a pipe, a socket, a private device node, and
// a small file system mounted for the test alone (a disk that fills up).
// Device nodes and mounts need root; without it the maker says why, and the
// test skips (GTEST_SKIP) with that reason.
#include <cstdint>
#include <filesystem>
#include <string>

namespace orlisk::testing {

enum class SpecialKind { Folder, Pipe, Socket, FullDevice };

// Makes a `kind` at `path`. FullDevice is a node with the numbers of the
// kernel's "full" device (every write fails: no space left). Returns "" when
// made, else why it could not be (no permission for a device node).
std::string MakeSpecialFile(SpecialKind kind, const std::filesystem::path& path);

// Whether `path` still is a `kind` (nothing removed or replaced it).
bool IsSpecialFile(SpecialKind kind, const std::filesystem::path& path);

// A tmpfs of `bytes` mounted on a fresh folder, unmounted and removed when
// this goes.
class SmallDisk {
 public:
  explicit SmallDisk(std::uint64_t bytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  // Empty when mounted; else why not (not root, no mount permission).
  const std::string& skipReason() const { return skipReason_; }
  const std::filesystem::path& path() const { return path_; }
  std::uint64_t freeBytes() const;

 private:
  std::filesystem::path path_;
  std::string skipReason_;
  bool mounted_ = false;
};

}  // namespace orlisk::testing
