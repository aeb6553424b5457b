#pragma once
// How many pictures the reader keeps decoded (and converted) ahead of the
// caller. Internal to the reader; a header of its own so that the rule can be
// tested without a file of every size.
#include <algorithm>
#include <cstddef>

namespace orlisk {

// Enough pictures to ride over a slow one (a key frame) while playing.
constexpr std::size_t kMostPicturesAhead = 4;
// Pictures of any size all four of would take memory the size of the source
// many times over: at 16000x8000 one picture is about 700 MB (192 MB decoded,
// 512 MB converted), four of them 2.8 GB. The bytes held ahead are bounded as
// well, at a budget that four UHD pictures at their full size (46 MB each)
// still fit, so that playback and burning of ordinary sizes keep their four.
constexpr std::size_t kMostBytesAhead = std::size_t{192} << 20;

// The pictures to keep ahead when each holds `pictureBytes`: as many as the
// budget takes, but always one (the reader cannot work with fewer) and never
// more than four.
constexpr std::size_t PicturesAhead(std::size_t pictureBytes) {
  if (pictureBytes == 0) return kMostPicturesAhead;
  return std::clamp<std::size_t>(kMostBytesAhead / pictureBytes, 1, kMostPicturesAhead);
}

}  // namespace orlisk
