#pragma once
// One look for every window of the editor: the dark colours of the main
// window's face carried over to the menus, message boxes and the file, font
// and colour dialogs, and Qt's own texts (OK, Cancel, the file dialog) in the
// interface's language.
#include <QColor>
#include <QPalette>
#include <QString>

class QApplication;
class QTranslator;

namespace orlisk {

// The colours the shipped skins are drawn in.
namespace look {
inline const QColor kWindow(0x18, 0x1b, 0x21);
inline const QColor kPanel(0x1f, 0x23, 0x2a);
inline const QColor kBase(0x0e, 0x11, 0x17);
inline const QColor kAlternateBase(0x13, 0x17, 0x22);
inline const QColor kButton(0x24, 0x28, 0x32);
inline const QColor kBorder(0x33, 0x39, 0x46);
inline const QColor kText(0xe9, 0xec, 0xf2);
inline const QColor kMutedText(0x8d, 0x95, 0xa3);
inline const QColor kDisabledText(0x5d, 0x64, 0x72);
inline const QColor kAccent(0x3f, 0x83, 0xf8);
// Links: blue, red under the mouse, light enough to read on the dark windows.
inline const QColor kLink(0x6c, 0xa6, 0xff);
inline const QColor kLinkHover(0xff, 0x7a, 0x70);
}  // namespace look

QPalette DarkPalette();

// Fusion with the dark palette, check and radio boxes that show on it, and a
// style sheet for what the palette does not reach (menus, tool tips); the
// dialogs are Qt's own, never the desktop's, so they take the look too.
void ApplyDarkLook(QApplication& app);

// Loads Qt's own Simplified Chinese texts (qtbase_zh_CN) when the interface is
// Chinese. The translator belongs to app; nullptr when the interface is not
// Chinese or the translation file is not installed (the boxes then say OK and
// Cancel).
QTranslator* InstallQtTranslations(QApplication& app, bool chinese);

// Where Qt keeps its translation files.
QString QtTranslationsFolder();

}  // namespace orlisk
