#include "canvas/arc_through.h"

#include <cmath>

namespace lensora {
namespace {
// Slope that stands for a vertical perpendicular bisector (a horizontal chord).
constexpr double kVerticalSlope = 1e6;
}  // namespace

std::optional<ArcThroughPlan> PlanArcThrough(PixelPoint p1, PixelPoint p2, PixelPoint p3) {
    const double x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y, x3 = p3.x, y3 = p3.y;
    const double k1 = y1 == y2 ? kVerticalSlope : -(x1 - x2) / (y1 - y2);
    const double k2 = y3 == y2 ? kVerticalSlope : -(x3 - x2) / (y3 - y2);
    if (k1 == k2) {
        return std::nullopt;  // parallel bisectors: the points are collinear
    }
    const double m1x = (x1 + x2) / 2, m1y = (y1 + y2) / 2;
    const double m2x = (x2 + x3) / 2, m2y = (y2 + y3) / 2;
    double cx = 0, cy = 0;
    if (k1 == kVerticalSlope) {
        cx = m1x;
        cy = m2y + k2 * (cx - m2x);
    } else if (k2 == kVerticalSlope) {
        cx = m2x;
        cy = m1y + k1 * (cx - m1x);
    } else {
        cx = (k2 * m2x - k1 * m1x - (m2y - m1y)) / (k2 - k1);
        cy = m2y + k2 * (cx - m2x);
    }
    const double r = std::hypot(cx - x1, cy - y1);
    if (!std::isfinite(r) || r > double(kMaxArcRadius) || std::abs(cx) > double(kMaxArcRadius) ||
        std::abs(cy) > double(kMaxArcRadius)) {
        return std::nullopt;
    }
    const auto ir = static_cast<std::int32_t>(r);
    const auto icx = static_cast<std::int32_t>(cx);
    const auto icy = static_cast<std::int32_t>(cy);
    ArcThroughPlan plan{{icx - ir, icy - ir, icx + ir, icy + ir}, p3, p1};
    // Counter-clockwise on screen from p1 to p3 passes p2 exactly when p1, p2, p3 turn
    // clockwise in y-down coordinates (negative cross product).
    const long long d =
        (static_cast<long long>(p2.x) - p1.x) * (static_cast<long long>(p3.y) - p1.y) -
        (static_cast<long long>(p3.x) - p1.x) * (static_cast<long long>(p2.y) - p1.y);
    if (d < 0) {
        plan.start = p1;
        plan.end = p3;
    }
    return plan;
}

void DrawArcThrough(DrawingSurface& surface, PixelPoint p1, PixelPoint p2, PixelPoint p3) {
    if (const auto plan = PlanArcThrough(p1, p2, p3)) {
        surface.Arc(plan->box, plan->start, plan->end);
    }
}

}  // namespace lensora
