#pragma once
// What the online commands reach besides the common seams (Seams.h): the
// network, a way back to the user-interface thread from the update check's
// thread, and the two things the check shows.
#include <functional>
#include <string>

#include "online/HttpClient.h"

namespace orlisk {

// Runs work on the user-interface thread, in order, soon after. The one seam
// that may be called from any thread.
class UserInterfaceThread {
 public:
  virtual ~UserInterfaceThread() = default;
  virtual void post(std::function<void()> task) = 0;
};

// User-interface thread only.
class UpdateNotices {
 public:
  virtual ~UpdateNotices() = default;
  // The update notice window `Tfm_update`, modally, at its designed place.
  virtual void showUpdateWindow() = 0;
  // A plain box: caption "Veldrane Orlisk", no icon, one "OK".
  virtual void showNotice(const std::string& text) = 0;
};

}  // namespace orlisk
