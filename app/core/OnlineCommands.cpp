#include "OnlineCommands.h"

#include "online/UsageReport.h"
#include "subtitles/TextEncoding.h"

namespace orlisk {
namespace {
constexpr std::size_t kMaxVersionNameBytes = 32;
}  // namespace

void OnlineCommands::SendUsageReportOnFirstStart(int languageId) {
  // The marker is made before the report goes out: a report that fails, or a
  // start that ends half way, still counts as sent.
  if (!ClaimFirstStart(DataFile(kFirstStartMarkerName))) return;
  SendUsageReport(c_.Http, UsageReportUrl(languageId == kLangChineseSimplified), DataFile(kUsageReportScratchName),
                  kWhileWaitingLimits);
}

void OnlineCommands::StartUpdateCheck() {
  UpdateCheckRequest request{.Url = UpdateDescriptionUrl(),
                             .ShippedDescription = c_.Basics.Paths.ProgramFolder / kShippedDescriptionName,
                             .Downloaded = DataFile(kDownloadedDescriptionName),
                             .Limits = kUpdateCheckLimits};
  // The check's thread only posts its result; everything else happens here.
  check_.start(std::move(request), [this](UpdateCheckResult result) {
    c_.UiThread.post([this, result] { UpdateCheckFinished(result); });
  });
}

void OnlineCommands::UpdateCheckFinished(UpdateCheckResult result) {
  check_.join();
  const bool asked = c_.Basics.State.ManualUpdateCheck;
  c_.Basics.State.ManualUpdateCheck = false;
  if (result == UpdateCheckResult::NewerVersion) {
    c_.Timer2.start(1000);
  } else if (result == UpdateCheckResult::UpToDate && asked) {
    c_.Notices.showNotice("Currently is the latest version");
  } else if (result == UpdateCheckResult::Unreachable && asked) {
    c_.Notices.showNotice(
        c_.Basics.Lang.MessageText("UpdateServerUnreachable", "The update server could not be reached"));
  }
}

void OnlineCommands::Inspectionupdate1Click() {
  c_.Basics.State.ManualUpdateCheck = true;
  StartUpdateCheck();
}

void OnlineCommands::Timer2Timer() {
  c_.Timer2.stop();
  c_.Notices.showUpdateWindow();
}

void OnlineCommands::OpenGiftPage() {
  // Only a probe that the page exists: its content is not kept, so it cannot
  // replace the update description the notice window reads.
  const std::string page = GiftPageUrl();
  if (!c_.Http.get({.Url = page, .Limits = kWhileWaitingLimits}).Ok) {
    c_.Basics.Messages.information("Now there is no gift");
    return;
  }
  c_.Desktop.openUrl(page);
}

OnlineCommands::UpdateWindowText OnlineCommands::UpdateWindowShow() {
  shownNotice_ = ReadUpdateNotice(DataFile(kDownloadedDescriptionName), ProductPageUrl());
  const LegacyCodePage fallback = c_.Basics.State.ChineseUI ? LegacyCodePage::Gb18030 : LegacyCodePage::Windows1252;
  const Language& lang = c_.Basics.Lang;
  std::string versions = lang.text("Tfm_update", "Installed", "Installed") + " " + ORLISK_VERSION;
  // A name, not a paragraph: what the description says is cut short.
  if (!shownNotice_->Version.empty())
    versions += lang.text("Tfm_update", "Available", ", available") + " " +
                CutUtf8(DecodeText(shownNotice_->Version, fallback), kMaxVersionNameBytes);
  return {.Content = DecodeText(shownNotice_->Content, fallback),
          .DoNotRemind = !c_.Basics.State.AutoUpdateCheck,
          .Versions = versions};
}

void OnlineCommands::ck_updateClick(bool ticked) { c_.Basics.State.AutoUpdateCheck = !ticked; }

void OnlineCommands::DownloadUpdate() {
  const std::string productPage = ProductPageUrl();
  const std::string link = shownNotice_ ? shownNotice_->DownloadLink
                                        : ReadUpdateNotice(DataFile(kDownloadedDescriptionName), productPage).DownloadLink;
  c_.Desktop.openUrl(ChooseDownloadLink(link, productPage));
}

void OnlineCommands::UpdateWindowClose() { shownNotice_.reset(); }

}  // namespace orlisk
