#include "FrameRenderer.h"

#include <algorithm>

namespace orlisk {

void DrawOutlinedText(TextTransform& transform, const std::string& text, const SubtitlePlacement& place,
                      const SubtitleStyle& style) {
  // The transform measures the lines of a centred text: only it knows the
  // glyphs and the picture it draws on.
  const auto draw = [&](int dx, int dy, Colour colour) {
    if (place.Centred) {
      transform.DrawCentredText(kDrawStrength, dx, place.Y + dy, text, style.Font, colour, place.DrawLevel);
    } else {
      transform.DrawText(kDrawStrength, place.X + dx, place.Y + dy, text, style.Font, colour, place.DrawLevel);
    }
  };
  if (style.BorderEnabled) {
    draw(-1, 0, style.BorderColor);
    draw(1, 0, style.BorderColor);
    draw(0, 1, style.BorderColor);
    draw(0, -1, style.BorderColor);
  }
  // The text itself goes last so that it covers the inner half of the shifted copies.
  draw(0, 0, style.TextColor);
}

const SubtitleEntry* DueSubtitle(const std::vector<SubtitleEntry>& subtitles, int& cursor, int previewCount,
                                 SubtitleTime t) {
  // The list may have shrunk since preview started; the cursor never reads past it.
  const int bound = std::min<long long>(previewCount, static_cast<long long>(subtitles.size()));
  if (cursor < 0 || cursor >= bound) return nullptr;
  const SubtitleEntry& due = subtitles[static_cast<std::size_t>(cursor)];
  if (due.BeginTime < t && t < due.EndTime) return &due;
  // Passing a subtitle costs one frame without text, so the next one can
  // show from the following frame at the earliest.
  if (t > due.EndTime) ++cursor;
  return nullptr;
}

Frame RenderSubtitleFrame(TextTransform& transform, const Frame& frame, const SubtitleEntry* due,
                          const SubtitleFont& font) {
  transform.LoadFrame(frame);
  // Each subtitle keeps its own colours and outline; the font is the one in use.
  if (due) DrawOutlinedText(transform, due->Text, due->Place, StyleOf(*due, font));
  return transform.TakeFrame();
}

Frame RenderPreviewFrame(TextTransform& transform, const Frame& frame,
                         const std::vector<SubtitleEntry>& subtitles, int& cursor,
                         int previewCount, SubtitleTime t, const SubtitleFont& font) {
  return RenderSubtitleFrame(transform, frame, DueSubtitle(subtitles, cursor, previewCount, t), font);
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
