#pragma once
// The update check: download the published description, keep it as
// "updatenew.ini" (whole or not at all) and compare its version with the
// shipped "update.ini". UpdateCheckThread.h runs it on a thread of its own.
#include <atomic>
#include <filesystem>
#include <string>

#include "online/HttpClient.h"

namespace orlisk {

enum class UpdateCheckResult {
  Unreachable,   // no description came: no answer, an error status, a cap or time-out reached
  Failed,        // the description came but could not be kept
  UpToDate,      // the published version is not above the shipped one
  NewerVersion,  // the published version is strictly above the shipped one
};

struct UpdateCheckRequest {
  std::string Url;                           // the published description
  std::filesystem::path ShippedDescription;  // "update.ini", read only
  std::filesystem::path Downloaded;          // "updatenew.ini", replaced whole on success
  HttpLimits Limits{};
};

// The check itself, on the caller's thread. Never throws; every failure is
// Unreachable or Failed.
UpdateCheckResult RunUpdateCheck(HttpClient& http, const UpdateCheckRequest& request,
                                 const std::atomic<bool>* cancel = nullptr);

}  // namespace orlisk
