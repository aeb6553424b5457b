// What the picture shows: the edit or preview renderer, the still redraw, the
// preview switch, the font choice and dragging the subtitle's place.
#include "PreviewCommands.h"

#include <algorithm>

#include "burnin/FrameRenderer.h"

namespace orlisk {

Frame PreviewCommands::RenderFrame(const Frame& frame) {
  MainState& s = c_.Basics.State;
  if (s.EditMode) {
    const EditText edit{.Text = c_.Memo.text(), .Place = s.Placement, .Style = s.Style};
    return RenderEditFrame(c_.Transform, frame, edit, [this] { CaptureAtHand(); });
  }
  // The renderer never lets the cursor pass the list, which may have shrunk
  // below PreviewCount since preview playback began.
  return RenderPreviewFrame(c_.Transform, frame, s.Document.entries(), s.SubtitleCursor,
                            s.PreviewCount, c_.Reader.GetPosition(), s.Style.Font);
}

void PreviewCommands::CaptureAtHand() {
  MainState& s = c_.Basics.State;
  s.AtHand.Capture(s.Document, WindowSubtitle{.Text = c_.Memo.text(),
                                              .MemoEnabled = c_.Memo.isEnabled(),
                                              .Place = s.Placement,
                                              .Style = s.Style,
                                              .Cursor = s.SubtitleCursor});
}

void PreviewCommands::ed_textChange() { RefreshFrame(); }

void PreviewCommands::RefreshFrame() {
  MainState& s = c_.Basics.State;
  if (s.IsPlaying || s.IsWriting || s.VideoPath.empty()) return;
  if (s.CurrentFrame.empty()) {
    // No picture at this position (past the last frame): nothing to draw on,
    // but typing still reaches the subtitle being edited.
    if (s.EditMode) CaptureAtHand();
    return;
  }
  Frame shown = RenderFrame(s.CurrentFrame);
  c_.View.ShowFrame(shown);
}

void PreviewCommands::cb_prsubClick(bool ticked) { c_.Basics.State.EditMode = !ticked; }

void PreviewCommands::ChooseSubtitleFont() {
  MainState& s = c_.Basics.State;
  std::optional<SubtitleStyle> chosen = c_.Fonts.chooseFont(s.Style);
  if (!chosen) return;
  s.Style = *chosen;
  RefreshFrame();
}

void PreviewCommands::VideoViewMouseMove(int x, int y) {
  MainState& s = c_.Basics.State;
  if (s.VideoPath.empty()) return;
  int viewWidth = c_.View.viewWidth();
  int viewHeight = c_.View.viewHeight();
  int videoWidth = c_.Reader.GetWidth();
  int videoHeight = c_.Reader.GetHeight();
  if (viewWidth <= 0 || viewHeight <= 0 || videoWidth <= 0 || videoHeight <= 0) return;

  bool nearEdge = x >= viewWidth - 10 || y >= viewHeight - 10;
  if (nearEdge) s.AtHand.SetDragging(false);

  // View and source pixels meet in the rectangle the picture is drawn in; a
  // drag over the black bars holds the mouse at the picture's edge.
  const PictureRect picture = FitPicture(viewWidth, viewHeight, videoWidth, videoHeight);
  if (s.AtHand.IsDraggingSubtitle()) {
    const int onPictureX = std::clamp(x, picture.X, picture.X + picture.Width - 1);
    const int onPictureY = std::clamp(y, picture.Y, picture.Y + picture.Height - 1);
    s.Placement.X = MulDiv(onPictureX - s.DragOffsetX - picture.X, videoWidth, picture.Width);
    s.Placement.Y = MulDiv(onPictureY - s.DragOffsetY - picture.Y, videoHeight, picture.Height);
    RefreshFrame();
    return;
  }

  int top = picture.Y + MulDiv(s.Placement.Y, picture.Height, videoHeight);
  bool onBand = top < y && y < top + s.Style.Font.PointSize;
  c_.View.setHandCursor(onBand);
  // Near the edge a drag ends and does not start again on the same move.
  if (onBand && !nearEdge && c_.Mouse.leftButtonDown()) {
    s.AtHand.SetDragging(true);
    s.DragOffsetY = y - top;
    s.DragOffsetX = x - (picture.X + MulDiv(s.Placement.X, picture.Width, videoWidth));
  }
}

void PreviewCommands::VideoViewMouseUp() { c_.Basics.State.AtHand.SetDragging(false); }

}  // namespace orlisk
