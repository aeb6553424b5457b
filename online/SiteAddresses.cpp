#include "online/SiteAddresses.h"

#include <cstdlib>

namespace orlisk {
namespace {

constexpr const char* kDefaultSiteUrl = "https://www.veldrane-orlisk.com";
constexpr const char* kDefaultStatUrl = "https://stat.veldrane-orlisk.com";

std::string BaseUrl(const char* variable, const char* compiledIn) {
  const char* overridden = std::getenv(variable);
  std::string url = (overridden != nullptr && *overridden != '\0') ? overridden : compiledIn;
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

}  // namespace

std::string SiteUrl() { return BaseUrl("ORLISK_SITE_URL", kDefaultSiteUrl); }
std::string StatUrl() { return BaseUrl("ORLISK_STAT_URL", kDefaultStatUrl); }

std::string UpdateDescriptionUrl() { return SiteUrl() + "/orlisk/update.ini"; }
std::string GiftPageUrl() { return SiteUrl() + "/orlisk/gife.html"; }
std::string ProductPageUrl() { return SiteUrl() + "/orlisk/"; }

std::string UsageReportUrl(bool chineseEdition) {
  return StatUrl() + "/stat/stat.php?soft=" + (chineseEdition ? "Orlisk-for-china" : "Orlisk");
}

}  // namespace orlisk
