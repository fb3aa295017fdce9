// Geometry helpers of the measuring tools: tick marks, perpendicular foot, circles through
// three points, angles between lines and arms, arc sweeps, pixel area of a polygon and the
// extent of points along a fitted line. Pure functions over pixel coordinates (x to the
// right, y downwards); every value that ends up printed is computed in double precision from
// the integer clicks, and only points meant for drawing are rounded to pixels.
// Degenerate input (coincident points, collinear points) gives std::nullopt, never inf/nan.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "base/pixel_point.h"

namespace lensora {

// Half-lengths of the tick marks at both ends of a measured line, in pixels.
inline constexpr int kLineTickHalfLength = 10;
inline constexpr int kParallelTickHalfLength = 100;

// The ends of a tick through p and of a tick through q, each perpendicular to pq and reaching
// halfLength pixels to both sides: {p side 1, p side 2, q side 1, q side 2}. Coordinates are
// truncated toward zero. A zero-length segment gets horizontal ticks.
std::array<PixelPoint, 4> EndTicks(PixelPoint p, PixelPoint q, int halfLength);

// Straight-line distance in pixels.
double Distance(PointD a, PointD b);
inline double Distance(PixelPoint a, PixelPoint b) {
    return Distance(ToPointD(a), ToPointD(b));
}

// Exact foot of the perpendicular from r onto the line through p and q; nullopt when p == q.
std::optional<PointD> PerpendicularFoot(PixelPoint p, PixelPoint q, PixelPoint r);

// Distance in pixels from r to the line through p and q, |cross(q - p, r - p)| / |q - p|;
// nullopt when p == q.
std::optional<double> DistanceToLine(PixelPoint p, PixelPoint q, PixelPoint r);

// Exact centre of the circle through three points; nullopt when they are collinear
// (coincident points included).
std::optional<PointD> Circumcentre(PixelPoint p1, PixelPoint p2, PixelPoint p3);

struct CircleThrough3 {
    PointD centre;  // exact
    double radius;  // distance from the exact centre to the first point, in pixels
    bool turning;   // (p2 - p1) x (p3 - p1) < 0 in screen coordinates
};

// The circle through three points with its turning flag; nullopt for collinear points.
// Serves the arc tools and the automatic arc alike.
std::optional<CircleThrough3> CircleThroughThree(PixelPoint p1, PixelPoint p2, PixelPoint p3);

// The same circle under the name the automatic arc uses.
inline std::optional<CircleThrough3> CircleThrough(PixelPoint p1, PixelPoint p2, PixelPoint p3) {
    return CircleThroughThree(p1, p2, p3);
}

// Angle in degrees (0 to 180) between line 1 (p to q) and line 2 (r to s), measured at their
// intersection towards the end of each line farther from it. Two vertical lines read 180
// only when line 1 points upwards and line 2 ends below line 1's start; two horizontal lines
// read 180 only when line 1 points left and line 2 ends right of line 1's start; other
// parallel lines read 0. nullopt when either line has zero length.
std::optional<double> LineAngle(PixelPoint p, PixelPoint q, PixelPoint r, PixelPoint s);

// Angle in degrees (0 to 180) between the arms vertex -> first and vertex -> second;
// opposite arms read 180 in either order. nullopt when an arm has zero length.
std::optional<double> ArmAngle(PixelPoint first, PixelPoint vertex, PixelPoint second);

// Counter-clockwise sweep on screen from start to end around centre, in degrees in (0, 360].
double ArcSweep(PixelPoint start, PointD centre, PixelPoint end);
// The automatic arc's angle: the same counter-clockwise sweep, but the full turn added to a
// sweep that is not positive is 6.2831855, which can change the last printed digit of an arc.
// Also for refined (sub-pixel) end points.
double ArcAngle(PixelPoint start, PointD centre, PixelPoint end);
double ArcAngleD(PointD start, PointD centre, PointD end);

// Largest coordinate magnitude and bounding-box height PolygonPixelArea accepts; beyond them
// no mouse position inside a picture can reach, and the count is refused.
inline constexpr std::int32_t kMaxPolygonCoordinate = 1 << 29;
inline constexpr std::int64_t kMaxPolygonRows = std::int64_t{1} << 22;

// Number of integer pixels (x, y) inside the closed polygon by the even-odd rule, with left
// and top edges inside and right and bottom edges outside, so the square (0,0) (10,0)
// (10,10) (0,10) holds 100 pixels. Counted by scanlines. Fewer than three points give 0;
// nullopt beyond the limits above.
std::optional<std::int64_t> PolygonPixelArea(std::span<const PixelPoint> points);

// The same rule for one pixel, by testing every edge; the reference for PolygonPixelArea.
// False beyond kMaxPolygonCoordinate.
bool PolygonContainsPixel(std::span<const PixelPoint> points, std::int64_t x, std::int64_t y);

struct LineExtent {
    // The outermost projections: a towards smaller x on a mostly horizontal line, towards
    // smaller y on a mostly vertical one; b at the other end.
    PointD a;
    PointD b;
};

// Projects every point orthogonally onto the line through origin with the given direction
// (not necessarily of unit length) and returns the two extreme projections; equal extremes
// keep the later point. nullopt without points or with a zero or non-finite direction.
std::optional<LineExtent> ProjectOntoLine(std::span<const PixelPoint> points, PointD origin,
                                          PointD direction);

}  // namespace lensora
