#pragma once
// One subtitle as the renderers and the companion file see it.
#include <cstdint>
#include <string>

#include "SubtitleStyle.h"
#include "SubtitleTime.h"

namespace orlisk {

// The stored text holds at most this many bytes (the list row keeps the whole text).
inline constexpr std::size_t kMaxEntryTextBytes = 255;

struct SubtitleEntry {
  SubtitlePlacement Place;     // the text's top-left corner; DrawLevel 240 for new subtitles
  std::string Text;            // UTF-8, at most kMaxEntryTextBytes bytes, lines joined by "\r\n"
  std::int32_t Tag = 0;        // SubtitleCursor at the last capture; -1 in a reset buffer
  Colour BorderColor = 0;
  Colour TextColor = 0;
  std::uint32_t Font = 0;      // identifies the font in use at capture; never read back to draw
  bool Border = false;         // draw the outline
  SubtitleTime BeginTime = 0;
  SubtitleTime EndTime = 0;

  bool operator==(const SubtitleEntry&) const = default;
};

// An entry's own colours and outline, drawn in the font and with the backdrop
// of `inUse` (one for all subtitles): entries keep neither.
inline SubtitleStyle StyleOf(const SubtitleEntry& entry, const SubtitleStyle& inUse) {
  return SubtitleStyle{.Font = inUse.Font, .TextColor = entry.TextColor, .BorderColor = entry.BorderColor,
                       .BorderEnabled = entry.Border, .Backdrop = inUse.Backdrop};
}

// Gives `entry` the colours and outline of `style` (its font is not kept).
inline void TakeColours(SubtitleEntry& entry, const SubtitleStyle& style) {
  entry.TextColor = style.TextColor;
  entry.BorderColor = style.BorderColor;
  entry.Border = style.BorderEnabled;
}

}  // namespace orlisk
