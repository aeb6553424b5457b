// What the picture shows: the edit or preview renderer, the still redraw, the
// preview switch, the font choice and dragging the subtitle's place.
#include "PreviewCommands.h"
#include "EditingCommands.h"
#include <algorithm>

#include "burnin/FrameRenderer.h"

namespace orlisk {

Frame PreviewCommands::RenderFrame(const Frame& frame) {
  MainState& s = c_.Basics.State;
  if (s.EditMode) {
    EditText edit;
    edit.Text = c_.Memo.text();
    edit.X = s.SubtitleX;
    edit.Y = s.SubtitleY;
    edit.Level = s.DrawLevel;
    edit.TextColor = s.TextColor;
    edit.BorderColor = s.BorderColor;
    edit.Border = s.BorderEnabled;
    return RenderEditFrame(c_.Transform, frame, edit, s.Font, [this] { c_.Editing.CaptureEdit(); });
  }
  // The renderer never lets the cursor pass the list, which may have shrunk
  // below PreviewCount since preview playback began.
  return RenderPreviewFrame(c_.Transform, frame, s.Document.entries(), s.SubtitleCursor,
                            s.PreviewCount, c_.Reader.GetPosition(), s.Font);
}

void PreviewCommands::ed_textChange() {
  // Any change after a pause (typing, a new subtitle, a chosen row) is the
  // memo's real content again.
  c_.Basics.State.MemoEmptiedByPause = false;
  RefreshFrame();
}

void PreviewCommands::RefreshFrame() {
  MainState& s = c_.Basics.State;
  if (s.IsPlaying || s.IsWriting || s.VideoPath.empty()) return;
  if (s.CurrentFrame.empty()) {
    // No picture at this position (past the last frame): nothing to draw on,
    // but typing still reaches the subtitle being edited.
    if (s.EditMode) c_.Editing.CaptureEdit();
    return;
  }
  Frame shown = RenderFrame(s.CurrentFrame);
  c_.View.ShowFrame(shown);
}

void PreviewCommands::cb_prsubClick(bool ticked) { c_.Basics.State.EditMode = !ticked; }

void PreviewCommands::ChooseSubtitleFont() {
  MainState& s = c_.Basics.State;
  std::optional<SubtitleFont> chosen = c_.Fonts.chooseFont(s.Font);
  if (!chosen) return;
  s.Font = *chosen;
  s.TextColor = chosen->Color;
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
  if (nearEdge) s.IsDraggingSubtitle = false;

  // View and source pixels meet in the rectangle the picture is drawn in; a
  // drag over the black bars holds the mouse at the picture's edge.
  const PictureRect picture = FitPicture(viewWidth, viewHeight, videoWidth, videoHeight);
  if (s.IsDraggingSubtitle) {
    const int onPictureX = std::clamp(x, picture.X, picture.X + picture.Width - 1);
    const int onPictureY = std::clamp(y, picture.Y, picture.Y + picture.Height - 1);
    s.SubtitleX = MulDiv(onPictureX - s.DragOffsetX - picture.X, videoWidth, picture.Width);
    s.SubtitleY = MulDiv(onPictureY - s.DragOffsetY - picture.Y, videoHeight, picture.Height);
    RefreshFrame();
    return;
  }

  int top = picture.Y + MulDiv(s.SubtitleY, picture.Height, videoHeight);
  bool onBand = top < y && y < top + s.Font.PointSize;
  c_.View.setHandCursor(onBand);
  // Near the edge a drag ends and does not start again on the same move.
  if (onBand && !nearEdge && c_.Mouse.leftButtonDown()) {
    s.IsDraggingSubtitle = true;
    s.DragOffsetY = y - top;
    s.DragOffsetX = x - (picture.X + MulDiv(s.SubtitleX, picture.Width, videoWidth));
  }
}

void PreviewCommands::VideoViewMouseUp() { c_.Basics.State.IsDraggingSubtitle = false; }

}  // namespace orlisk
