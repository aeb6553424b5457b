#include "FrameRenderer.h"

#include <algorithm>

namespace orlisk {

void DrawOutlinedText(TextTransform& transform, const std::string& text, const SubtitlePlacement& place,
                      const SubtitleStyle& style) {
  transform.DrawText(kDrawStrength, place, text, style);
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
                          const SubtitleStyle& inUse) {
  transform.LoadFrame(frame);
  // Each subtitle keeps its own colours and outline; the font and backdrop are the ones in use.
  if (due) DrawOutlinedText(transform, due->Text, due->Place, StyleOf(*due, inUse));
  return transform.TakeFrame();
}

Frame RenderPreviewFrame(TextTransform& transform, const Frame& frame,
                         const std::vector<SubtitleEntry>& subtitles, int& cursor,
                         int previewCount, SubtitleTime t, const SubtitleStyle& inUse) {
  return RenderSubtitleFrame(transform, frame, DueSubtitle(subtitles, cursor, previewCount, t), inUse);
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
