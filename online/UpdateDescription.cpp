#include "online/UpdateDescription.h"

#include "settings/ProfileFile.h"

namespace orlisk {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

std::int32_t ReadDescriptionVersion(const std::filesystem::path& description) {
  return ProfileFile(description).readInteger("versinon", "versinon", 0);
}

UpdateNotice ReadUpdateNotice(const std::filesystem::path& description, const std::string& productPage) {
  const ProfileFile file(description);
  return {.Content = file.readString("update", "Content", kDefaultUpdateContent),
          .DownloadLink = file.readString("update", "downloadlink", productPage),
          .Version = file.readString("update", "Version", "")};
}

bool IsSafeDownloadLink(std::string_view link) {
  for (char c : link) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F || c == '\\') return false;
  }
  std::string_view rest;
  if (StartsWithNoCase(link, "http://")) {
    rest = link.substr(7);
  } else if (StartsWithNoCase(link, "https://")) {
    rest = link.substr(8);
  } else {
    return false;
  }
  std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  if (const auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  std::string_view host = authority;
  if (const auto colon = host.rfind(':'); colon != std::string_view::npos && host.find(']', colon) == std::string_view::npos) {
    host = host.substr(0, colon);
  }
  return !host.empty();
}

std::string ChooseDownloadLink(const std::string& link, const std::string& productPage) {
  return IsSafeDownloadLink(link) ? link : productPage;
}

}  // namespace orlisk
