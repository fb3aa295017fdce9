// How a canvas shows an automatic tool's measurement in progress (DetectionTools' Working()
// lists): the segments drawn so far by the segment tools, and a small cross on every snapped
// point of the point tools. Drawing only; stored points, scroll subtracted. UI thread.
#pragma once

#include "base/drawing_settings.h"
#include "base/drawing_surface.h"
#include "measure/record_lists.h"
#include "measure/tool_catalog.h"

namespace lensora {

// Half length of the arms of a snapped point's cross.
inline constexpr int kSnapCrossHalf = 4;

enum class AutoPreview { None, Segments, Crosses };

// The preview of a still mode or live tool; None for tools that are not automatic.
AutoPreview StillAutoPreview(StillMode mode);
AutoPreview LiveAutoPreview(LiveKind kind);

// Segments: a line for each complete pair of points (the pointer's line is the rubber band);
// Crosses: from (x - 4, y) to (x + 4, y) and from (x, y - 4) to (x, y + 4) at every point, in
// the current pen style and colour, one pixel wide.
void DrawAutoPreview(DrawingSurface& surface, AutoPreview preview, const WorkingLists& working,
                     const DrawingSettings& settings, PixelPoint scroll);

}  // namespace lensora
