#pragma once
// The shortcuts every desktop program has: Ctrl+O opens a video, Ctrl+Shift+O
// a subtitle file, Ctrl+S saves the subtitles, Ctrl+Shift+S saves them under a
// new name, Ctrl+Q closes the window (with the usual close question). They act
// anywhere in the main window and show beside their items in the File menu;
// the function keys stay as they are.
class QAction;
class QWidget;

namespace orlisk {

struct FileMenuItems {
  QAction* OpenVideo;     // OpenFile1
  QAction* OpenSubtitle;  // OpenObj1
  QAction* Save;          // SaveProject1
  QAction* SaveAs;        // SaveProjectAs1
  QAction* Exit;          // Exit1
};

void GiveDesktopShortcuts(QWidget& window, const FileMenuItems& items);

}  // namespace orlisk
