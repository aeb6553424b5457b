#pragma once
// What the writer configuration needs to know about the open source video.
#include <cstdint>
#include <string>

#include "playback/VideoReader.h"

namespace orlisk {

struct SourceFacts {
  std::string Path;  // `VideoPath`
  // FFmpeg's name for the container it found in the file ("avi", "mpeg",
  // "mov,mp4,m4a,3gp,3g2,mj2", "matroska,webm", ...); "" when it found none.
  std::string Container;
  int Width = 0;
  int Height = 0;
  PixelAspect Aspect = {};  // the reader's GetPixelAspect
  double FrameRate = 0;
  int AudioSampleRate = 0;        // 0 without sound
  int AudioChannels = 0;          // 0 without sound
  std::int64_t AudioBitRate = 0;  // bit/s
  std::string AudioFormatName;    // the reader's GetAudioFormatName
  std::int64_t VideoBitRate = 0;  // bit/s
  std::string VideoFormatName;    // the reader's GetVideoFormatName
};

// The facts of the file `path` that `reader` has open. Raises nothing: a
// container FFmpeg cannot name stays "".
SourceFacts ReadSourceFacts(const VideoReader& reader, const std::string& path);

// FFmpeg's name for the container of the file at `path`; "" when unknown.
std::string DetectContainerName(const std::string& path);

}  // namespace orlisk
