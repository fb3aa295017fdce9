// The circular arc through three surface points, as the arc tools draw it: from one end point
// through the middle point to the other end point. Drawing only; the measured values come
// from the geometry helpers.
#pragma once

#include <optional>

#include "base/drawing_surface.h"

namespace lensora {

// The bounding box of the circle and the start and end points of the counter-clockwise arc.
struct ArcThroughPlan {
    PixelBox box;
    PixelPoint start;
    PixelPoint end;
    friend bool operator==(const ArcThroughPlan&, const ArcThroughPlan&) = default;
};

// Circle through p1, p2, p3 from the perpendicular bisectors (centre and radius truncated to
// whole pixels) and the direction that passes p2. nullopt for collinear points, and for
// circles so large (radius beyond kMaxArcRadius) that their box leaves the pixel range.
std::optional<ArcThroughPlan> PlanArcThrough(PixelPoint p1, PixelPoint p2, PixelPoint p3);

inline constexpr long long kMaxArcRadius = 1LL << 26;

// Draws the planned arc with the surface's current pen; nothing for collinear points.
void DrawArcThrough(DrawingSurface& surface, PixelPoint p1, PixelPoint p2, PixelPoint p3);

}  // namespace lensora
