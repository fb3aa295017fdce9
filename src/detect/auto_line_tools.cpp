#include "detect/auto_line_tools.h"

#include <array>
#include <cmath>

#include "detect/search_rectangle.h"
#include "measure/geometry.h"
#include "measure/tool_catalog.h"

namespace lensora {

namespace {

PixelPoint Midpoint(PixelPoint a, PixelPoint b) {
    return RoundToPixel(PointD{(double(a.x) + b.x) / 2.0, (double(a.y) + b.y) / 2.0});
}

}  // namespace

DetectedSegment DetectSegment(const CxImage& image, DrawnSegment drawn,
                              const ViewTransform& mapping, bool dilated) {
    const SearchArea area = SearchRectangle(drawn.start, drawn.end);
    const PixelRect rect = ToPictureRect(area.rect, mapping);
    const std::optional<FoundSegment> found =
        dilated ? FindEdgeSegmentDilated(image, rect) : FindEdgeSegment(image, rect, area.mask);
    if (!found) {
        return {drawn.start, drawn.end, false};
    }
    return {mapping.ToView(found->a), mapping.ToView(found->b), true};
}

std::optional<AutoToolResult> AutoLineLength1(const CxImage& image, DrawnSegment drawn,
                                              PixelPoint anchor, const ViewTransform& mapping,
                                              const ScaleContext& ctx) {
    DetectedSegment segment = DetectSegment(image, drawn, mapping, true);
    std::optional<Labels> labels = LineLabels(segment.a, segment.b, ctx);
    if (!labels && segment.found) {
        // The found ends met after the conversion to view pixels: keep the drawn line.
        segment = {drawn.start, drawn.end, false};
        labels = LineLabels(segment.a, segment.b, ctx);
    }
    if (!labels) {
        return std::nullopt;
    }
    return AutoToolResult{
        static_cast<int>(StillKind::kAutoLineLength1),
        {mapping.ToRecord(segment.a), mapping.ToRecord(segment.b), mapping.ToRecord(anchor)},
        std::move(*labels),
        0.0};
}

std::optional<LineSpacingResult> AutoLineSpacing(const CxImage& image, DrawnSegment first,
                                                 DrawnSegment second, PixelPoint anchor,
                                                 const ViewTransform& mapping,
                                                 const ScaleContext& ctx, AutoView view) {
    const DetectedSegment line1 = DetectSegment(image, first, mapping, false);
    const DetectedSegment line2 = DetectSegment(image, second, mapping, false);
    LineSpacingResult result;
    std::optional<PointD> foot;
    if (line1.found && line2.found) {
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
    if (!labels) {
        return std::nullopt;
    }
    result.distancePx =
        std::hypot(double(result.to.x) - result.from.x, double(result.to.y) - result.from.y);
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
                                                       const ViewTransform& mapping,
                                                       AutoView view) {
    const DetectedSegment line1 = DetectSegment(image, first, mapping, false);
    const DetectedSegment line2 = DetectSegment(image, second, mapping, false);
    std::optional<Labels> labels = FourPointAngleLabels(line1.a, line1.b, line2.a, line2.b);
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
    return result;
}

}  // namespace lensora
