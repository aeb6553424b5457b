#pragma once
// The function keys F1 to F8, which act in every window of the program.
#include <Qt>

#include "WindowCommands.h"

namespace orlisk {

// Runs the command of a key press: F1 help, F2 Play, F3 InsertSubtitle,
// F4 SetEndTime, F5 Pause, F6 StopPlayback, F7 write, F8 stop writing.
// Shift and Ctrl are not looked at, so Shift+F3 acts like F3, and every
// auto-repeated press counts. A press with Alt held is left alone: Alt+F4 is
// the window manager's. True when a command ran; the caller still delivers the
// key to the focused control.
bool HandleAppKeyDown(int key, Qt::KeyboardModifiers modifiers, WindowCommands& commands);

}  // namespace orlisk
