#include "measure/comparison_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "measure/record_move.h"

namespace lensora {

namespace {

bool Within(PixelPoint click, PixelPoint centre, int reach) {
    return std::abs(std::int64_t{click.x} - centre.x) <= reach &&
           std::abs(std::int64_t{click.y} - centre.y) <= reach;
}

// Distance from the click to the segment a-b is at most `reach`.
bool NearSegment(PixelPoint click, PixelPoint a, PixelPoint b, int reach) {
    const double dx = double(b.x) - a.x;
    const double dy = double(b.y) - a.y;
    const double px = double(click.x) - a.x;
    const double py = double(click.y) - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    const double t =
        lengthSquared > 0.0 ? std::clamp((px * dx + py * dy) / lengthSquared, 0.0, 1.0) : 0.0;
    return std::hypot(px - t * dx, py - t * dy) <= reach;
}

void MoveAllTo(ReferenceShape& shape, std::size_t anchor, PixelPoint pointer) {
    const PixelPoint from = shape.points[anchor];
    const std::int64_t dx = std::int64_t{pointer.x} - from.x;
    const std::int64_t dy = std::int64_t{pointer.y} - from.y;
    for (PixelPoint& p : shape.points) {
        p = OffsetPoint(p, dx, dy);
    }
}

}  // namespace

std::optional<GrabArea> HitGrabArea(const ReferenceShape& shape, PixelPoint click) {
    const auto& p = shape.points;
    switch (shape.kind) {
        case ReferenceKind::kLengthLine:
            if (p.size() >= 2 && Within(click, p[0], kLengthGrabReach)) {
                return GrabArea::LengthStart;
            }
            if (p.size() >= 2 && Within(click, p[1], kLengthGrabReach)) {
                return GrabArea::LengthEnd;
            }
            return std::nullopt;
        case ReferenceKind::kAngleLine:
            if (p.size() < 3) {
                return std::nullopt;
            }
            if (Within(click, p[0], kVertexGrabReach)) {
                return GrabArea::AngleVertex;
            }
            if (NearSegment(click, p[0], p[1], kArmGrabReach)) {
                return GrabArea::AngleFirstArm;
            }
            if (NearSegment(click, p[0], p[2], kArmGrabReach)) {
                return GrabArea::AngleSecondArm;
            }
            return std::nullopt;
        case ReferenceKind::kToleranceCircle: {
            if (p.empty()) {
                return std::nullopt;
            }
            const double distance =
                std::trunc(std::hypot(double(click.x) - p[0].x, double(click.y) - p[0].y));
            const double reach = double(shape.radiusPx) - std::max(double(shape.tolerancePlusPx),
                                                                   double(shape.toleranceMinusPx));
            if (distance < reach) {
                return GrabArea::ToleranceCentre;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<ShapeGrab> HitShape(const ReferenceShapes& shapes, PixelPoint click) {
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (const std::optional<GrabArea> area = HitGrabArea(shapes[i], click)) {
            return ShapeGrab{i, *area};
        }
    }
    return std::nullopt;
}

void DragShape(ReferenceShape& shape, GrabArea area, PixelPoint pointer) {
    auto& p = shape.points;
    switch (area) {
        case GrabArea::LengthStart:
        case GrabArea::AngleVertex:
        case GrabArea::ToleranceCentre:
            if (!p.empty()) {
                MoveAllTo(shape, 0, pointer);
            }
            return;
        case GrabArea::LengthEnd:
            if (p.size() >= 2) {
                // Only along the line's axis, so it stays horizontal or vertical.
                (shape.flag != 0 ? p[1].y : p[1].x) = shape.flag != 0 ? pointer.y : pointer.x;
            }
            return;
        case GrabArea::AngleFirstArm:
            if (p.size() >= 3) {
                p[1] = pointer;
            }
            return;
        case GrabArea::AngleSecondArm:
            if (p.size() >= 3) {
                p[2] = pointer;
            }
            return;
    }
}

}  // namespace lensora
