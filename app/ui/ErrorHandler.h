#pragma once
// What the user sees when a command fails with an error nobody handled: not
// the error, but the offer to save the subtitles.
#include <functional>

#include "app/core/Seams.h"
#include "app/language/Language.h"

namespace orlisk {

// Asks the "Exception" confirmation ("A system error occurs, whether save
// subtitle?" by default); Yes runs `saveSubtitles` (the same command as the
// "savesubtitle" button, guards included), No does nothing more.
void HandleAppException(MessageBoxes& messages, const Language& language,
                        const std::function<void()>& saveSubtitles);

}  // namespace orlisk
