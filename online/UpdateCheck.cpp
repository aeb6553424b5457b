#include "online/UpdateCheck.h"

#include <exception>

#include "online/UpdateDescription.h"
#include "settings/WholeFile.h"

namespace orlisk {

UpdateCheckResult RunUpdateCheck(HttpClient& http, const UpdateCheckRequest& request,
                                 const std::atomic<bool>* cancel) {
  // Nothing may escape: this runs at the top of the check's own thread.
  try {
    const HttpResponse answer = http.get({.Url = request.Url, .Limits = request.Limits, .Cancel = cancel});
    if (!answer.Ok) return UpdateCheckResult::Failed;
    std::filesystem::create_directories(request.Downloaded.parent_path());
    ReplaceFilesTogether({{request.Downloaded, answer.Body}});
    const std::int32_t shipped = ReadDescriptionVersion(request.ShippedDescription);
    const std::int32_t published = ReadDescriptionVersion(request.Downloaded);
    return shipped < published ? UpdateCheckResult::NewerVersion : UpdateCheckResult::UpToDate;
  } catch (const std::exception&) {
    return UpdateCheckResult::Failed;
  }
}

TMyUPdate::~TMyUPdate() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

bool TMyUPdate::start(UpdateCheckRequest request, std::function<void(UpdateCheckResult)> finished) {
  if (running()) return false;
  thread_ = std::thread([this, request = std::move(request), finished = std::move(finished)] {
    finished(RunUpdateCheck(http_, request, &cancel_));
  });
  return true;
}

void TMyUPdate::join() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace orlisk
