#pragma once
// Frames of one pixel format and size whose memory goes back to the pool
// when the last reference to it is dropped (by the caller, or by an encoder
// that kept the picture a while). A stream of pictures so reuses a handful of
// buffers instead of allocating, zero-filling and faulting in fresh memory
// for every picture. Internal to the media code and its users; one thread
// takes from a pool, any thread may drop what it took.
#include "FfmpegPtr.h"

namespace orlisk {

class PicturePool {
 public:
  // A writable frame of `format`, width x height, its rows aligned for vector
  // code; its pixels are whatever the buffer held last. A new format or size
  // starts a new pool (the old buffers go as they are dropped). Raises
  // MediaError when memory runs out.
  AvFramePtr Take(AVPixelFormat format, int width, int height);

 private:
  BufferPoolPtr pool_;
  AVPixelFormat format_ = AV_PIX_FMT_NONE;
  int width_ = 0;
  int height_ = 0;
  int linesizes_[4] = {};
};

}  // namespace orlisk
