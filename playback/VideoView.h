#pragma once
// The picture on the main window. Mouse events reach the main window's
// commands directly from the widget, in view pixels.
#include <algorithm>

#include "media/Frame.h"

namespace orlisk {

// Where a picture is drawn in a view: as large as fits with its aspect ratio
// kept, centred, black bars filling the rest. Mouse positions map to source
// pixels through this same rectangle.
struct PictureRect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

inline PictureRect FitPicture(int viewWidth, int viewHeight, int pictureWidth, int pictureHeight) {
  if (viewWidth <= 0 || viewHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return {};
  // Compare viewWidth / viewHeight with pictureWidth / pictureHeight without rounding.
  const long long viewByPicture = static_cast<long long>(viewWidth) * pictureHeight;
  const long long pictureByView = static_cast<long long>(pictureWidth) * viewHeight;
  PictureRect fitted;
  if (viewByPicture > pictureByView) {  // the view is wider: bars left and right
    fitted.Height = viewHeight;
    fitted.Width = std::max(1, static_cast<int>((pictureByView + pictureHeight / 2) / pictureHeight));
  } else {  // the view is taller (or the same shape): bars above and below
    fitted.Width = viewWidth;
    fitted.Height = std::max(1, static_cast<int>((viewByPicture + pictureWidth / 2) / pictureWidth));
  }
  fitted.X = (viewWidth - fitted.Width) / 2;
  fitted.Y = (viewHeight - fitted.Height) / 2;
  return fitted;
}

class VideoView {
 public:
  virtual ~VideoView() = default;
  // Shows the frame in the view's FitPicture rectangle. The view keeps the
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
