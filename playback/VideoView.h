#pragma once
// The picture on the main window. Mouse events reach the main window's
// commands directly from the widget, in view pixels.
#include "media/Frame.h"
#include "media/PictureShape.h"

namespace orlisk {

class VideoView {
 public:
  virtual ~VideoView() = default;
  // Shows the frame in its displayed shape (its pixel aspect kept): in the
  // view's FitPicture rectangle, black bars filling the rest; mouse positions
  // map to source pixels through this same rectangle. The view keeps the
  // frame for repainting: a caller that is done with its frame hands it over
  // (std::move) and saves a copy of the whole picture; one that keeps its
  // frame passes a copy.
  virtual void ShowFrame(Frame frame) = 0;
  // Blanks the picture.
  virtual void ClearView() = 0;
  virtual void setViewVisible(bool visible) = 0;
  virtual int viewWidth() const = 0;
  virtual int viewHeight() const = 0;
  // The hand cursor over the subtitle band, the default cursor elsewhere.
  virtual void setHandCursor(bool hand) = 0;
};

}  // namespace orlisk
