#pragma once
// Whether an edge dragged on the timing strip snaps to the nearest silence
// edge before the frame grid. Settings file section "Timing", key
// "SnapToSilence"; off unless set.
#include "ProfileFile.h"

namespace orlisk {

inline bool ReadSnapToSilence(const ProfileFile& settings) {
  return settings.readBool("Timing", "SnapToSilence", false);
}
// Throws ProfileWriteError as every write does.
inline void WriteSnapToSilence(ProfileFile& settings, bool on) { settings.writeBool("Timing", "SnapToSilence", on); }

}  // namespace orlisk
