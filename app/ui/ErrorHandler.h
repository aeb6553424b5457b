#pragma once
// What the user sees when a command fails with an error nobody handled: not
// the error, but the offer to save the subtitles.
#include <functional>

#include "app/core/Seams.h"
#include "app/language/Language.h"

namespace orlisk {

// Asks the "Exception" confirmation ("A system error occurs, whether save
// subtitle?" by default); Yes runs `saveSubtitles` (the same command as the
// "savesubtitle" button, guards included: to the list's own file when it has
// one, else under a name the user chooses), No does nothing more. A save that
// fails in turn is reported as not saved, with its reason, so that nobody
// believes the work is safe when it is not.
void HandleAppException(MessageBoxes& messages, const Language& language,
                        const std::function<void()>& saveSubtitles);

}  // namespace orlisk
