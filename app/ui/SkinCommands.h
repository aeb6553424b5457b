#pragma once
// The skin's click dispatch: an object's name picks the command it runs.
#include <QPoint>
#include <QString>

#include "WindowCommands.h"

namespace orlisk {

// Runs the command of the clicked skin object. Names compare exactly, letter
// case included; a name that is not in the table (the playbar, the time texts,
// decorations) does nothing. True when a command ran.
bool SkinCommand(const QString& objectName, WindowCommands& commands);

enum class SkinMenu { File, Help };

// Where a skin menu pops up: a fixed offset from the window's outer top-left
// corner on the screen, so it follows the window wherever it was moved. The
// Chinese skin draws its "help" button further left.
QPoint SkinMenuPosition(SkinMenu menu, QPoint windowTopLeft, bool chineseUI);

}  // namespace orlisk
