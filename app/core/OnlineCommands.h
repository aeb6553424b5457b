#pragma once
// Online services: the usage report on the first start, the update check with
// its notice window, and the gift page. The check downloads on a thread of its
// own (`UpdateCheckThread`); its result comes back to the user-interface thread, where
// a newer version starts `Timer2`, whose tick shows the notice window.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "CommandBasics.h"
#include "OnlineSeams.h"
#include "Seams.h"
#include "online/UpdateCheckThread.h"
#include "online/UpdateDescription.h"

namespace orlisk {

// The thread's check may wait; the report and the gift probe hold up the
// window while they run, so they give up sooner.
inline constexpr HttpLimits kUpdateCheckLimits{.Connect = std::chrono::seconds(10),
                                               .Total = std::chrono::seconds(30)};
inline constexpr HttpLimits kWhileWaitingLimits{.Connect = std::chrono::seconds(2),
                                                .Total = std::chrono::seconds(3)};

// Files the program writes for itself, in the user's data folder.
inline constexpr const char* kDownloadedDescriptionName = "updatenew.ini";
inline constexpr const char* kUsageReportScratchName = "temp.txt";
inline constexpr const char* kFirstStartMarkerName = "first-start-done";
// Shipped in the program folder, read only.
inline constexpr const char* kShippedDescriptionName = "update.ini";

class OnlineCommands {
 public:
  struct Context {
    CommandBasics& Basics;
    HttpClient& Http;
    UserInterfaceThread& UiThread;
    PlaybackTimer& Timer2;  // the hand-off timer, not the playback clock
    UpdateNotices& Notices;
    DesktopShell& Desktop;
  };
  explicit OnlineCommands(Context context) : c_(context), check_(context.Http) {}

  // The first step of the first show: the usage report, once per user.
  void SendUsageReportOnFirstStart(int languageId);
  // The last step of the first show (when AutoUpdateCheck), with
  // ManualUpdateCheck as its caller set it. While a check runs no second one
  // starts: the running one answers a manual request too. Only a check the
  // user asked for says that all is up to date, or that the server could not
  // be reached.
  void StartUpdateCheck();
  void Inspectionupdate1Click();  // ManualUpdateCheck := true, then a check
  void Timer2Timer();             // stops Timer2, shows the notice window
  void OpenGiftPage();            // the "tools" skin object

  // The notice window `Tfm_update`.
  struct UpdateWindowText {
    std::string Content;   // UTF-8, for Memo1
    bool DoNotRemind;      // ck_update
    // "Installed 1.0.0, available 1.3.0"; without the second part when the
    // description names no version.
    std::string Versions;
  };
  UpdateWindowText UpdateWindowShow();  // reads "updatenew.ini" and keeps what it read
  void ck_updateClick(bool ticked);     // AutoUpdateCheck := not ticked
  void DownloadUpdate();                // Button1: a safe link, or the product page
  void UpdateWindowClose();             // lets go of what the show read

 private:
  std::filesystem::path DataFile(const char* name) const { return c_.Basics.Paths.DataFolder / name; }
  void UpdateCheckFinished(UpdateCheckResult result);

  Context c_;
  std::optional<UpdateNotice> shownNotice_;
  // Last, so that its thread has ended before anything it reports to goes.
  UpdateCheckThread check_;
};

}  // namespace orlisk
