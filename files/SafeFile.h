#pragma once
// Files opened for reading the safe way. Subtitle, companion, settings,
// language and skin files come from wherever the user or the system put them,
// so a FIFO, a device or a folder may stand in a file's place: such a name is
// refused before anything waits on it, only regular files are read, and a size
// cap keeps a huge or endless file from filling memory.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace orlisk {

inline constexpr std::uint64_t kMaxSubtitleFileBytes = 64ull << 20;
inline constexpr std::uint64_t kMaxProfileFileBytes = 4ull << 20;  // settings and language files
inline constexpr std::uint64_t kMaxSkinFileBytes = 4ull << 20;     // a skin file, and each of its pictures

enum class FileProblem {
  Missing,     // no such file (or a link to nothing)
  NotRegular,  // a folder, FIFO, device or socket, also when reached through links
  TooLarge,    // above the cap of its kind
  Unreadable,  // no permission, an I/O error
};

// what() is "Unable to read <file>: <reason>", the reason being e.g. "it is a
// folder, pipe or device, not an ordinary file" or "it is larger than 64 MB".
class FileReadError : public std::runtime_error {
 public:
  FileReadError(const std::filesystem::path& file, FileProblem problem, const std::string& reason);
  FileProblem problem() const { return problem_; }
  const std::string& reason() const { return reason_; }

 private:
  FileProblem problem_;
  std::string reason_;
};

// A regular file open for reading, closed when it goes out of scope.
class ReadableFile {
 public:
  // Throws FileReadError. Links are followed, but only to a regular file.
  ReadableFile(const std::filesystem::path& file, std::uint64_t maxBytes);
  ReadableFile(ReadableFile&& other) noexcept;
  ReadableFile& operator=(ReadableFile&& other) noexcept;
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;
  ~ReadableFile();

  const std::filesystem::path& path() const { return path_; }
  std::uint64_t size() const { return size_; }  // at opening

  // `count` bytes from `offset`; fewer only where the file ends. Throws
  // FileReadError on an I/O error.
  std::string readAt(std::uint64_t offset, std::size_t count) const;
  // The whole file; one that grew past its cap while open is refused as too large.
  std::string readAll() const;

 private:
  std::filesystem::path path_;
  std::uint64_t maxBytes_ = 0;
  std::uint64_t size_ = 0;
  int fd_ = -1;
};

// The whole of a regular file of at most maxBytes (FileReadError otherwise).
std::string ReadRegularFile(const std::filesystem::path& file, std::uint64_t maxBytes);

// "64 MB", "4 MB", "512 bytes": a cap as the messages name it.
std::string DescribeSize(std::uint64_t bytes);

}  // namespace orlisk
