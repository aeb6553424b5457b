#pragma once
// The program's icon, built into the executable so that every window shows it
// wherever the program was started from.
#include <QIcon>

namespace orlisk {

// The icon at every size it is drawn for (16 to 256 pixels).
QIcon ApplicationIcon();

}  // namespace orlisk
