#pragma once
// The writer's catalogues as the output settings dialog shows them, read once
// at start (`FillCodecLists`).
#include <cstdint>
#include <string>
#include <vector>

#include "VideoWriter.h"

namespace orlisk {

struct CodecLists {
  std::vector<std::string> AviCodecs;    // `cmbAVICodecs`, codec 1 first
  std::vector<std::string> WmvProfiles;  // `cmbWMVCodecs`, profile 1 first
  // The AVI codec "Original" AVI output uses: the last codec whose name
  // contains "xvid" (any case); else the last codec; 0 without codecs.
  std::int32_t XvidCodecIndex = 0;
};

// Walks the writer's catalogues through its own calls and leaves AVI codec 1
// and WMV profile 1 selected (when there are any). Raises MediaError when the
// writer does.
CodecLists FillCodecLists(VideoWriter& writer);

}  // namespace orlisk
