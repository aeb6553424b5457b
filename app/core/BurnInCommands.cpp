#include "BurnInCommands.h"

namespace orlisk {

void BurnInCommands::StopWriting() {
  MainState& s = c_.Basics.State;
  if (!s.IsWriting) return;
  if (c_.Basics.Messages.informationQuestion(c_.Basics.Lang.MessageText(
          "StopWriteSubtovideo",
          "Are you sure to stop Written? The unfinished-Written file cannot be played properly.")))
    s.IsWriting = false;
}

}  // namespace orlisk
