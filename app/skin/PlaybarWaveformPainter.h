#pragma once
// The playbar with the sound's loudness behind its thumb and the subtitles'
// spans over it. Drawing only: the surface decides when.
#include <QPainter>

#include "app/skin/PlaybarWaveform.h"
#include "app/skin/SkinPainter.h"

namespace orlisk {

// Draws the scroll bar `bar` (the playbar) with `waveform` on its track. The
// thumb, its travel and the position it stands for are those of the plain
// scroll bar; a column is the slice of the video whose time the thumb's
// centre would stand for there.
void PaintPlaybarWithWaveform(QPainter& painter, const SkinObjectData& bar, SkinObjectState state,
                              const PlaybarWaveform& waveform);

// How tall a loudness (0..1) is drawn, as a share of the half height: its
// square root, so that quiet speech still shows in a track a dozen pixels
// high while loud and quiet stretches stay apart (-20 dB is a third).
double WaveformHeightOf(double level);

}  // namespace orlisk
