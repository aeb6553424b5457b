#pragma once
// Writing the subtitles into a new video: the stop request. The write job
// itself joins this group with the writer.
#include "CommandBasics.h"

namespace orlisk {

class BurnInCommands {
 public:
  struct Context {
    CommandBasics& Basics;
  };
  explicit BurnInCommands(Context context) : c_(context) {}

  // Asks whether to stop a running write job; Yes clears IsWriting, which the
  // job's loop sees at its next pass. Does nothing while no job runs.
  void StopWriting();

 private:
  Context c_;
};

}  // namespace orlisk
