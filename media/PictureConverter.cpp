#include "PictureConverter.h"

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

// swscale's vector code writes pixels in whole blocks, so a row whose width is
// not a multiple of the block is written past its end: into the next row,
// which is written over afterwards, and after the last row past the picture
// (32 bytes beyond a 2x2 picture's 16). The frame's buffer carries room for one
// such block of the widest vector code (64 pixels) behind its rows; rows keep
// their place and stride.
constexpr std::size_t kWritePastEndBytes = 64 * 4;

// swscale's vector YUV-to-RGB code converts rows in blocks of eight pixels,
// and where a block would pass the row's stride it leaves the row's last
// pixels unconverted: black columns at the right of a picture 100, 134 or
// 1046 pixels wide. Rows are therefore laid out 16 pixels apart at least.
constexpr int kRowAlignPixels = 16;

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
  frame.Stride = (width + kRowAlignPixels - 1) / kRowAlignPixels * kRowAlignPixels * 4;
  const std::size_t rowBytes = static_cast<std::size_t>(frame.Stride) * static_cast<std::size_t>(height);
  frame.Pixels.resize(rowBytes + kWritePastEndBytes);
  std::uint8_t* destination[4] = {frame.Pixels.data(), nullptr, nullptr, nullptr};
  const int destinationStride[4] = {frame.Stride, 0, 0, 0};
  sws_scale(toFrame_.get(), picture.data, picture.linesize, 0, picture.height, destination,
            destinationStride);

  // A source with transparency would leave its alpha in the fourth byte; the
  // frame format promises 0xFF there.
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(sourceFormat);
  if (descriptor && (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA)) {
    for (std::size_t i = 3; i < rowBytes; i += 4) frame.Pixels[i] = 0xFF;
  }
  return frame;
}

}  // namespace orlisk
