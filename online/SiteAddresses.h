#pragma once
// The addresses of the maker's web site and statistics server: one base address
// each, compiled in, overridable by ORLISK_SITE_URL and ORLISK_STAT_URL (tests
// point them at a server on 127.0.0.1). Every page the program asks for or
// opens is built here.
#include <string>

namespace orlisk {

// The bases, without a trailing "/"; the pages below append their own.
std::string SiteUrl();
std::string StatUrl();

// "/orlisk/update.ini": the published update description.
std::string UpdateDescriptionUrl();
// "/orlisk/gife.html": the gift page.
std::string GiftPageUrl();
// "/orlisk/": the product page, where downloads are offered.
std::string ProductPageUrl();
// "/stat/stat.php?soft=Orlisk-for-china" for the Chinese edition, else "?soft=Orlisk".
std::string UsageReportUrl(bool chineseEdition);

}  // namespace orlisk
