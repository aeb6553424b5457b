#include "PicturePool.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include "MediaError.h"

namespace orlisk {
namespace {

// Rows start on 64-byte boundaries, as av_frame_get_buffer makes them, so
// that encoders' and swscale's vector code runs on them at full speed.
constexpr int kRowAlignment = 64;

int AlignUp(int value, int alignment) { return (value + alignment - 1) / alignment * alignment; }

}  // namespace

AvFramePtr PicturePool::Take(AVPixelFormat format, int width, int height) {
  if (!pool_ || format != format_ || width != width_ || height != height_) {
    pool_.reset();
    if (av_image_fill_linesizes(linesizes_, format, AlignUp(width, kRowAlignment)) < 0) {
      throw MediaError("Cannot make room for a picture of " + std::to_string(width) + "x" + std::to_string(height));
    }
    for (int& linesize : linesizes_) linesize = AlignUp(linesize, kRowAlignment);
    std::size_t planeSizes[4] = {};
    const std::ptrdiff_t strides[4] = {linesizes_[0], linesizes_[1], linesizes_[2], linesizes_[3]};
    if (av_image_fill_plane_sizes(planeSizes, format, height, strides) < 0) {
      throw MediaError("Cannot make room for a picture of " + std::to_string(width) + "x" + std::to_string(height));
    }
    std::size_t bytes = kRowAlignment;  // room for vector code reading past the last row
    for (std::size_t size : planeSizes) bytes += size;
    pool_.reset(av_buffer_pool_init(bytes, av_buffer_alloc));
    if (!pool_) throw MediaError("Out of memory while making room for pictures");
    format_ = format;
    width_ = width;
    height_ = height;
  }
  AvFramePtr frame(av_frame_alloc());
  if (!frame) throw MediaError("Out of memory while making room for a picture");
  frame->buf[0] = av_buffer_pool_get(pool_.get());
  if (!frame->buf[0]) throw MediaError("Out of memory while making room for a picture");
  frame->format = format;
  frame->width = width;
  frame->height = height;
  for (int i = 0; i < 4; ++i) frame->linesize[i] = linesizes_[i];
  if (av_image_fill_pointers(frame->data, format, height, frame->buf[0]->data, frame->linesize) < 0) {
    throw MediaError("Cannot make room for a picture of " + std::to_string(width) + "x" + std::to_string(height));
  }
  frame->extended_data = frame->data;
  return frame;
}

}  // namespace orlisk
