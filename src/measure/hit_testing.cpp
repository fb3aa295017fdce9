#include "measure/hit_testing.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "measure/geometry.h"

namespace lensora {

namespace {

// Band test over the drawn segments of a path: p0-p1, then every second point (the points
// between are label anchors of a continuous line).
bool HitsContinuousLine(const std::vector<PixelPoint>& p, PixelPoint click) {
    if (p.size() < 2) {
        return false;
    }
    if (HitsSegmentBand(click, p[0], p[1])) {
        return true;
    }
    for (std::size_t j = 1; j + 2 < p.size(); j += 2) {
        if (HitsSegmentBand(click, p[j], p[j + 2])) {
            return true;
        }
    }
    return false;
}

// The polygon's edges as drawn: between consecutive vertices and the closing edge; the last
// point is the label anchor.
bool HitsPolygon(const std::vector<PixelPoint>& p, PixelPoint click) {
    if (p.size() < 3) {
        return false;
    }
    const std::size_t vertices = p.size() - 1;
    for (std::size_t i = 0; i + 1 < vertices; ++i) {
        if (HitsSegmentBand(click, p[i], p[i + 1])) {
            return true;
        }
    }
    return HitsSegmentBand(click, p[vertices - 1], p[0]);
}

}  // namespace

bool HitsSegmentBand(PixelPoint click, PixelPoint a, PixelPoint b) {
    const std::int64_t dx = std::abs(std::int64_t{b.x} - a.x);
    const std::int64_t dy = std::abs(std::int64_t{b.y} - a.y);
    const int ox = dx > dy ? 0 : kBandHalfWidth;
    const int oy = dx > dy ? kBandHalfWidth : 0;
    auto at = [](PixelPoint p, int x, int y) { return PixelPoint{p.x + x, p.y + y}; };
    if (std::abs(std::int64_t{a.x}) > kMaxPolygonCoordinate - 8 ||
        std::abs(std::int64_t{a.y}) > kMaxPolygonCoordinate - 8 ||
        std::abs(std::int64_t{b.x}) > kMaxPolygonCoordinate - 8 ||
        std::abs(std::int64_t{b.y}) > kMaxPolygonCoordinate - 8) {
        return false;  // far outside any picture
    }
    const std::array<PixelPoint, 4> band{at(a, -ox, -oy), at(b, -ox, -oy), at(b, ox, oy),
                                         at(a, ox, oy)};
    return PolygonContainsPixel(band, click.x, click.y);
}

bool HitsBox(PixelPoint click, std::int64_t left, std::int64_t top, std::int64_t right,
             std::int64_t bottom) {
    return click.x >= left && click.x < right && click.y >= top && click.y < bottom;
}

bool HitsRectangleFrame(PixelPoint click, PixelPoint corner1, PixelPoint corner2) {
    const std::int64_t left = std::min(corner1.x, corner2.x);
    const std::int64_t right = std::max(corner1.x, corner2.x);
    const std::int64_t top = std::min(corner1.y, corner2.y);
    const std::int64_t bottom = std::max(corner1.y, corner2.y);
    constexpr int f = kFrameHalfWidth;
    return HitsBox(click, left - f, top - f, right + f, bottom + f) &&
           !HitsBox(click, left + f, top + f, right - f, bottom - f);
}

bool HitsRing(PixelPoint click, PixelPoint centre, PixelPoint rim) {
    const double distance = std::trunc(Distance(click, centre));
    const double radius = std::trunc(Distance(centre, rim));
    return std::abs(distance - radius) <= kRingTolerance;
}

bool HitsFittedRing(PixelPoint click, PixelPoint centre, double radiusPx) {
    return std::abs(Distance(click, centre) - radiusPx) < 3.0;
}

bool HitsRecord(const MeasureRecord& record, PixelPoint click, bool fourPointPickMode) {
    const std::vector<PixelPoint>& p = record.points;
    const auto kind = static_cast<StillKind>(record.kind);
    if (kind == StillKind::kFourPointAngle) {
        return fourPointPickMode && p.size() >= 4 &&
               (HitsSegmentBand(click, p[0], p[1]) || HitsSegmentBand(click, p[2], p[3]));
    }
    if (fourPointPickMode) {
        return false;
    }
    switch (kind) {
        case StillKind::kStraightLine:
        case StillKind::kParallelLine:
        case StillKind::kAutoLineSpacing:
        case StillKind::kAutoLineLength1:
        case StillKind::kAutoLineLength2:
        case StillKind::kDotLine:
            return p.size() >= 2 && HitsSegmentBand(click, p[0], p[1]);
        case StillKind::kAngle:
            return p.size() >= 3 &&
                   (HitsSegmentBand(click, p[0], p[1]) || HitsSegmentBand(click, p[2], p[1]));
        case StillKind::kAutoAngle:
            return p.size() >= 4 &&
                   (HitsSegmentBand(click, p[0], p[1]) || HitsSegmentBand(click, p[2], p[3]));
        case StillKind::kContinuousLine:
            return HitsContinuousLine(p, click);
        case StillKind::kPolygon:
            return HitsPolygon(p, click);
        case StillKind::kRectangle:
            return p.size() >= 2 && HitsRectangleFrame(click, p[0], p[1]);
        case StillKind::kRadiusCircle:
        case StillKind::kDiameterCircle:
        case StillKind::kThreePointCircle:
            return p.size() >= 2 && HitsRing(click, p[0], p[1]);
        case StillKind::kAutoCircle:
            return !p.empty() && HitsFittedRing(click, p[0], record.fitRadius);
        case StillKind::kArc:
        case StillKind::kAutoArc:
            return p.size() >= 5 && HitsRing(click, p[4], p[0]);
        case StillKind::kTwoCircles:
            return p.size() >= 4 && HitsRing(click, p[3], p[0]);
        case StillKind::kCircleLabel:
        case StillKind::kSquareLabel:
            return !p.empty() &&
                   HitsBox(click, std::int64_t{p[0].x} - 18, std::int64_t{p[0].y} - 18,
                           std::int64_t{p[0].x} + 2, std::int64_t{p[0].y} + 2);
        case StillKind::kText:
            return p.size() >= 2 &&
                   HitsBox(click, std::int64_t{p[0].x} - 8, std::int64_t{p[0].y} - 8,
                           std::int64_t{p[1].x} + 8, std::int64_t{p[1].y} + 8);
        default:
            return false;
    }
}

std::optional<std::size_t> FindHitRecord(const RecordList& list, PixelPoint click,
                                         bool fourPointPickMode) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (HitsRecord(list[i], click, fourPointPickMode)) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace lensora
