#include "app/ui/FunctionKeys.h"

namespace orlisk {

bool HandleAppKeyDown(int key, Qt::KeyboardModifiers modifiers, WindowCommands& commands) {
  if (modifiers & Qt::AltModifier) return false;
  switch (key) {
    case Qt::Key_F1: commands.OpenHelpFile(); return true;
    case Qt::Key_F2: commands.Play(); return true;
    case Qt::Key_F3: commands.InsertSubtitle(); return true;
    case Qt::Key_F4: commands.SetEndTime(); return true;
    case Qt::Key_F5: commands.Pause(); return true;
    case Qt::Key_F6: commands.StopPlayback(); return true;
    case Qt::Key_F7: commands.WriteSubtitlesToVideo(); return true;
    case Qt::Key_F8: commands.StopWriting(); return true;
    default: return false;
  }
}

}  // namespace orlisk
