// Measured values and label texts of every measuring tool, from the tool's integer points and
// the view's scale. Pure functions. Labels read the same in every locale ("L:6.383mm"); angles
// always carry two decimals and the degree sign; areas append the digit 2 to the unit (micrometres
// the sign ²).
// An operation returns std::nullopt ("no measurement") when its points define no line, circle
// or angle; the tool then stores nothing.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/pixel_point.h"
#include "base/units.h"
#include "measure/geometry.h"

namespace lensora {

using Labels = std::vector<std::string>;

// "<prefix><value><unit>" with the context's decimals, e.g. FormatLength("L:", 6.383, ...).
std::string FormatLength(std::string_view prefix, double value, const ScaleContext& ctx);
// "A:<value><unit>2" ("A:<value>µm²" for micrometres); with ctx.areaSignificant the value
// keeps at least three significant digits ("A:0.00196mm2" rather than "A:0.002mm2").
std::string FormatArea(double value, const ScaleContext& ctx);
// "<prefix><value>°", always two decimals.
std::string FormatDegrees(std::string_view prefix, double degrees);

// Straight line, parallel line, automatic line spacing, automatic line length 1: "L:".
// Coincident ends: no measurement.
std::optional<Labels> LineLabels(PixelPoint start, PixelPoint end, const ScaleContext& ctx);

struct DotLineValues {
    Labels labels;    // "L:" distance from the point to the reference line
    PixelPoint foot;  // the exact foot rounded, for drawing
};
// Reference line p-q and measured point r; coincident p and q: no measurement.
std::optional<DotLineValues> DotLineLabels(PixelPoint p, PixelPoint q, PixelPoint r,
                                           const ScaleContext& ctx);

// One segment of a continuous line, without prefix; zero-length segments read 0.
std::string ContinuousSegmentLabel(PixelPoint from, PixelPoint to, const ScaleContext& ctx);
// The labels of every segment of the path through the vertices.
Labels ContinuousLineLabels(std::span<const PixelPoint> vertices, const ScaleContext& ctx);
// The sum of the numbers the segment labels start with, as printed (so it can differ in the
// last decimal from the rounded exact sum).
double ContinuousLineTotal(std::span<const std::string> segmentLabels);
// "T:" of that sum; empty when the sum is zero (no total line is shown).
std::string ContinuousLineTotalLabel(std::span<const std::string> segmentLabels,
                                     const ScaleContext& ctx);

// "A:", "R:", "G:" of a circle of radius r pixels (radius, three-point and automatic circle).
Labels CircleLabels(double radiusPx, const ScaleContext& ctx);
// Radius circle: centre and rim point; coincident: no measurement.
std::optional<Labels> RadiusCircleLabels(PixelPoint centre, PixelPoint rim,
                                         const ScaleContext& ctx);

struct DiameterCircleValues {
    Labels labels;      // "A:", "R:", "G:"
    PixelPoint centre;  // integer midpoint of the two ends (sums divided by 2 in integers)
};
std::optional<DiameterCircleValues> DiameterCircleLabels(PixelPoint end1, PixelPoint end2,
                                                         const ScaleContext& ctx);

struct ThreePointCircleValues {
    Labels labels;  // "A:", "R:", "G:" from the exact circle
    PointD exactCentre;
    PixelPoint centre;    // exact centre rounded, stored as p0
    double radiusPx = 0;  // exact centre to the first click
};
// Clicks in click order; collinear clicks: no measurement.
std::optional<ThreePointCircleValues> ThreePointCircleLabels(PixelPoint first, PixelPoint second,
                                                             PixelPoint third,
                                                             const ScaleContext& ctx);

// Automatic circle from its fitted radius (pixels); not positive or not finite: none.
std::optional<Labels> AutoCircleLabels(double fittedRadiusPx, const ScaleContext& ctx);

struct TwoCirclesValues {
    Labels labels;       // "R:" of circle 1, "R:" of circle 2, "L:" centre distance
    PixelPoint centre1;  // exact centres rounded, stored as p3 and p8
    PixelPoint centre2;
};
// Clicks 1-3 on circle 1 and 4-6 on circle 2; either triple collinear: no measurement.
std::optional<TwoCirclesValues> TwoCirclesLabels(std::span<const PixelPoint, 6> clicks,
                                                 const ScaleContext& ctx);
// Circle 1 alone, shown after its third click: its "R:" and rounded centre.
std::optional<ThreePointCircleValues> TwoCirclesFirstLabel(PixelPoint c1, PixelPoint c2,
                                                           PixelPoint c3, const ScaleContext& ctx);

// "A:", "W:", "H:" of the box between two opposite corners, dragged either way.
Labels RectangleLabels(PixelPoint corner1, PixelPoint corner2, const ScaleContext& ctx);
// Live ellipse in the box between two corners: "A:", "a:", "b:" (semi-axes in whole pixels).
Labels EllipseLabels(PixelPoint corner1, PixelPoint corner2, const ScaleContext& ctx);

// "A:" of the pixels inside the polygon; nullopt only beyond PolygonPixelArea's limits.
std::optional<Labels> PolygonLabels(std::span<const PixelPoint> points, const ScaleContext& ctx);

// Angle of the arms vertex -> firstEnd and vertex -> secondEnd: "%.2f°".
std::optional<Labels> AngleLabels(PixelPoint firstEnd, PixelPoint vertex, PixelPoint secondEnd);
// Four-point and automatic angle between line p0-p1 and line p2-p3: "%.2f°".
std::optional<Labels> FourPointAngleLabels(PixelPoint p0, PixelPoint p1, PixelPoint p2,
                                           PixelPoint p3);

struct ArcValues {
    Labels labels;        // "R:", "Angle:", "Arc:"
    PixelPoint centre;    // exact centre rounded, stored as p4
    double radiusPx = 0;  // exact radius
    double sweepDeg = 0;  // angle of the arc through the second point
};
// Arc through three clicks; collinear: no measurement.
std::optional<ArcValues> ArcLabels(PixelPoint first, PixelPoint second, PixelPoint third,
                                   const ScaleContext& ctx);
// Automatic arc: circle through the first, picked and last snapped points; the arc length
// uses the fitted radius of all points (pixels).
std::optional<ArcValues> AutoArcLabels(PixelPoint first, PixelPoint picked, PixelPoint last,
                                       double fittedRadiusPx, const ScaleContext& ctx);

// Automatic arc from sub-pixel edges: the circle fitted through all refined points gives the
// centre and radius ("R:", and the arc length); the angle runs around that centre from the
// first to the last point on the side of the middle one. Collinear points or a radius that is
// not positive: none.
std::optional<ArcValues> FittedArcLabels(PointD first, PointD middle, PointD last, PointD centre,
                                         double radiusPx, const ScaleContext& ctx);

struct LineLength2Values {
    Labels labels;  // "L:" between the outermost projections
    PixelPoint a;   // end points rounded, for drawing
    PixelPoint b;
};
// Automatic line length 2: the collected points projected onto the fitted line given by a
// point on it and its direction. Fewer than two points or all projections equal: none.
std::optional<LineLength2Values> AutoLineLength2Labels(std::span<const PixelPoint> points,
                                                       PointD linePoint, PointD direction,
                                                       const ScaleContext& ctx);

// The tolerance circle's three texts from the typed values (already in the unit):
// "R:" radius, "R+:" radius + plus, "R-:" radius - minus.
Labels ToleranceCircleTexts(double radius, double tolerancePlus, double toleranceMinus,
                            const ScaleContext& ctx);

}  // namespace lensora
