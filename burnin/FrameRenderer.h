#pragma once
// The one subtitle renderer, used by the view, by preview playback and by the
// written video. It keeps no state: the caller owns the cursor.
#include <functional>
#include <string>
#include <vector>

#include "SubtitleFont.h"
#include "TextTransform.h"
#include "subtitles/SubtitleEntry.h"

namespace orlisk {

inline constexpr double kDrawStrength = 0.9;

// Outlined text: with the outline on, four copies in the border colour at
// (x-1,y), (x+1,y), (x,y+1), (x,y-1), then the text in its colour at (x,y).
void DrawOutlinedText(TextTransform& transform, int x, int y, const std::string& text,
                      const SubtitleFont& font, Colour textColour, Colour borderColour,
                      bool outline, int level);

// The finished subtitle due at time `t` (the reader's position after reading
// the frame). Draws subtitles[cursor] when begin < t < end; when t > end,
// advances the cursor by one and draws nothing; never passes `previewCount`.
Frame RenderPreviewFrame(TextTransform& transform, const Frame& frame,
                         const std::vector<SubtitleEntry>& subtitles, int& cursor,
                         int previewCount, SubtitleTime t, const SubtitleFont& font);

// What the edit renderer draws: the typed text, whole, at the current placement.
struct EditText {
  std::string Text;
  int X = 0;
  int Y = 0;
  int Level = 240;
  Colour TextColor = 0x00FFFFFF;
  Colour BorderColor = 0x00FF0000;
  bool Border = true;
};

// Runs `capture` (which stores the typed text into the subtitle being edited),
// then draws `edit` on the frame, even when its text is empty.
Frame RenderEditFrame(TextTransform& transform, const Frame& frame, const EditText& edit,
                      const SubtitleFont& font, const std::function<void()>& capture);

}  // namespace orlisk
