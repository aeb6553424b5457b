#pragma once
// The one-time usage report: on the first start on a machine, one GET to the
// statistics server names the product and its language edition. Its answer
// goes to a scratch file nobody reads; every failure is swallowed.
#include <filesystem>
#include <string>

#include "online/HttpClient.h"

namespace orlisk {

// True exactly once per marker: creates `marker` (and its folder) and answers
// whether this call made it. A marker that cannot be made answers false, so a
// data folder that cannot be written never leads to a report on every start.
bool ClaimFirstStart(const std::filesystem::path& marker);

// Empties `scratchFile`, switches the client to kUsageReportUserAgent for the
// rest of the run, GETs `url` and stores the answer in `scratchFile`. A scratch
// file that cannot be made ends the report before anything is sent. Never throws.
void SendUsageReport(HttpClient& http, const std::string& url, const std::filesystem::path& scratchFile,
                     const HttpLimits& limits);

}  // namespace orlisk
