#include "detect/auto_line_tools.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "detect/edge_refine.h"
#include "detect/line_fit.h"
#include "detect/search_rectangle.h"
#include "measure/geometry.h"
#include "measure/measured_values.h"
#include "measure/tool_catalog.h"

namespace lensora {

namespace {

PixelPoint Midpoint(PixelPoint a, PixelPoint b) {
    return RoundToPixel(PointD{(double(a.x) + b.x) / 2.0, (double(a.y) + b.y) / 2.0});
}

// Points along a found segment at which the edge is located: one every three pixels, at
// least five and at most sixty; a refinement needs a third of them (and three) to succeed.
constexpr double kRefineSpacing = 3.0;
constexpr int kMinRefinePoints = 5;
constexpr int kMaxRefinePoints = 60;

// The found segment (picture pixels) refined: edge points across it, a line through them,
// and the found ends projected onto that line.
std::optional<std::array<PointD, 2>> RefineSegment(const CxImage& image, PointD a, PointD b,
                                                   double noiseSigma) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length < 1.0) {
        return std::nullopt;
    }
    const PointD normal{-(b.y - a.y) / length, (b.x - a.x) / length};
    const int count = std::clamp(int(length / kRefineSpacing), kMinRefinePoints, kMaxRefinePoints);
    std::vector<PointD> points;
    for (int i = 0; i < count; ++i) {
        const double t = (i + 0.5) / count;
        const PointD at{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
        if (const std::optional<RefinedEdge> edge =
                RefineEdgeAcross(image, at, normal, noiseSigma)) {
            points.push_back(edge->point);
        }
    }
    if (points.size() < 3 || int(points.size()) * 3 < count) {
        return std::nullopt;
    }
    const std::optional<FittedLine> line = FitLineOrthogonal(points);
    if (!line) {
        return std::nullopt;
    }
    auto project = [&](PointD p) {
        const double t =
            (p.x - line->point.x) * line->direction.x + (p.y - line->point.y) * line->direction.y;
        return PointD{line->point.x + t * line->direction.x, line->point.y + t * line->direction.y};
    };
    return std::array<PointD, 2>{project(a), project(b)};
}

PointD MidpointD(PointD a, PointD b) {
    return {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
}

// Foot of the perpendicular from r onto the line through p and q (p != q).
PointD FootD(PointD p, PointD q, PointD r) {
    const PointD d{q.x - p.x, q.y - p.y};
    const double t = ((r.x - p.x) * d.x + (r.y - p.y) * d.y) / (d.x * d.x + d.y * d.y);
    return {p.x + t * d.x, p.y + t * d.y};
}

// The angle between two refined lines read as LineAngle reads it: at their intersection,
// towards the end of each line farther from it. Parallel lines: nullopt (the integer rules
// decide those).
std::optional<double> RefinedLineAngle(const std::array<PointD, 2>& l1,
                                       const std::array<PointD, 2>& l2) {
    const PointD d1{l1[1].x - l1[0].x, l1[1].y - l1[0].y};
    const PointD d2{l2[1].x - l2[0].x, l2[1].y - l2[0].y};
    const double cross = d1.x * d2.y - d1.y * d2.x;
    if (std::abs(cross) < 1e-12 * std::hypot(d1.x, d1.y) * std::hypot(d2.x, d2.y)) {
        return std::nullopt;
    }
    const double t = ((l2[0].x - l1[0].x) * d2.y - (l2[0].y - l1[0].y) * d2.x) / cross;
    const PointD x{l1[0].x + t * d1.x, l1[0].y + t * d1.y};
    auto farther = [&](const std::array<PointD, 2>& l) {
        const double d0 = std::hypot(l[0].x - x.x, l[0].y - x.y);
        const double d1 = std::hypot(l[1].x - x.x, l[1].y - x.y);
        const PointD end = d1 >= d0 ? l[1] : l[0];
        return PointD{end.x - x.x, end.y - x.y};
    };
    const PointD u = farther(l1);
    const PointD v = farther(l2);
    return std::atan2(std::abs(u.x * v.y - u.y * v.x), u.x * v.x + u.y * v.y) * 180.0 /
           3.14159265358979323846;
}

PointD ToRecordD(const ViewTransform& mapping, PointD view) {
    return mapping.ToRecordD(view);
}

}  // namespace

DetectedSegment DetectSegment(const CxImage& image, DrawnSegment drawn,
                              const ViewTransform& mapping, bool dilated,
                              SubPixelNoise subPixelNoise) {
    const SearchArea area = SearchRectangle(drawn.start, drawn.end);
    const PixelBox rect = ToPictureRect(area.rect, mapping);
    const std::optional<FoundSegment> found =
        dilated ? FindEdgeSegmentDilated(image, rect) : FindEdgeSegment(image, rect, area.mask);
    if (!found) {
        return {drawn.start, drawn.end, false, std::nullopt};
    }
    DetectedSegment segment{mapping.ToView(found->a), mapping.ToView(found->b), true, std::nullopt};
    if (subPixelNoise) {
        const std::optional<std::array<PointD, 2>> refined =
            RefineSegment(image, ToPointD(found->a), ToPointD(found->b), *subPixelNoise);
        if (!refined) {
            // Too little contrast along it: an edge of the noise, not of the picture.
            return {drawn.start, drawn.end, false, std::nullopt};
        }
        segment.refined =
            std::array<PointD, 2>{mapping.ToViewD((*refined)[0]), mapping.ToViewD((*refined)[1])};
    }
    return segment;
}

std::optional<AutoToolResult> AutoLineLength1(const CxImage& image, DrawnSegment drawn,
                                              PixelPoint anchor, const ViewTransform& mapping,
                                              const ScaleContext& ctx,
                                              SubPixelNoise subPixelNoise) {
    DetectedSegment segment = DetectSegment(image, drawn, mapping, true, subPixelNoise);
    if (segment.refined) {
        const auto& [a, b] = *segment.refined;
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length > 0.0) {
            const PointD ra = ToRecordD(mapping, a);
            const PointD rb = ToRecordD(mapping, b);
            AutoToolResult result{static_cast<int>(StillKind::kAutoLineLength1),
                                  {RoundToPixel(ra), RoundToPixel(rb), mapping.ToRecord(anchor)},
                                  {FormatLength("L:", length * ctx.s, ctx)},
                                  0.0,
                                  std::nullopt};
            result.refined = RefinedGeometry{std::nullopt, 0.0, {ra, rb}};
            return result;
        }
    }
    std::optional<Labels> labels = LineLabels(segment.a, segment.b, ctx);
    if (!labels && segment.found) {
        // The found ends met after the conversion to view pixels: keep the drawn line.
        segment = {drawn.start, drawn.end, false, std::nullopt};
        labels = LineLabels(segment.a, segment.b, ctx);
    }
    if (!labels) {
        return std::nullopt;
    }
    return AutoToolResult{
        static_cast<int>(StillKind::kAutoLineLength1),
        {mapping.ToRecord(segment.a), mapping.ToRecord(segment.b), mapping.ToRecord(anchor)},
        std::move(*labels),
        0.0,
        std::nullopt};
}

