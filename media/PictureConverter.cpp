#include "PictureConverter.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include "MediaError.h"

namespace orlisk {

Frame PictureConverter::Convert(const AVFrame& picture, int width, int height) {
  const auto sourceFormat = static_cast<AVPixelFormat>(picture.format);
  // Usually no scaling happens, only the colour conversion; the fast flags
  // keep that on swscale's direct YUV-to-RGB path.
  context_.reset(sws_getCachedContext(context_.release(), picture.width, picture.height, sourceFormat,
                                      width, height, AV_PIX_FMT_BGRA,
                                      SWS_FAST_BILINEAR, nullptr, nullptr,
                                      nullptr));
  if (!context_) {
    throw MediaError(std::string("Cannot convert pictures of pixel format ") +
                     (av_get_pix_fmt_name(sourceFormat) ? av_get_pix_fmt_name(sourceFormat) : "unknown"));
  }

  Frame frame;
  frame.Width = width;
  frame.Height = height;
  frame.Stride = width * 4;
  frame.Pixels.resize(static_cast<std::size_t>(frame.Stride) * static_cast<std::size_t>(height));
  std::uint8_t* destination[4] = {frame.Pixels.data(), nullptr, nullptr, nullptr};
  const int destinationStride[4] = {frame.Stride, 0, 0, 0};
  sws_scale(context_.get(), picture.data, picture.linesize, 0, picture.height, destination,
            destinationStride);

  // A source with transparency would leave its alpha in the fourth byte; the
  // frame format promises 0xFF there.
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(sourceFormat);
  if (descriptor && (descriptor->flags & AV_PIX_FMT_FLAG_ALPHA)) {
    for (std::size_t i = 3; i < frame.Pixels.size(); i += 4) frame.Pixels[i] = 0xFF;
  }
  return frame;
}

}  // namespace orlisk
