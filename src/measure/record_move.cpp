#include "measure/record_move.h"

#include <algorithm>
#include <limits>

namespace lensora {

namespace {

std::int32_t Clamp32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

PixelPoint OffsetPoint(PixelPoint p, std::int64_t dx, std::int64_t dy) {
    // Clamping the shift first keeps the sum inside 64 bits whatever the caller passes.
    constexpr std::int64_t kMaxShift = std::int64_t{1} << 33;
    dx = std::clamp(dx, -kMaxShift, kMaxShift);
    dy = std::clamp(dy, -kMaxShift, kMaxShift);
    return {Clamp32(p.x + dx), Clamp32(p.y + dy)};
}

void ShiftRecord(MeasureRecord& record, std::int64_t dx, std::int64_t dy) {
    for (PixelPoint& p : record.points) {
        p = OffsetPoint(p, dx, dy);
    }
    if (record.refined) {
        // The same shift as the integer points get, clamped the same way.
        const PixelPoint moved = OffsetPoint({}, dx, dy);
        auto shift = [&](PointD& p) { p = {p.x + moved.x, p.y + moved.y}; };
        if (record.refined->centre) {
            shift(*record.refined->centre);
        }
        for (PointD& p : record.refined->points) {
            shift(p);
        }
    }
}

PixelPoint GrabPoint(const MeasureRecord& record) {
    const auto& points = record.points;
    auto at = [&](std::size_t i) { return i < points.size() ? points[i] : PixelPoint{}; };
    switch (static_cast<StillKind>(record.kind)) {
        case StillKind::kRadiusCircle:
        case StillKind::kDiameterCircle:
        case StillKind::kThreePointCircle:
        case StillKind::kAutoCircle:
        case StillKind::kCircleLabel:
        case StillKind::kSquareLabel:
        case StillKind::kText:
            return at(0);
        case StillKind::kTwoCircles:
            return at(3);
        case StillKind::kArc:
        case StillKind::kAutoArc:
            return at(4);
        default:
            break;
    }
    if (points.size() < 2) {
        return at(0);
    }
    const PixelPoint a = points[0];
    const PixelPoint b = points[1];
    return {static_cast<std::int32_t>((std::int64_t{a.x} + b.x) / 2),
            static_cast<std::int32_t>((std::int64_t{a.y} + b.y) / 2)};
}

}  // namespace lensora