std::optional<LineSpacingResult> AutoLineSpacing(const CxImage& image, DrawnSegment first,
                                                 DrawnSegment second, PixelPoint anchor,
                                                 const ViewTransform& mapping,
                                                 const ScaleContext& ctx, AutoView view,
                                                 SubPixelNoise subPixelNoise) {
    const DetectedSegment line1 = DetectSegment(image, first, mapping, false, subPixelNoise);
    const DetectedSegment line2 = DetectSegment(image, second, mapping, false, subPixelNoise);
    LineSpacingResult result;
    std::optional<PointD> foot;
    std::optional<std::array<PointD, 2>> exact;  // from and to, view pixels
    if (line1.refined && line2.refined) {
        const PointD from = MidpointD((*line1.refined)[0], (*line1.refined)[1]);
        exact = {from, FootD((*line2.refined)[0], (*line2.refined)[1], from)};
        result.from = RoundToPixel((*exact)[0]);
        foot = (*exact)[1];
    } else if (line1.found && line2.found) {
        result.from = Midpoint(line1.a, line1.b);
        foot = PerpendicularFoot(line2.a, line2.b, result.from);
    }
    if (foot) {
        result.to = RoundToPixel(*foot);
        result.detected = true;
    } else {
        result.from = Midpoint(first.start, first.end);
        result.to = Midpoint(second.start, second.end);
    }
    const PixelPoint p0 = mapping.ToRecord(result.from);
    const PixelPoint p1 = mapping.ToRecord(result.to);
    std::optional<Labels> labels = LineLabels(p0, p1, ctx);
    if (exact) {
        const double distance =
            std::hypot((*exact)[1].x - (*exact)[0].x, (*exact)[1].y - (*exact)[0].y);
        labels = distance > 0.0
                     ? std::optional<Labels>(Labels{FormatLength("L:", distance * ctx.s, ctx)})
                     : std::nullopt;
        result.record.refined = RefinedGeometry{
            std::nullopt, 0.0, {ToRecordD(mapping, (*exact)[0]), ToRecordD(mapping, (*exact)[1])}};
    }
    if (!labels) {
        return std::nullopt;
    }
    result.distancePx =
        exact
            ? std::hypot((*exact)[1].x - (*exact)[0].x, (*exact)[1].y - (*exact)[0].y)
            : std::hypot(double(result.to.x) - result.from.x, double(result.to.y) - result.from.y);
    result.record.labels = std::move(*labels);
    if (view == AutoView::kStill) {
        result.record.kind = static_cast<int>(StillKind::kAutoLineSpacing);
        const std::array<PixelPoint, 4> ticks = EndTicks(p0, p1, kLineTickHalfLength);
        result.record.points = {
            p0, p1, ticks[0], ticks[1], ticks[2], ticks[3], mapping.ToRecord(anchor)};
    } else {
        result.record.kind = static_cast<int>(LiveKind::kAutoLineSpacing);
        result.record.points = {p0, p1, mapping.ToRecord(anchor)};
    }
    return result;
}

