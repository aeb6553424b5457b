#pragma once
// What FFmpeg says about itself: its own log lines and the versions of its
// libraries, for programs that decide what their users see.
#include <string>

namespace orlisk {

// Whether FFmpeg's own log lines (errors, warnings and notes of its demuxers,
// decoders and encoders) reach stderr at all. Hidden, they never mix into a
// program's messages; shown, lines up to FFmpeg's "info" level are printed,
// whatever level the reader and writer set for the editor. For the whole
// process; call before any FFmpeg work starts.
void ShowFfmpegLog(bool shown);

// "FFmpeg libraries: libavformat 59.27.100, libavcodec 59.37.100, ..." as linked.
std::string FfmpegVersionsText();

}  // namespace orlisk
