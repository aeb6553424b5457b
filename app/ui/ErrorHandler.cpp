#include "app/ui/ErrorHandler.h"

namespace orlisk {

void HandleAppException(MessageBoxes& messages, const Language& language,
                        const std::function<void()>& saveSubtitles) {
  const std::string question =
      language.MessageText("Exception", "A system error occurs, whether save subtitle?");
  if (messages.confirmation(question)) saveSubtitles();
}

}  // namespace orlisk
