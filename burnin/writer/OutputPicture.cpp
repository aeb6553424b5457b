#include "OutputPicture.h"

#include <algorithm>
#include <cstdlib>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include "media/MediaError.h"

namespace orlisk {

OutputPicture PlanOutputPicture(int sourceWidth, int sourceHeight, PixelAspect sourceAspect, int wantedWidth,
                                int wantedHeight, bool carriesAspect, int stepX, int stepY, int maximum) {
  OutputPicture output;
  const bool noSize = wantedWidth <= 0 || wantedHeight <= 0;
  const bool sourceSize = noSize || (wantedWidth == sourceWidth && wantedHeight == sourceHeight);
  if (sourceSize && carriesAspect) {
    output.Aspect = sourceAspect;
    wantedWidth = sourceWidth;
    wantedHeight = sourceHeight;
  } else if (noSize) {
    // Square pixels as wide as the picture is shown: its height stays whole.
    wantedWidth = DisplayWidth(sourceWidth, sourceAspect);
    wantedHeight = sourceHeight;
  }
  output.Width = NearestMultiple(wantedWidth, stepX, maximum);
  output.Height = NearestMultiple(wantedHeight, stepY, maximum);
  const bool withinAStep =
      std::abs(output.Width - wantedWidth) < stepX && std::abs(output.Height - wantedHeight) < stepY;
  if (sourceSize && (carriesAspect || noSize) && withinAStep) {
    // The source's own shape: it fills the frame, moved less than a step by
    // the encoder's block size rather than framed by a bar of a step.
    output.Picture = {0, 0, output.Width, output.Height};
  } else {
    output.Picture = FitPictureAligned(output.Width, output.Height, output.Aspect, sourceWidth, sourceHeight,
                                       sourceAspect, stepX, stepY);
  }
  return output;
}

PictureWindow WindowOf(const AVFrame& frame, const PictureRect& rect) {
  const auto format = static_cast<AVPixelFormat>(frame.format);
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
  const int planes = av_pix_fmt_count_planes(format);
  PictureWindow window;
  for (int plane = 0; plane < std::min(planes, 4); ++plane) {
    const bool chroma = plane == 1 || plane == 2;
    const int top = chroma && descriptor ? rect.Y >> descriptor->log2_chroma_h : rect.Y;
    // The bytes of rect.X pixels in this plane, chroma subsampling counted.
    const int left = std::max(0, av_image_get_linesize(format, rect.X, plane));
    window.Data[plane] = frame.data[plane] + static_cast<std::ptrdiff_t>(top) * frame.linesize[plane] + left;
    window.Linesize[plane] = frame.linesize[plane];
  }
  return window;
}

void PaintAround(AVFrame& frame, const PictureRect& rect) {
  const PictureRect bars[] = {
      {0, 0, frame.width, rect.Y},                                                   // above
      {0, rect.Y + rect.Height, frame.width, frame.height - rect.Y - rect.Height},  // below
      {0, rect.Y, rect.X, rect.Height},                                              // left
      {rect.X + rect.Width, rect.Y, frame.width - rect.X - rect.Width, rect.Height},  // right
  };
  for (const PictureRect& bar : bars) {
    if (bar.Width <= 0 || bar.Height <= 0) continue;
    PictureWindow window = WindowOf(frame, bar);
    const ptrdiff_t linesizes[4] = {window.Linesize[0], window.Linesize[1], window.Linesize[2], window.Linesize[3]};
    const int painted = av_image_fill_black(window.Data, linesizes, static_cast<AVPixelFormat>(frame.format),
                                            frame.color_range, bar.Width, bar.Height);
    if (painted < 0) throw MediaError::FromAv("Cannot paint the bars around the picture", painted);
  }
}

}  // namespace orlisk
