#include "measure/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace lensora {

double Distance(PointD a, PointD b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

namespace {

// Products of two coordinate differences need 65 bits; the orientation tests are done in
// 128-bit integers so that collinear clicks are recognised exactly, however far away.
using Wide = __int128;

Wide Cross(PixelPoint o, PixelPoint a, PixelPoint b) {
    const Wide ax = Wide{a.x} - o.x;
    const Wide ay = Wide{a.y} - o.y;
    const Wide bx = Wide{b.x} - o.x;
    const Wide by = Wide{b.y} - o.y;
    return ax * by - ay * bx;
}

Wide Dot(PixelPoint o, PixelPoint a, PixelPoint b) {
    return (Wide{a.x} - o.x) * (Wide{b.x} - o.x) + (Wide{a.y} - o.y) * (Wide{b.y} - o.y);
}

double Length(PointD from, PointD to) {
    return std::hypot(to.x - from.x, to.y - from.y);
}

// The original program converts radians with this single-precision value of 180/pi; the
// angle between two lines keeps it so that its readings stay as users know them.
constexpr double kLineAngleDegPerRad = 57.295780490442965;
// The arc sweep keeps the single-precision 2*pi and its own degree factor for the same reason.
constexpr double kArcFullTurnRad = 6.2831854820251465;
constexpr double kArcDegPerRad = 57.29577791868204;
// The automatic arc's angle adds a full turn written with eight digits, a little more than the
// single-precision value above; the printed arcs of the automatic tool depend on it.
constexpr double kArcAngleFullTurnRad = 6.2831855;

std::int64_t CeilDiv(std::int64_t num, std::int64_t den) {  // den > 0
    const std::int64_t q = num / den;
    return (num % den > 0) ? q + 1 : q;
}

// One polygon edge that crosses scanlines yTop <= y < yBottom (top inclusive, bottom not).
struct ScanEdge {
    std::int64_t yTop;
    std::int64_t yBottom;
    std::int64_t xTop;
    std::int64_t dx;  // x(bottom) - x(top)
    std::int64_t dy;  // yBottom - yTop > 0

    // Smallest integer x at or right of the crossing with scanline y: a pixel x lies right of
    // the edge (the crossing counts for it) when x >= that value.
    std::int64_t CeilCrossing(std::int64_t y) const {
        return CeilDiv(xTop * dy + (y - yTop) * dx, dy);
    }
};

std::vector<ScanEdge> BuildEdges(std::span<const PixelPoint> points) {
    std::vector<ScanEdge> edges;
    edges.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        PixelPoint a = points[i];
        PixelPoint b = points[(i + 1) % points.size()];
        if (a.y == b.y) {
            continue;  // horizontal edges cross no scanline
        }
        if (a.y > b.y) {
            std::swap(a, b);
        }
        edges.push_back({a.y, b.y, a.x, std::int64_t{b.x} - a.x, std::int64_t{b.y} - a.y});
    }
    return edges;
}

}  // namespace

std::array<PixelPoint, 4> EndTicks(PixelPoint p, PixelPoint q, int halfLength) {
    const std::int32_t e = halfLength;
    if (p.x == q.x) {
        return {{{TruncateToPixel(double(p.x) + e), p.y},
                 {TruncateToPixel(double(p.x) - e), p.y},
                 {TruncateToPixel(double(q.x) + e), q.y},
                 {TruncateToPixel(double(q.x) - e), q.y}}};
    }
    if (p.y == q.y) {
        return {{{p.x, TruncateToPixel(double(p.y) + e)},
                 {p.x, TruncateToPixel(double(p.y) - e)},
                 {q.x, TruncateToPixel(double(q.y) + e)},
                 {q.x, TruncateToPixel(double(q.y) - e)}}};
    }
    const double k = (double(p.y) - q.y) / (double(p.x) - q.x);
    const double g = std::sqrt(k * k / (k * k + 1.0)) * e;
    const double gk = g / k;
    return {{{TruncateToPixel(p.x + g), TruncateToPixel(p.y - gk)},
             {TruncateToPixel(p.x - g), TruncateToPixel(p.y + gk)},
             {TruncateToPixel(q.x + g), TruncateToPixel(q.y - gk)},
             {TruncateToPixel(q.x - g), TruncateToPixel(q.y + gk)}}};
}

std::optional<PointD> PerpendicularFoot(PixelPoint p, PixelPoint q, PixelPoint r) {
    if (p == q) {
        return std::nullopt;
    }
    // Parameter of the foot along p -> q from exact integer products.
    const double dx = double(q.x) - p.x;
    const double dy = double(q.y) - p.y;
    const double dot = double(Dot(p, q, r));
    const double len2 = dx * dx + dy * dy;
    // Multiplying before dividing keeps feet at whole pixels exact.
    return PointD{p.x + dot * dx / len2, p.y + dot * dy / len2};
}

std::optional<double> DistanceToLine(PixelPoint p, PixelPoint q, PixelPoint r) {
    if (p == q) {
        return std::nullopt;
    }
    const double cross = double(Cross(p, q, r));
    return std::abs(cross) / Length(ToPointD(p), ToPointD(q));
}

