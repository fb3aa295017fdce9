#include "measure/measured_values.h"

#include <cmath>

#include "base/number_format.h"
#include "measure/geometry.h"

namespace lensora {

namespace {

// The program's constants, written out as it uses them: 100*pi, 2*pi*10 and pi*10 for the
// circles (applied here to s = U*10/E, hence divided by 100 or 10), 62.83 for the arc length
// and pi/4 for the ellipse.
constexpr double kCircleArea = 314.15926 / 100.0;
constexpr double kCircleGirth = 62.831852 / 10.0;
constexpr double kDiameterGirth = 31.415926 / 10.0;
constexpr double kArcLength = 62.83 / 10.0;
constexpr double kEllipseArea = 0.78539815;

constexpr std::string_view kDegreeSign = "\u00B0";

std::string Join(std::string_view prefix, std::string_view value, std::string_view suffix) {
    std::string text;
    text.reserve(prefix.size() + value.size() + suffix.size());
    text.append(prefix).append(value).append(suffix);
    return text;
}

}  // namespace

std::string FormatLength(std::string_view prefix, double value, const ScaleContext& ctx) {
    std::string text(prefix);
    text += FormatWithUnit(value, ctx);
    return text;
}

std::string FormatArea(double value, const ScaleContext& ctx) {
    const std::string number =
        ctx.areaSignificant ? FormatFixedSignificant(value, ctx.decimals, kAreaSignificantDigits)
                            : FormatFixed(value, ctx.decimals);
    return Join("A:", number, AreaUnitText(ctx.unit));
}

std::string FormatDegrees(std::string_view prefix, double degrees) {
    return Join(prefix, FormatFixed(degrees, 2), kDegreeSign);
}

std::optional<Labels> LineLabels(PixelPoint start, PixelPoint end, const ScaleContext& ctx) {
    if (start == end) {
        return std::nullopt;
    }
    return Labels{FormatLength("L:", Distance(start, end) * ctx.s, ctx)};
}

std::optional<DotLineValues> DotLineLabels(PixelPoint p, PixelPoint q, PixelPoint r,
                                           const ScaleContext& ctx) {
    const std::optional<double> distance = DistanceToLine(p, q, r);
    const std::optional<PointD> foot = PerpendicularFoot(p, q, r);
    if (!distance || !foot) {
        return std::nullopt;
    }
    return DotLineValues{{FormatLength("L:", *distance * ctx.s, ctx)}, RoundToPixel(*foot)};
}

std::string ContinuousSegmentLabel(PixelPoint from, PixelPoint to, const ScaleContext& ctx) {
    return FormatLength("", Distance(from, to) * ctx.s, ctx);
}

Labels ContinuousLineLabels(std::span<const PixelPoint> vertices, const ScaleContext& ctx) {
    Labels labels;
    for (std::size_t i = 1; i < vertices.size(); ++i) {
        labels.push_back(ContinuousSegmentLabel(vertices[i - 1], vertices[i], ctx));
    }
    return labels;
}

double ContinuousLineTotal(std::span<const std::string> segmentLabels) {
    double total = 0.0;
    for (const std::string& label : segmentLabels) {
        total += ParseLeadingNumber(label);
    }
    return total;
}

std::string ContinuousLineTotalLabel(std::span<const std::string> segmentLabels,
                                     const ScaleContext& ctx) {
    const double total = ContinuousLineTotal(segmentLabels);
    return total == 0.0 ? std::string() : FormatLength("T:", total, ctx);
}

Labels CircleLabels(double radiusPx, const ScaleContext& ctx) {
    const double r = radiusPx * ctx.s;
    return {FormatArea(r * r * kCircleArea, ctx), FormatLength("R:", r, ctx),
            FormatLength("G:", r * kCircleGirth, ctx)};
}

std::optional<Labels> RadiusCircleLabels(PixelPoint centre, PixelPoint rim,
                                         const ScaleContext& ctx) {
    if (centre == rim) {
        return std::nullopt;
    }
    return CircleLabels(Distance(centre, rim), ctx);
}

std::optional<DiameterCircleValues> DiameterCircleLabels(PixelPoint end1, PixelPoint end2,
                                                         const ScaleContext& ctx) {
    if (end1 == end2) {
        return std::nullopt;
    }
    const double d = Distance(end1, end2) * ctx.s;
    const double r = d / 2.0;
    // Integer halving truncates toward zero; the centre is for drawing only.
    const PixelPoint centre{static_cast<std::int32_t>((std::int64_t{end1.x} + end2.x) / 2),
                            static_cast<std::int32_t>((std::int64_t{end1.y} + end2.y) / 2)};
    return DiameterCircleValues{
        {FormatArea(r * r * kCircleArea, ctx), FormatLength("R:", d / 2.0, ctx),
         FormatLength("G:", d * kDiameterGirth, ctx)},
        centre};
}

std::optional<ThreePointCircleValues> ThreePointCircleLabels(PixelPoint first, PixelPoint second,
                                                             PixelPoint third,
                                                             const ScaleContext& ctx) {
    const std::optional<CircleThrough3> circle = CircleThroughThree(first, second, third);
    if (!circle) {
        return std::nullopt;
    }
    return ThreePointCircleValues{CircleLabels(circle->radius, ctx), circle->centre,
                                  RoundToPixel(circle->centre), circle->radius};
}

std::optional<Labels> AutoCircleLabels(double fittedRadiusPx, const ScaleContext& ctx) {
    if (!(fittedRadiusPx > 0.0) || !std::isfinite(fittedRadiusPx)) {
        return std::nullopt;
    }
    return CircleLabels(fittedRadiusPx, ctx);
}

std::optional<ThreePointCircleValues> TwoCirclesFirstLabel(PixelPoint c1, PixelPoint c2,
                                                           PixelPoint c3, const ScaleContext& ctx) {
    const std::optional<CircleThrough3> circle = CircleThroughThree(c1, c2, c3);
    if (!circle) {
        return std::nullopt;
    }
    return ThreePointCircleValues{{FormatLength("R:", circle->radius * ctx.s, ctx)},
                                  circle->centre,
                                  RoundToPixel(circle->centre),
                                  circle->radius};
}

std::optional<TwoCirclesValues> TwoCirclesLabels(std::span<const PixelPoint, 6> clicks,
                                                 const ScaleContext& ctx) {
    const std::optional<CircleThrough3> circle1 =
        CircleThroughThree(clicks[0], clicks[1], clicks[2]);
    // Circle 2's radius is taken to its last click.
    const std::optional<CircleThrough3> circle2 =
        CircleThroughThree(clicks[5], clicks[3], clicks[4]);
    if (!circle1 || !circle2) {
        return std::nullopt;
    }
    const double centreDistance = Distance(circle1->centre, circle2->centre);
    return TwoCirclesValues{{FormatLength("R:", circle1->radius * ctx.s, ctx),
                             FormatLength("R:", circle2->radius * ctx.s, ctx),
                             FormatLength("L:", centreDistance * ctx.s, ctx)},
                            RoundToPixel(circle1->centre),
                            RoundToPixel(circle2->centre)};
}

Labels RectangleLabels(PixelPoint corner1, PixelPoint corner2, const ScaleContext& ctx) {
    const double w = std::abs(double(corner2.x) - corner1.x) * ctx.s;
    const double h = std::abs(double(corner2.y) - corner1.y) * ctx.s;
    return {FormatArea(w * h, ctx), FormatLength("W:", w, ctx), FormatLength("H:", h, ctx)};
}

Labels EllipseLabels(PixelPoint corner1, PixelPoint corner2, const ScaleContext& ctx) {
    const std::int64_t dx = std::abs(std::int64_t{corner2.x} - corner1.x);
    const std::int64_t dy = std::abs(std::int64_t{corner2.y} - corner1.y);
    const double area = double(dx) * double(dy) * kEllipseArea * ctx.s * ctx.s;
    return {FormatArea(area, ctx), FormatLength("a:", double(dx / 2) * ctx.s, ctx),
            FormatLength("b:", double(dy / 2) * ctx.s, ctx)};
}

std::optional<Labels> PolygonLabels(std::span<const PixelPoint> points, const ScaleContext& ctx) {
    const std::optional<std::int64_t> pixels = PolygonPixelArea(points);
    if (!pixels) {
        return std::nullopt;
    }
    return Labels{FormatArea(double(*pixels) * ctx.s * ctx.s, ctx)};
}

std::optional<Labels> AngleLabels(PixelPoint firstEnd, PixelPoint vertex, PixelPoint secondEnd) {
    const std::optional<double> angle = ArmAngle(firstEnd, vertex, secondEnd);
    if (!angle) {
        return std::nullopt;
    }
    return Labels{FormatDegrees("", *angle)};
}

std::optional<Labels> FourPointAngleLabels(PixelPoint p0, PixelPoint p1, PixelPoint p2,
                                           PixelPoint p3) {
    const std::optional<double> angle = LineAngle(p0, p1, p2, p3);
    if (!angle) {
        return std::nullopt;
    }
    return Labels{FormatDegrees("", *angle)};
}

namespace {

// The manual arc measures its sweep with ArcSweep; the automatic arc, given its fitted radius,
// with ArcAngle.
std::optional<ArcValues> ArcThrough(PixelPoint first, PixelPoint second, PixelPoint third,
                                    std::optional<double> arcRadiusPx, const ScaleContext& ctx) {
    const std::optional<CircleThrough3> circle = CircleThroughThree(first, second, third);
    if (!circle) {
        return std::nullopt;
    }
    double sweep = arcRadiusPx ? ArcAngle(first, circle->centre, third)
                               : ArcSweep(first, circle->centre, third);
    // The sweep runs counter-clockwise on screen; without the turning flag the arc through
    // the second point is the other one.
    if (!circle->turning) {
        sweep = 360.0 - sweep;
    }
    const double arcRadius = arcRadiusPx.value_or(circle->radius);
    return ArcValues{
        {FormatLength("R:", circle->radius * ctx.s, ctx), FormatDegrees("Angle:", sweep),
         FormatLength("Arc:", sweep * arcRadius * ctx.s * kArcLength / 360.0, ctx)},
        RoundToPixel(circle->centre),
        circle->radius,
        sweep};
}

}  // namespace

std::optional<ArcValues> ArcLabels(PixelPoint first, PixelPoint second, PixelPoint third,
                                   const ScaleContext& ctx) {
    return ArcThrough(first, second, third, std::nullopt, ctx);
}

std::optional<ArcValues> AutoArcLabels(PixelPoint first, PixelPoint picked, PixelPoint last,
                                       double fittedRadiusPx, const ScaleContext& ctx) {
    if (!std::isfinite(fittedRadiusPx)) {
        return std::nullopt;
    }
    return ArcThrough(first, picked, last, fittedRadiusPx, ctx);
}

std::optional<ArcValues> FittedArcLabels(PointD first, PointD middle, PointD last, PointD centre,
                                         double radiusPx, const ScaleContext& ctx) {
    const double turn =
        (middle.x - first.x) * (last.y - first.y) - (last.x - first.x) * (middle.y - first.y);
    if (turn == 0.0 || !std::isfinite(turn) || !(radiusPx > 0.0) || !std::isfinite(radiusPx)) {
        return std::nullopt;
    }
    double sweep = ArcAngleD(first, centre, last);
    if (!(turn < 0.0)) {
        sweep = 360.0 - sweep;
    }
    return ArcValues{{FormatLength("R:", radiusPx * ctx.s, ctx), FormatDegrees("Angle:", sweep),
                      FormatLength("Arc:", sweep * radiusPx * ctx.s * kArcLength / 360.0, ctx)},
                     RoundToPixel(centre),
                     radiusPx,
                     sweep};
}

std::optional<LineLength2Values> AutoLineLength2Labels(std::span<const PixelPoint> points,
                                                       PointD linePoint, PointD direction,
                                                       const ScaleContext& ctx) {
    if (points.size() < 2) {
        return std::nullopt;
    }
    const std::optional<LineExtent> extent = ProjectOntoLine(points, linePoint, direction);
    if (!extent) {
        return std::nullopt;
    }
    const double length = Distance(extent->a, extent->b);
    if (!(length > 0.0) || !std::isfinite(length)) {
        return std::nullopt;
    }
    return LineLength2Values{{FormatLength("L:", length * ctx.s, ctx)},
                             RoundToPixel(extent->a),
                             RoundToPixel(extent->b)};
}

Labels ToleranceCircleTexts(double radius, double tolerancePlus, double toleranceMinus,
                            const ScaleContext& ctx) {
    return {FormatLength("R:", radius, ctx), FormatLength("R+:", radius + tolerancePlus, ctx),
            FormatLength("R-:", radius - toleranceMinus, ctx)};
}

}  // namespace lensora
