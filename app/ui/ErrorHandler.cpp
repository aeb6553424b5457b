#include "app/ui/ErrorHandler.h"

#include <exception>

namespace orlisk {

void HandleAppException(MessageBoxes& messages, const Language& language,
                        const std::function<void()>& saveSubtitles) {
  const std::string question =
      language.MessageText("Exception", "A system error occurs, whether save subtitle?");
  if (!messages.confirmation(question)) return;
  try {
    saveSubtitles();
  } catch (const std::exception& error) {
    messages.information(language.MessageText("SaveFailed", "The subtitles were not saved.") + "\n\n" +
                         error.what());
  }
}

}  // namespace orlisk
