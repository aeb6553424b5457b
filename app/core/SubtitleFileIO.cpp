#include "SubtitleFileIO.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <system_error>

#include "subtitles/SubRipFile.h"

namespace orlisk {
namespace fs = std::filesystem;

namespace {

// How much of a ".dat" file the companion check looks at: a whole number of
// records, enough to see a video's header.
constexpr std::size_t kCompanionProbeRecords = 16;

}  // namespace

bool IsCompanionFile(const fs::path& file) {
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return false;
  auto size = fs::file_size(file, error);
  if (error || size % kCompanionRecordSize != 0) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string start(std::min<std::uintmax_t>(size, kCompanionProbeRecords * kCompanionRecordSize), '\0');
  in.read(start.data(), static_cast<std::streamsize>(start.size()));
  if (static_cast<std::size_t>(in.gcount()) != start.size()) return false;
  return LooksLikeCompanion(start);
}

void CreateEmptyFileIfMissing(const fs::path& file) {
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) ::close(fd);
}

}  // namespace orlisk