std::optional<AngleDetectionResult> AutoAngleDetection(const CxImage& image, DrawnSegment first,
                                                       DrawnSegment second, PixelPoint anchor,
                                                       const ViewTransform& mapping, AutoView view,
                                                       SubPixelNoise subPixelNoise) {
    const DetectedSegment line1 = DetectSegment(image, first, mapping, false, subPixelNoise);
    const DetectedSegment line2 = DetectSegment(image, second, mapping, false, subPixelNoise);
    std::optional<Labels> labels = FourPointAngleLabels(line1.a, line1.b, line2.a, line2.b);
    std::optional<RefinedGeometry> refined;
    if (line1.refined && line2.refined) {
        if (const std::optional<double> angle = RefinedLineAngle(*line1.refined, *line2.refined)) {
            labels = Labels{FormatDegrees("", *angle)};
            refined = RefinedGeometry{
                std::nullopt,
                0.0,
                {ToRecordD(mapping, (*line1.refined)[0]), ToRecordD(mapping, (*line1.refined)[1]),
                 ToRecordD(mapping, (*line2.refined)[0]), ToRecordD(mapping, (*line2.refined)[1])}};
        }
    }
    if (!labels) {
        return std::nullopt;
    }
    AngleDetectionResult result;
    result.firstFound = line1.found;
    result.secondFound = line2.found;
    result.record.kind = view == AutoView::kStill ? static_cast<int>(StillKind::kAutoAngle)
                                                  : static_cast<int>(LiveKind::kAutoAngle);
    result.record.points = {mapping.ToRecord(line1.a), mapping.ToRecord(line1.b),
                            mapping.ToRecord(line2.a), mapping.ToRecord(line2.b),
                            mapping.ToRecord(anchor)};
    result.record.labels = std::move(*labels);
    result.record.refined = std::move(refined);
    return result;
}

}  // namespace lensora
