#pragma once
// How each kind of skin object looks. The surface decides which object is
// hovered or pressed; this file only draws.
#include <QPainter>

#include "app/skin/SkinFile.h"

namespace orlisk {

enum class SkinObjectState { Normal, Hover, Pressed };

// Draws one visible object. The form supplies the default font family.
void PaintSkinObject(QPainter& painter, const SkinObjectData& object, const SkinObjectData& form,
                     SkinObjectState state);

// A scroll bar's track colour and its accent (the played part, the thumb's ring).
QColor ScrollbarTrackOf(const SkinObjectData& object);
QColor ScrollbarAccentOf(const SkinObjectData& object);
// A scroll bar's thumb alone, over whatever its track shows.
void PaintScrollbarThumb(QPainter& painter, const SkinObjectData& object, SkinObjectState state);

// A horizontal scroll bar: the thumb's centre travels from the left end of the
// rectangle plus the thumb's radius to the right end minus it. The position
// under a mouse x, clamped to 0..kScrollRange, rounded to the nearest step.
int ScrollPositionAt(const QRect& bar, int x);
// The thumb's centre x for a position.
double ScrollThumbCentre(const QRect& bar, int position);

}  // namespace orlisk
