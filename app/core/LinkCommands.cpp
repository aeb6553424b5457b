#include "LinkCommands.h"

#include "CommandBasics.h"

namespace orlisk {

void LinkCommands::OpenContactPage() { c_.Desktop.openUrl(SiteUrl() + "/contact.html"); }

void LinkCommands::OpenWebSite() { c_.Desktop.openUrl(SiteUrl()); }

}  // namespace orlisk
