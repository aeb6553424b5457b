#include "online/UpdateCheck.h"

#include <exception>

#include "online/UpdateDescription.h"
#include "files/WholeFile.h"

namespace orlisk {

UpdateCheckResult RunUpdateCheck(HttpClient& http, const UpdateCheckRequest& request,
                                 const std::atomic<bool>* cancel) {
  // Nothing may escape: this runs at the top of the check's own thread.
  try {
    const HttpResponse answer = http.get({.Url = request.Url, .Limits = request.Limits, .Cancel = cancel});
    if (!answer.Ok) return UpdateCheckResult::Unreachable;
    std::filesystem::create_directories(request.Downloaded.parent_path());
    ReplaceFilesTogether({{request.Downloaded, answer.Body}});
    const std::int32_t shipped = ReadDescriptionVersion(request.ShippedDescription);
    const std::int32_t published = ReadDescriptionVersion(request.Downloaded);
    return shipped < published ? UpdateCheckResult::NewerVersion : UpdateCheckResult::UpToDate;
  } catch (const std::exception&) {
    return UpdateCheckResult::Failed;
  }
}

}  // namespace orlisk
