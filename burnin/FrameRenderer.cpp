#include "FrameRenderer.h"

#include <algorithm>

namespace orlisk {

void DrawOutlinedText(TextTransform& transform, const std::string& text, const SubtitlePlacement& place,
                      const SubtitleStyle& style) {
  const int x = place.X;
  const int y = place.Y;
  const int level = place.DrawLevel;
  const SubtitleFont& font = style.Font;
  const Colour borderColour = style.BorderColor;
  if (style.BorderEnabled) {
    transform.DrawText(kDrawStrength, x - 1, y, text, font, borderColour, level);
    transform.DrawText(kDrawStrength, x + 1, y, text, font, borderColour, level);
    transform.DrawText(kDrawStrength, x, y + 1, text, font, borderColour, level);
    transform.DrawText(kDrawStrength, x, y - 1, text, font, borderColour, level);
  }
  // The text itself goes last so that it covers the inner half of the shifted copies.
  transform.DrawText(kDrawStrength, x, y, text, font, style.TextColor, level);
}

Frame RenderPreviewFrame(TextTransform& transform, const Frame& frame,
                         const std::vector<SubtitleEntry>& subtitles, int& cursor,
                         int previewCount, SubtitleTime t, const SubtitleFont& font) {
  transform.LoadFrame(frame);
  // The list may have shrunk since preview started; the cursor never reads past it.
  const int bound = std::min<long long>(previewCount, static_cast<long long>(subtitles.size()));
  if (cursor >= 0 && cursor < bound) {
    const SubtitleEntry& due = subtitles[static_cast<std::size_t>(cursor)];
    if (due.BeginTime < t && t < due.EndTime) {
      // Each subtitle keeps its own colours and outline; the font is the one in use.
      DrawOutlinedText(transform, due.Text, due.Place, StyleOf(due, font));
    } else if (t > due.EndTime) {
      // Passing a subtitle costs one frame without text, so the next one can
      // show from the following frame at the earliest.
      ++cursor;
    }
  }
  return transform.TakeFrame();
}

Frame RenderEditFrame(TextTransform& transform, const Frame& frame, const EditText& edit,
                      const std::function<void()>& capture) {
  transform.LoadFrame(frame);
  if (capture) capture();
  // The whole typed text is drawn, even beyond what a stored subtitle keeps,
  // and even when empty, so the picture always follows the text box.
  DrawOutlinedText(transform, edit.Text, edit.Place, edit.Style);
  return transform.TakeFrame();
}

}  // namespace orlisk
