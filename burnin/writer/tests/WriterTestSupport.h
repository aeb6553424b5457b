#pragma once
// Shared by the writer tests: copying a source through the writer the way the
// write job interleaves picture and sound, and looking at what was written
// with libavformat and libavcodec in-process.
#include <cstdint>
#include <set>
#include <string>

#include "burnin/writer/VideoWriter.h"
#include "playback/VideoReader.h"

namespace orlisk::writertest {

// Reads `reader`'s open video from where it stands (a reader just opened
// stands at the start) and writes it into `writer`'s open output: whichever of
// picture and sound is behind is read next, sound in blocks of 2304 bytes. Stops after `maxFrames` frames when it is
// not negative (a stop half way). Returns the number of frames written.
int CopyInterleaved(VideoReader& reader, VideoWriter& writer, int maxFrames = -1);

struct Probe {
  std::string Container;   // FFmpeg's demuxer name: "avi", "mpeg", "asf", "rm", "mov,mp4,...", ...
  std::string VideoCodec;  // "mpeg4", "mpeg1video", "wmv2", "rv20", "h264", ...; "" without
  int Width = 0;
  int Height = 0;
  PixelAspect Aspect = {};      // as players take it: the container's, else the codec's; square when neither says
  double FrameRate = 0;    // the stream's average (or real) frame rate
  int VideoPackets = 0;    // one per frame for every codec written here
  std::string AudioCodec;  // "" without sound
  int SampleRate = 0;
  int Channels = 0;
  // The sound's packets and a digest of their bytes: equal digests, the same
  // sound packet for packet.
  int SoundPackets = 0;
  std::uint64_t SoundDigest = 0;
};

// What libavformat finds in `path`; a file it cannot open gives an empty Container.
Probe ProbeFile(const std::string& path);

struct Decoded {
  int Frames = 0;         // pictures decoded
  long long Samples = 0;  // sound samples per channel decoded
  int Errors = 0;         // packets or frames the decoders refused
  std::string FirstError;
};

// Decodes every packet of `path` to the end, counting what the decoders refuse.
Decoded DecodeToEnd(const std::string& path);

// The quantisers of every block of every picture in `path`, as its video
// decoder reports them (the MPEG family and H.264 do; MJPEG does not: empty).
std::set<int> QuantisersOf(const std::string& path);

}  // namespace orlisk::writertest
