#pragma once
// Draws subtitle text on frames: load a frame, draw texts, take the finished
// frame. User-interface thread only (the write job runs there too).
#include <string>

#include "media/Frame.h"
#include "subtitles/SubtitleStyle.h"

namespace orlisk {

// A rectangle in place pixels (the source picture's, Frame::PlaceWidth).
struct TextArea {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;

  bool empty() const { return Width <= 0 || Height <= 0; }
  bool operator==(const TextArea&) const = default;
};

class TextTransform {
 public:
  virtual ~TextTransform() = default;
  // The frame becomes the surface of the following draws (copied; the caller
  // keeps it). A Premultiplied frame is drawn on as a transparent surface:
  // the text's own pixels, with their coverage, for blending elsewhere.
  virtual void LoadFrame(const Frame& frame) = 0;
  // Draws UTF-8 text (line breaks "\r\n" or "\n" start a new line under the
  // previous one) with its top-left corner at the place's (X, Y), or with each
  // line centred on the loaded picture's place width when the place is
  // centred. In this order: the style's backdrop (a shadow or a box), the
  // outline when it is on (a stroke around the letters whose width follows
  // the font's size), the letters in the text colour. `strength` (always 0.9)
  // and the place's level are passed through by the callers.
  virtual void DrawText(double strength, const SubtitlePlacement& place, const std::string& text,
                        const SubtitleStyle& style) = 0;
  // Every pixel DrawText would touch on a picture `placeWidth` place pixels
  // wide, outline stroke and backdrop included: a bitmap of this size at this
  // place holds the whole drawn text. Empty when nothing would be drawn.
  virtual TextArea DrawnArea(int placeWidth, const SubtitlePlacement& place, const std::string& text,
                             const SubtitleStyle& style) = 0;
  // The loaded frame with everything drawn since LoadFrame; an empty frame
  // when none is loaded (before the first LoadFrame, and after a TakeFrame).
  virtual Frame TakeFrame() = 0;
};

}  // namespace orlisk
