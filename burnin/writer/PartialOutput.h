#pragma once
// A video on its way to its name. It is written into a new hidden file in the
// target's folder and put in place in one step (a rename) only once it is
// complete or stopped, so that nothing at the target is removed, cut short or
// replaced before then, and a failure leaves the target as it was.
//
// The hidden name is ".<target's name>.orlisk-partial-<pid>-<six letters>"
// (the target's name shortened where the whole would be too long). The
// process writing it holds an flock on it. After a kill or a power loss the
// partial stays under that name, where no player and no "New_<n>" count sees
// it; the next write job in that folder removes it once its owner is gone
// (RemoveDeadPartials).
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace orlisk {

// Where a finished video goes, and what may stand there by then.
struct OutputTarget {
  std::string Path;
  // A regular file at Path (or at the end of a link there) may be replaced:
  // orlisk-burn's -o FILE --overwrite. Nothing else is ever replaced.
  bool ReplaceFile = false;
  // Another free name, for when Path has been taken by someone else while
  // the video was written (the "New_<n>" rule, asked again). Without it such
  // a clash fails the job.
  std::function<std::string()> NextFreeName;
};

// Why no video may be written to `path` ("" when one may): something other
// than a regular file stands there (a folder, device, pipe, socket or a link
// that leads to none of them), or a file the user may not change. Opens
// nothing, so a pipe or a device is never woken.
std::string RefusalOfTarget(const std::string& path);

// The hidden name a video for `targetName` is written under, and the pid it
// names ("" and nothing for a name of another kind).
std::string PartialName(const std::string& targetName, pid_t pid, const std::string& letters);
std::optional<pid_t> PartialOwner(const std::string& name);

// Removes from `folder` the partials last written before `olderThan` whose
// owner is gone: no living process has their pid (or the one that has it
// started after the partial was last written), and no process holds their
// lock. Anything else (a living job's partial, a link, a folder) stays.
// Returns how many went.
int RemoveDeadPartials(const std::string& folder, std::chrono::system_clock::time_point olderThan);

class PartialOutput {
 public:
  // Removes dead partials from the target's folder, then creates the hidden
  // file there and locks it. Raises MediaError when the target is refused
  // (ReplaceFile and RefusalOfTarget) or the file cannot be made
  // ("Cannot create <target>: Not a directory").
  explicit PartialOutput(OutputTarget target);
  // Removes the hidden file unless it was put in place.
  ~PartialOutput();
  PartialOutput(const PartialOutput&) = delete;
  PartialOutput& operator=(const PartialOutput&) = delete;

  // The file to write the video into.
  const std::string& path() const { return path_; }
  // Syncs the complete file to disk and gives it its name in one step;
  // returns the path it got (NextFreeName's, after a clash). Raises
  // MediaError when it cannot, leaving the target as it was.
  std::string Commit();

 private:
  // 0 once the partial has the name `target`; -1 with errno otherwise.
  int Place(const std::string& target);

  OutputTarget target_;
  std::string folder_;
  std::string path_;
  int fd_ = -1;  // holds the lock
  bool committed_ = false;
};

}  // namespace orlisk
