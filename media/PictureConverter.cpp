#include "PictureConverter.h"

#include <cstddef>
#include <string>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "MediaError.h"

namespace orlisk {
namespace {

std::string PixelFormatName(AVPixelFormat format) {
  const char* name = av_get_pix_fmt_name(format);
  return name ? name : "unknown";
}

// The frame's promise: rows of Width pixels of 4 bytes, Stride apart, all
// inside Pixels. A frame that breaks it would make swscale read past the end.
bool IsWellFormed(const Frame& frame) {
  if (frame.Width <= 0 || frame.Height <= 0 || frame.Stride < frame.Width * 4 || frame.Stride % 4 != 0) {
    return false;
  }
  const std::size_t needed = static_cast<std::size_t>(frame.Stride) * static_cast<std::size_t>(frame.Height - 1) +
                             static_cast<std::size_t>(frame.Width) * 4;
  return frame.Pixels.size() >= needed;
}

}  // namespace

Frame PictureConverter::ToFrame(const AVFrame& picture, int width, int height) {
  const auto sourceFormat = static_cast<AVPixelFormat>(picture.format);
  // swscale stops the program on a format it does not know, rather than failing.
  if (!sws_isSupportedInput(sourceFormat)) {
    throw MediaError("Cannot convert pictures of pixel format " + PixelFormatName(sourceFormat));
  }
  // Pictures for the writer keep their size: the fast flags keep that on
  // swscale's direct YUV-to-RGB path. Pictures scaled down for the view are
  // shown once, for a frame time: fast bilinear costs half of bilinear there
  // (3.4 against 7.3 ms from 1080p to 566x318) and looks as the view's own
  // bilinear scaling did.
  toFrame_.reset(sws_getCachedContext(toFrame_.release(), picture.width, picture.height, sourceFormat,
                                      width, height, AV_PIX_FMT_BGRA,
                                      SWS_FAST_BILINEAR, nullptr, nullptr,
                                      nullptr));
  if (!toFrame_) {
    throw MediaError("Cannot convert pictures of pixel format " + PixelFormatName(sourceFormat));
  }

  Frame frame;
  frame.Width = width;
  frame.Height = height;
  frame.Stride = width * 4;
  frame.Pixels.resize(static_cast<std::size_t>(frame.Stride) * static_cast<std::size_t>(height));
  std::uint8_t* destination[4] = {frame.Pixels.data(), nullptr, nullptr, nullptr};
  const int destinationStride[4] = {frame.Stride, 0, 0, 0};
  sws_scale(toFrame_.get(), picture.data, picture.linesize, 0, picture.height, destination,
            destinationStride);

  // A source with transparency would leave its alpha in the fourth byte; the
  // frame format promises 0xFF there.
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(sourceFormat);
  if (descriptor && (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA)) {
    for (std::size_t i = 3; i < frame.Pixels.size(); i += 4) frame.Pixels[i] = 0xFF;
  }
  return frame;
}

void PictureConverter::ToPicture(const Frame& frame, AVFrame& picture) {
  if (frame.empty()) throw MediaError("Cannot encode an empty frame");
  if (!IsWellFormed(frame)) {
    throw MediaError("Cannot encode a damaged frame of " + std::to_string(frame.Width) + " x " +
                     std::to_string(frame.Height) + " pixels");
  }
  const auto targetFormat = static_cast<AVPixelFormat>(picture.format);
  if (picture.width <= 0 || picture.height <= 0) {
    throw MediaError("Cannot encode pictures of " + std::to_string(picture.width) + " x " +
                     std::to_string(picture.height) + " pixels");
  }
  if (!sws_isSupportedOutput(targetFormat)) {
    throw MediaError("Cannot convert pictures to pixel format " + PixelFormatName(targetFormat));
  }
  // Written once per output picture: quality counts more than speed here.
  toPicture_.reset(sws_getCachedContext(toPicture_.release(), frame.Width, frame.Height, AV_PIX_FMT_BGRA,
                                        picture.width, picture.height, targetFormat,
                                        SWS_BICUBIC, nullptr, nullptr, nullptr));
  if (!toPicture_) {
    throw MediaError("Cannot convert pictures to pixel format " + PixelFormatName(targetFormat));
  }

  // Buffers of the caller's own (no reference count) are written as they are.
  int prepared = 0;
  if (picture.buf[0]) prepared = av_frame_make_writable(&picture);
  else if (!picture.data[0]) prepared = av_frame_get_buffer(&picture, 0);
  if (prepared < 0) throw MediaError::FromAv("Cannot make room for a picture to encode", prepared);

  const std::uint8_t* source[4] = {frame.Pixels.data(), nullptr, nullptr, nullptr};
  const int sourceStride[4] = {frame.Stride, 0, 0, 0};
  const int rows = sws_scale(toPicture_.get(), source, sourceStride, 0, frame.Height, picture.data,
                             picture.linesize);
  if (rows < 0) throw MediaError::FromAv("Cannot convert a frame for the encoder", rows);
  if (rows == 0) throw MediaError("Cannot convert a frame for the encoder");
}

}  // namespace orlisk
