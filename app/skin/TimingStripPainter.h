#pragma once
// The timing strip's picture: a time ruler over the sound's loudness, one
// column per pixel from the precomputed level ranges, the subtitles' spans
// as numbered bands, and on top the play position and an edge being
// dragged. Drawing only: the widget decides when, and keeps the costly part
// (PaintStripBackground) in a pixmap between changes.
#include <QPainter>
#include <QRect>
#include <cstdint>
#include <vector>

#include "app/skin/StripSound.h"
#include "app/skin/TimingStripScale.h"

namespace orlisk {

// The height of the time ruler along the top.
constexpr int kStripRulerHeight = 14;

// The ruler, the sound (`levels`: one range per pixel column of `area`) and
// the spans; `currentSpan` (an index into `spans`, -1 for none) is drawn
// denser: the subtitle at the play position.
void PaintStripBackground(QPainter& painter, const QRect& area, const TimingStripScale& scale,
                          const std::vector<LevelRange>& levels, const std::vector<TimeSpan>& spans,
                          int currentSpan);

// The play position's line, when it lies in view.
void PaintPlayPosition(QPainter& painter, const QRect& area, const TimingStripScale& scale, std::int32_t ms);

// A span as a drag would leave it: outlined, over the one it replaces.
void PaintDraggedSpan(QPainter& painter, const QRect& area, const TimingStripScale& scale, const TimeSpan& span);

// The ruler's step: the shortest of the usual steps (100 ms .. 1 h) that
// puts at least `minimumPixels` between two marks at `msPerPixel`.
std::int32_t RulerStepMs(double msPerPixel, int minimumPixels = 70);

}  // namespace orlisk