std::optional<PointD> Circumcentre(PixelPoint p1, PixelPoint p2, PixelPoint p3) {
    const Wide cross = Cross(p1, p2, p3);
    if (cross == 0) {
        return std::nullopt;
    }
    // Intersection of the perpendicular bisectors, relative to p1 to keep the magnitudes small.
    const double bx = double(p2.x) - p1.x;
    const double by = double(p2.y) - p1.y;
    const double cx = double(p3.x) - p1.x;
    const double cy = double(p3.y) - p1.y;
    const double b2 = bx * bx + by * by;
    const double c2 = cx * cx + cy * cy;
    const double d = 2.0 * double(cross);
    const PointD centre{p1.x + (cy * b2 - by * c2) / d, p1.y + (bx * c2 - cx * b2) / d};
    if (!std::isfinite(centre.x) || !std::isfinite(centre.y)) {
        return std::nullopt;
    }
    return centre;
}

std::optional<CircleThrough3> CircleThroughThree(PixelPoint p1, PixelPoint p2, PixelPoint p3) {
    const std::optional<PointD> centre = Circumcentre(p1, p2, p3);
    if (!centre) {
        return std::nullopt;
    }
    const double radius = Length(*centre, ToPointD(p1));
    if (!std::isfinite(radius)) {
        return std::nullopt;
    }
    return CircleThrough3{*centre, radius, Cross(p1, p2, p3) < 0};
}

std::optional<double> LineAngle(PixelPoint p, PixelPoint q, PixelPoint r, PixelPoint s) {
    if (p == q || r == s) {
        return std::nullopt;
    }
    const double a = p.x, b = p.y, c = q.x, d = q.y;
    const double e = r.x, f = r.y, g = s.x, h = s.y;
    const bool vertical1 = p.x == q.x;
    const bool vertical2 = r.x == s.x;
    if (vertical1 && vertical2) {
        return (d < b && b < h) ? 180.0 : 0.0;
    }
    PointD x;
    if (vertical1) {
        x = {a, h + (a - g) * (h - f) / (g - e)};
    } else if (vertical2) {
        x = {e, d + (e - c) * (d - b) / (c - a)};
    } else {
        // Equal slopes of integer lines are exactly a zero cross product of their directions.
        const Wide crossDirs =
            (Wide{q.x} - p.x) * (Wide{s.y} - r.y) - (Wide{q.y} - p.y) * (Wide{s.x} - r.x);
        const double k1 = (d - b) / (c - a);
        const double k2 = (h - f) / (g - e);
        if (crossDirs == 0 || k1 == k2) {
            const bool bothHorizontal = p.y == q.y && r.y == s.y;
            return (bothHorizontal && c < a && a < g) ? 180.0 : 0.0;
        }
        x.x = (d + k2 * g - h - k1 * c) / (k2 - k1);
        x.y = d + (x.x - c) * k1;
    }
    if (!std::isfinite(x.x) || !std::isfinite(x.y)) {
        return 0.0;  // lines too close to parallel for their crossing to be represented
    }
    const PointD end1 =
        Length(x, ToPointD(q)) >= Length(x, ToPointD(p)) ? ToPointD(q) : ToPointD(p);
    const PointD end2 =
        Length(x, ToPointD(s)) >= Length(x, ToPointD(r)) ? ToPointD(s) : ToPointD(r);
    const double ux = end1.x - x.x, uy = end1.y - x.y;
    const double vx = end2.x - x.x, vy = end2.y - x.y;
    const double norms = std::hypot(ux, uy) * std::hypot(vx, vy);
    if (!(norms > 0.0) || !std::isfinite(norms)) {
        return std::nullopt;
    }
    const double cosine = std::clamp((ux * vx + uy * vy) / norms, -1.0, 1.0);
    return std::acos(cosine) * kLineAngleDegPerRad;
}

std::optional<double> ArmAngle(PixelPoint first, PixelPoint vertex, PixelPoint second) {
    if (first == vertex || second == vertex) {
        return std::nullopt;
    }
    // atan2 of the exact cross and dot products equals acos of the normalised dot product
    // and stays accurate near 0 and 180 degrees.
    const double cross = double(Cross(vertex, first, second));
    const double dot = double(Dot(vertex, first, second));
    return std::atan2(std::abs(cross), dot) * (180.0 / std::numbers::pi);
}

namespace {

// Counter-clockwise sweep on screen in degrees; a sweep that is not positive gets `fullTurn`
// radians added. Both full turns in use are a hair above 2*pi, so the reading is kept within
// one turn.
double SweepDegrees(PointD start, PointD centre, PointD end, double fullTurn) {
    double theta = std::atan2(centre.y - end.y, end.x - centre.x) -
                   std::atan2(centre.y - start.y, start.x - centre.x);
    if (theta <= 0.0) {
        theta += fullTurn;
    }
    return std::min(theta * kArcDegPerRad, 360.0);
}

}  // namespace

