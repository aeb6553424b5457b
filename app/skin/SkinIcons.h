#pragma once
// Icons the skin engine draws itself as vector shapes, so they stay crisp at
// any size: play, pause, stop, fastback, fastforward, open, save, subtitle,
// insert, begin, end, remove, clear, write, stopwrite, help, edit, settings,
// gift, film, plus.
#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace orlisk {

bool IsSkinIcon(const QString& name);

// Draws the icon centred in box (its shorter side sets the size) in one colour.
// An unknown name draws nothing.
void DrawSkinIcon(QPainter& painter, const QString& name, const QRectF& box, const QColor& colour);

}  // namespace orlisk
