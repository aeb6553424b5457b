#pragma once
// What the picture shows: the edit or preview renderer, the still redraw, the
// preview switch, the font choice and dragging the subtitle's place.
#include "CommandBasics.h"
#include "Seams.h"
#include "burnin/TextTransform.h"
#include "playback/VideoReader.h"
#include "playback/VideoView.h"

namespace orlisk {

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

  Context c_;
};

}  // namespace orlisk