double ArcSweep(PixelPoint start, PointD centre, PixelPoint end) {
    return SweepDegrees(ToPointD(start), centre, ToPointD(end), kArcFullTurnRad);
}

double ArcAngle(PixelPoint start, PointD centre, PixelPoint end) {
    return SweepDegrees(ToPointD(start), centre, ToPointD(end), kArcAngleFullTurnRad);
}

double ArcAngleD(PointD start, PointD centre, PointD end) {
    return SweepDegrees(start, centre, end, kArcAngleFullTurnRad);
}

std::optional<std::int64_t> PolygonPixelArea(std::span<const PixelPoint> points) {
    if (points.size() < 3) {
        return 0;
    }
    std::int64_t top = points[0].y;
    std::int64_t bottom = points[0].y;
    for (const PixelPoint& pt : points) {
        if (std::abs(std::int64_t{pt.x}) > kMaxPolygonCoordinate ||
            std::abs(std::int64_t{pt.y}) > kMaxPolygonCoordinate) {
            return std::nullopt;
        }
        top = std::min<std::int64_t>(top, pt.y);
        bottom = std::max<std::int64_t>(bottom, pt.y);
    }
    if (bottom - top > kMaxPolygonRows) {
        return std::nullopt;
    }
    std::vector<ScanEdge> edges = BuildEdges(points);
    std::sort(edges.begin(), edges.end(),
              [](const ScanEdge& l, const ScanEdge& r) { return l.yTop < r.yTop; });

    std::vector<const ScanEdge*> active;
    std::vector<std::int64_t> crossings;
    std::size_t next = 0;
    std::int64_t count = 0;
    for (std::int64_t y = top; y < bottom; ++y) {
        while (next < edges.size() && edges[next].yTop <= y) {
            active.push_back(&edges[next++]);
        }
        std::erase_if(active, [y](const ScanEdge* edge) { return edge->yBottom <= y; });
        crossings.clear();
        for (const ScanEdge* edge : active) {
            crossings.push_back(edge->CeilCrossing(y));
        }
        std::sort(crossings.begin(), crossings.end());
        // Pixel x is inside when an odd number of crossings lie at or left of it: between
        // the ceilings of crossings 2i and 2i+1.
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            count += crossings[i + 1] - crossings[i];
        }
    }
    return count;
}

bool PolygonContainsPixel(std::span<const PixelPoint> points, std::int64_t x, std::int64_t y) {
    auto outOfRange = [](std::int64_t v) {
        return v > kMaxPolygonCoordinate || -v > kMaxPolygonCoordinate;
    };
    if (points.size() < 3 || outOfRange(x) || outOfRange(y)) {
        return false;
    }
    bool inside = false;
    for (std::size_t i = 0; i < points.size(); ++i) {
        PixelPoint a = points[i];
        PixelPoint b = points[(i + 1) % points.size()];
        if (outOfRange(a.x) || outOfRange(a.y)) {
            return false;  // keeps the products below within 64 bits
        }
        if (a.y > b.y) {
            std::swap(a, b);
        }
        // Same half-open rule as the scanlines: rows a.y <= y < b.y, crossing at or left of x.
        if (a.y <= y && y < b.y) {
            const std::int64_t dy = std::int64_t{b.y} - a.y;
            const std::int64_t dx = std::int64_t{b.x} - a.x;
            if (std::int64_t{a.x} * dy + (y - a.y) * dx <= x * dy) {
                inside = !inside;
            }
        }
    }
    return inside;
}

std::optional<LineExtent> ProjectOntoLine(std::span<const PixelPoint> points, PointD origin,
                                          PointD direction) {
    const double norm = std::hypot(direction.x, direction.y);
    if (points.empty() || !(norm > 0.0) || !std::isfinite(norm) || !std::isfinite(origin.x) ||
        !std::isfinite(origin.y)) {
        return std::nullopt;
    }
    PointD dir{direction.x / norm, direction.y / norm};
    // Orient the axis along its larger component, so that the first end is the left one of a
    // mostly horizontal line and the upper one of a mostly vertical line, however the fit
    // happened to sign the direction.
    const bool mostlyHorizontal = std::abs(dir.x) >= std::abs(dir.y);
    if ((mostlyHorizontal && dir.x < 0.0) || (!mostlyHorizontal && dir.y < 0.0)) {
        dir = {-dir.x, -dir.y};
    }
    double tMin = std::numeric_limits<double>::infinity();
    double tMax = -std::numeric_limits<double>::infinity();
    for (const PixelPoint& pt : points) {
        const double t = (pt.x - origin.x) * dir.x + (pt.y - origin.y) * dir.y;
        if (t <= tMin) {
            tMin = t;
        }
        if (t >= tMax) {
            tMax = t;
        }
    }
    return LineExtent{{origin.x + tMin * dir.x, origin.y + tMin * dir.y},
                      {origin.x + tMax * dir.x, origin.y + tMax * dir.y}};
}

}  // namespace lensora
