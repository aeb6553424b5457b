#pragma once
// The skin file: a UTF-8 text file that describes the face of the main window
// as a list of named objects, painted in file order (later objects over
// earlier ones).
//
//   # a comment (also "; ...")
//   [play]                   an object; the name is case-sensitive and unique
//   kind = button            form | panel | button | text | scrollbar | image | label
//   rect = 346, 654, 52, 52  left, top, width, height in window pixels
//   caption = "Play"         shown text; quotes keep leading/trailing spaces
//   color = #2b3140          fill (absent: no fill)
//   color2 = #1e222b         second colour: the fill is a top-to-bottom gradient
//   hover = #3a4256          fill under the mouse (buttons); text colour (labels)
//   pressed = #232834        fill while the mouse button is down on it
//   text = #e8ebf1           text and icon colour
//   border = #3b4150         one-pixel outline (absent: none)
//   accent = #4c8dff         scroll bars: played part and thumb
//   radius = 6               corner radius in pixels
//   fontsize = 13            text height in pixels
//   bold = yes               yes | no
//   family = Liberation Sans font family; objects without one use the form's
//   align = center           left | center | right
//   icon = play              a drawn icon (SkinIcons.h lists the names)
//   picture = skin/logo.png  PNG, relative to the skin file's folder
//   visible = no             hidden at start (default yes)
//   hint = "Play (F2)"        tool tip: the command and its key
//   active = #2f9e6a         fill while the program marks the object as on
//                            (the play button while playing)
//
// Colours are "#rrggbb" or "#aarrggbb". Exactly one object is the form; its
// rectangle gives the size of the window's face. Scroll bars run from 0 to
// 10000. Every fault is reported with the file name and line:
// "skn.skn line 12: unknown kind 'buton'".
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <vector>

#include "app/skin/SkinSurface.h"

namespace orlisk {

inline constexpr int kScrollRange = 10000;

enum class SkinKind { Form, Panel, Button, Text, Scrollbar, Image, Label };
enum class SkinAlign { Left, Center, Right };

// One object as written in the skin file, plus the state the program changes
// while it runs (text, visibility, scroll position, the loaded picture).
struct SkinObjectData {
  QString name;
  SkinKind kind = SkinKind::Panel;
  QRect rect;
  QString text;
  QColor color, color2, hover, pressed, textColor, border, accent;  // invalid: not given
  int radius = 0;
  int fontSize = 13;
  bool bold = false;
  QString family;
  SkinAlign align = SkinAlign::Center;
  QString icon;
  QString picture;  // as written; the surface loads it into pictureImage
  bool visible = true;
  QString hint;
  QColor active;
  int line = 0;  // line of the object's header

  QImage pictureImage;
  int scrollPosition = 0;
  bool on = false;
};

class SkinDocument {
 public:
  std::vector<SkinObjectData> objects;  // paint order

  SkinObjectData* find(const QString& name);
  const SkinObjectData& form() const;  // the one form object
};

// Parses the text of a skin file. sourceName names the file in messages.
// Throws SkinError on the first fault.
SkinDocument ParseSkin(const QString& text, const QString& sourceName);

}  // namespace orlisk
