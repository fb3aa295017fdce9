// Draws the figure that follows the pointer between clicks in NOT-XOR mode, so that drawing
// the same band a second time restores the pixels beneath it. The interaction describes the
// band (measure/rubber_band.h); the view calls this once to show and once to erase it.
#pragma once

#include "base/drawing_surface.h"
#include "canvas/record_renderer.h"
#include "canvas/view_factors.h"
#include "measure/rubber_band.h"

namespace lensora {

// How a moved record's stored points reach the view: its numbering scheme and the view's
// transform (the still canvas: its origin is minus the scroll position).
struct MovedRecordView {
    RecordScheme scheme = RecordScheme::Still;
    ViewTransform transform = ScaledDrawing(1.0, 1.0);
    double tickScale = 1.0;  // as RecordRenderOptions::tickScale
};

// Draws `band` in NOT-XOR mode and leaves the surface in copy mode. A shape being created uses
// the band's pen; a moved record is drawn as its whole figure (lines, circles, rectangles,
// marks; no labels) shifted by `band.shift`, with a one-pixel solid pen of colour 0.
void DrawRubberBand(DrawingSurface& surface, const RubberBand& band,
                    const MovedRecordView& view = {});

}  // namespace lensora
