// What the picture shows: the edit or preview renderer, the still redraw, the
// preview switch, the font choice and dragging the subtitle's place.
#include "PreviewCommands.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "burnin/FrameRenderer.h"

namespace orlisk {
namespace {

// A drag keeps a centred text centred until the mouse has gone this many view
// pixels sideways from where it took the text: a hand moving a line up or
// down strays a few pixels to the side (about the width of a letter at the
// view's size), and a line knocked off the centre by that could only be put
// back by eye. Past it the text follows the mouse and keeps its x.
constexpr int kSidewaysDragPixels = 8;

int WidestLine(std::string_view text, const SubtitleFont& font, const TextWidthFunction& width) {
  int widest = 0;
  while (true) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (width) widest = std::max(widest, width(std::string(line), font));
    if (end == std::string_view::npos) return widest;
    text.remove_prefix(end + 1);
  }
}

}  // namespace

Frame PreviewCommands::RenderFrame(const Frame& frame) {
  MainState& s = c_.Basics.State;
  if (s.EditMode) {
    const EditText edit{.Text = c_.Memo.text(), .Place = s.Placement, .Style = s.Style};
    return RenderEditFrame(c_.Transform, frame, edit, [this] { CaptureAtHand(); });
  }
  // The renderer never lets the cursor pass the list, which may have shrunk
  // below PreviewCount since preview playback began.
  return RenderPreviewFrame(c_.Transform, frame, s.Document.entries(), s.SubtitleCursor,
                            s.PreviewCount, c_.Reader.GetPosition(), s.Style);
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

  // View and source pixels meet in the rectangle the picture is drawn in (its
  // displayed shape, wide or narrow pixels counted); a drag over the black
  // bars holds the mouse at the picture's edge.
  const PictureRect picture = FitPicture(viewWidth, viewHeight, videoWidth, videoHeight, c_.Reader.GetPixelAspect());
  if (s.AtHand.IsDraggingSubtitle()) {
    const int onPictureX = std::clamp(x, picture.X, picture.X + picture.Width - 1);
    const int onPictureY = std::clamp(y, picture.Y, picture.Y + picture.Height - 1);
    const int left = onPictureX - s.DragOffsetX - picture.X;  // view pixels from the picture's edge
    if (s.Placement.Centred &&
        std::abs(left - MulDiv(DrawnLeft(videoWidth), picture.Width, videoWidth)) > kSidewaysDragPixels) {
      s.Placement.Centred = false;
    }
    if (!s.Placement.Centred) s.Placement.X = MulDiv(left, videoWidth, picture.Width);
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
    // The text is taken where it is drawn, which for a centred text is not at X.
    s.DragOffsetX = x - (picture.X + MulDiv(DrawnLeft(videoWidth), picture.Width, videoWidth));
  }
}

int PreviewCommands::DrawnLeft(int videoWidth) const {
  const MainState& s = c_.Basics.State;
  if (!s.Placement.Centred) return s.Placement.X;
  return CentredLineX(videoWidth, WidestLine(c_.Memo.text(), s.Style.Font, c_.TextWidth));
}

void PreviewCommands::VideoViewMouseUp() { c_.Basics.State.AtHand.SetDragging(false); }

}  // namespace orlisk
