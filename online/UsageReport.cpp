#include "online/UsageReport.h"

#include <fcntl.h>
#include <unistd.h>

#include <exception>
#include <system_error>

#include "files/WholeFile.h"

namespace orlisk {

bool ClaimFirstStart(const std::filesystem::path& marker) {
  std::error_code error;
  std::filesystem::create_directories(marker.parent_path(), error);
  // O_EXCL: of two starts racing for the marker, only one makes it.
  const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

void SendUsageReport(HttpClient& http, const std::string& url, const std::filesystem::path& scratchFile,
                     const HttpLimits& limits) {
  try {
    std::filesystem::create_directories(scratchFile.parent_path());
    ReplaceFilesTogether({{scratchFile, std::string()}});
    http.setUserAgent(kUsageReportUserAgent);
    const HttpResponse answer = http.get({.Url = url, .Limits = limits});
    if (answer.Ok) ReplaceFilesTogether({{scratchFile, answer.Body}});
  } catch (const std::exception&) {
    // The report is a courtesy to the maker; the start goes on regardless.
  }
}

}  // namespace orlisk
