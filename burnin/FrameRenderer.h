#pragma once
// The one subtitle renderer, used by the view, by preview playback and by the
// written video. It keeps no state: the caller owns the cursor.
#include <functional>
#include <string>
#include <vector>

#include "subtitles/SubtitleStyle.h"
#include "TextTransform.h"
#include "subtitles/SubtitleEntry.h"

namespace orlisk {

inline constexpr double kDrawStrength = 0.9;

// Outlined text at its place, with the style's backdrop behind it: one draw
// of the transform, which strokes the outline and lays the backdrop. A centred
// place has each line centred on the picture's width (in the source's pixels,
// whatever size the picture was scaled to).
void DrawOutlinedText(TextTransform& transform, const std::string& text, const SubtitlePlacement& place,
                      const SubtitleStyle& style);

// The finished subtitle due at time `t` (the reader's position after reading
// the frame): subtitles[cursor] when begin < t < end; when t > end, none, and
// the cursor advances by one; never passes `previewCount`. None otherwise.
const SubtitleEntry* DueSubtitle(const std::vector<SubtitleEntry>& subtitles, int& cursor, int previewCount,
                                 SubtitleTime t);

// The frame with `due` drawn on it in its own colours and outline, with the
// font and backdrop of `inUse`; the frame as it is when nothing is due.
Frame RenderSubtitleFrame(TextTransform& transform, const Frame& frame, const SubtitleEntry* due,
                          const SubtitleStyle& inUse);

// RenderSubtitleFrame of the DueSubtitle.
Frame RenderPreviewFrame(TextTransform& transform, const Frame& frame,
                         const std::vector<SubtitleEntry>& subtitles, int& cursor,
                         int previewCount, SubtitleTime t, const SubtitleStyle& inUse);

// What the edit renderer draws: the typed text, whole, at the current
// placement in the current style.
struct EditText {
  std::string Text;
  SubtitlePlacement Place{.X = 0, .Y = 0, .DrawLevel = 240};
  SubtitleStyle Style;
};

// Runs `capture` (which stores the typed text into the subtitle being edited),
// then draws `edit` on the frame, even when its text is empty.
Frame RenderEditFrame(TextTransform& transform, const Frame& frame, const EditText& edit,
                      const std::function<void()>& capture);

}  // namespace orlisk
