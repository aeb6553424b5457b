#pragma once
// What the picture shows: the edit or preview renderer, the still redraw, the
// preview switch, the font choice and dragging the subtitle's place.
#include <functional>
#include <string>

#include "CommandBasics.h"
#include "Seams.h"
#include "burnin/TextTransform.h"
#include "playback/VideoReader.h"
#include "playback/VideoView.h"

namespace orlisk {

// Pixel width of one line of text in a font, as the text transform draws it.
using TextWidthFunction = std::function<int(const std::string& utf8Line, const SubtitleFont& font)>;

class PreviewCommands {
 public:
  struct Context {
    CommandBasics& Basics;
    TextMemo& Memo;              // ed_text: the text the edit renderer draws
    VideoReader& Reader;         // VideoFileRead
    VideoView& View;             // VideoView1
    TextTransform& Transform;    // VideoTransform1
    MouseButtons& Mouse;
    FontChooser& Fonts;          // FontDialog1
    TextWidthFunction TextWidth;  // where a centred text's lines are drawn, for grabbing it
  };
  explicit PreviewCommands(Context context) : c_(context) {}

  Frame RenderFrame(const Frame& frame);  // edit or preview renderer by EditMode
  void RefreshFrame();
  void ed_textChange();
  void cb_prsubClick(bool ticked);
  void ChooseSubtitleFont();
  void VideoViewMouseMove(int x, int y);
  void VideoViewMouseUp();

 private:
  // The edit renderer's first step: what the window shows goes into the
  // subtitle at hand.
  void CaptureAtHand();
  // Where the text at the placement begins on a picture `videoWidth` pixels
  // wide: X, or for a centred text the left edge of its widest line.
  int DrawnLeft(int videoWidth) const;

  Context c_;
};

}  // namespace orlisk
