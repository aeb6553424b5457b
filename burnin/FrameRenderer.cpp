#include "FrameRenderer.h"

#include <algorithm>

namespace orlisk {

void DrawOutlinedText(TextTransform& transform, int x, int y, const std::string& text,
                      const SubtitleFont& font, Colour textColour, Colour borderColour,
                      bool outline, int level) {
  if (outline) {
    transform.DrawText(kDrawStrength, x - 1, y, text, font, borderColour, level);
    transform.DrawText(kDrawStrength, x + 1, y, text, font, borderColour, level);
    transform.DrawText(kDrawStrength, x, y + 1, text, font, borderColour, level);
    transform.DrawText(kDrawStrength, x, y - 1, text, font, borderColour, level);
  }
  // The text itself goes last so that it covers the inner half of the shifted copies.
  transform.DrawText(kDrawStrength, x, y, text, font, textColour, level);
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
      DrawOutlinedText(transform, due.X, due.Y, due.Text, font, due.TextColor, due.BorderColor,
                       due.Border, due.DrawLevel);
    } else if (t > due.EndTime) {
      // Passing a subtitle costs one frame without text, so the next one can
      // show from the following frame at the earliest.
      ++cursor;
    }
  }
  return transform.TakeFrame();
}

Frame RenderEditFrame(TextTransform& transform, const Frame& frame, const EditText& edit,
                      const SubtitleFont& font, const std::function<void()>& capture) {
  transform.LoadFrame(frame);
  if (capture) capture();
  // The whole typed text is drawn, even beyond what a stored subtitle keeps,
  // and even when empty, so the picture always follows the text box.
  DrawOutlinedText(transform, edit.X, edit.Y, edit.Text, font, edit.TextColor, edit.BorderColor,
                   edit.Border, edit.Level);
  return transform.TakeFrame();
}

}  // namespace orlisk
