#pragma once
// The update description: "update.ini" shipped with the program and
// "updatenew.ini" as last downloaded, both ini files by the Windows rules.
// Section and key "versinon" carry the version, spelled so in both files.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace orlisk {

inline constexpr const char* kDefaultUpdateContent = "Have a new version, please download.";

// "versinon"/"versinon" as a whole number; 0 when the file or key is missing
// or the value is not a number.
std::int32_t ReadDescriptionVersion(const std::filesystem::path& description);

// What the notice window shows and offers, as the description's bytes.
struct UpdateNotice {
  std::string Content;       // "update"/"Content", or kDefaultUpdateContent
  std::string DownloadLink;  // "update"/"downloadlink", or the product page
  std::string Version;       // "update"/"Version": the published version's name ("1.3.0"), or ""
};
UpdateNotice ReadUpdateNotice(const std::filesystem::path& description, const std::string& productPage);

// A link the browser may be given: an http:// or https:// address with a host,
// in plain printable ASCII (no blanks, line breaks, control characters or
// backslashes). Anything else (file:, javascript:, a local path) is refused.
bool IsSafeDownloadLink(std::string_view link);

// The link when it is safe, else the product page.
std::string ChooseDownloadLink(const std::string& link, const std::string& productPage);

}  // namespace orlisk
