// The style dialog's "OK": the outline and backdrop chosen, and which
// subtitles take the colours and outline.
#include <algorithm>

#include "EditingCommands.h"
#include "PreviewCommands.h"
#include "settings/SubtitleBackdrop.h"

namespace orlisk {

bool EditingCommands::ApplyStyle(const StyleChoice& choice) {
  MainState& s = c_.Basics.State;
  // Only a whole list is refused: while a video is written nothing is at
  // hand, so the subtitle at hand asks for the style in use alone.
  if (choice.Scope == StyleScope::EverySubtitle && c_.Basics.RefuseWhileWriting()) return false;
  s.Style.BorderColor = choice.BorderColor;
  s.Style.BorderEnabled = choice.BorderEnabled;
  s.Style.Backdrop = choice.Backdrop;
  ProfileFile& settings = c_.Basics.Settings;
  settings.writeInteger("Color", "borderColor", static_cast<std::int32_t>(choice.BorderColor));
  settings.writeBool("Color", "Bborder", choice.BorderEnabled);
  WriteSubtitleBackdrop(settings, choice.Backdrop);

  std::vector<SubtitleEntry>& entries = s.Document.entries();
  if (choice.Scope == StyleScope::EverySubtitle) {
    const std::size_t rows = std::min(entries.size(), static_cast<std::size_t>(s.Document.rowCount()));
    for (std::size_t row = 0; row < rows; ++row) TakeColours(entries[row], s.Style);
  } else if (const int row = RowAtHand(); row >= 0) {
    TakeColours(entries[static_cast<std::size_t>(row)], s.Style);
  }
  c_.Preview.RefreshFrame();
  return true;
}

}  // namespace orlisk
