#include "detect/auto_point_tools.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "detect/circle_fit.h"
#include "detect/edge_refine.h"
#include "detect/edge_snap.h"
#include "detect/line_fit.h"
#include "measure/geometry.h"
#include "measure/measured_values.h"
#include "measure/tool_catalog.h"

namespace lensora {

namespace {

int KindOf(PointTool tool, AutoView view) {
    const bool still = view == AutoView::kStill;
    switch (tool) {
        case PointTool::kCircle:
            return still ? int(StillKind::kAutoCircle) : int(LiveKind::kAutoCircle);
        case PointTool::kArc:
            return still ? int(StillKind::kAutoArc) : int(LiveKind::kAutoArc);
        case PointTool::kLineLength2:
            return still ? int(StillKind::kAutoLineLength2) : int(LiveKind::kAutoLineLength2);
    }
    return kNoToolKind;
}

}  // namespace

std::optional<PixelPoint> SnapClick(const CxImage& image, PixelPoint click,
                                    const ViewTransform& mapping, int detectRange) {
    const std::optional<PixelPoint> snapped =
        SnapToEdge(image, mapping.ToPicture(click), detectRange);
    if (!snapped) {
        return std::nullopt;
    }
    return mapping.ToView(*snapped);
}

bool PointToolReady(PointTool tool, std::size_t collectedCount) {
    return tool == PointTool::kLineLength2 ? collectedCount > 1 : collectedCount > 2;
}

namespace {

// The automatic circle's record from a fit: [centre plus scroll, truncated; right click plus
// scroll], the fitted radius, and with `exact` the unrounded centre and radius as well.
std::optional<AutoToolResult> CircleResult(const std::optional<FittedCircle>& circle,
                                           PixelPoint rightClick, const ViewTransform& mapping,
                                           const ScaleContext& ctx, AutoView view, bool exact) {
    if (!circle) {
        return std::nullopt;
    }
    std::optional<Labels> labels = AutoCircleLabels(circle->radius, ctx);
    if (!labels) {
        return std::nullopt;
    }
    const PointD centre = mapping.ToRecordD(circle->centre);
    AutoToolResult result{
        KindOf(PointTool::kCircle, view),
        {{TruncateToPixel(centre.x), TruncateToPixel(centre.y)}, mapping.ToRecord(rightClick)},
        std::move(*labels),
        circle->radius,
        std::nullopt};
    if (exact) {
        result.refined = RefinedGeometry{centre, circle->radius, {}};
    }
    return result;
}

}  // namespace

std::optional<AutoToolResult> AutoCircle(std::span<const PixelPoint> collected,
                                         PixelPoint rightClick, const ViewTransform& mapping,
                                         const ScaleContext& ctx, AutoView view) {
    return CircleResult(FitCircle(collected), rightClick, mapping, ctx, view, false);
}

std::optional<std::size_t> PickArcPoint(std::span<const PixelPoint> collected, const PointD& centre,
                                        double radius) {
    if (collected.size() < 3) {
        return std::nullopt;
    }
    std::size_t picked = 1;
    double bestDifference = radius;
    for (std::size_t i = 1; i + 1 < collected.size(); ++i) {
        const double distance = std::hypot(collected[i].x - centre.x, collected[i].y - centre.y);
        const double difference = std::abs(distance - radius);
        if (difference < bestDifference) {
            bestDifference = difference;
            picked = i;
        }
    }
    return picked;
}

std::optional<AutoToolResult> AutoArc(std::span<const PixelPoint> collected,
                                      const ViewTransform& mapping, const ScaleContext& ctx,
                                      AutoView view) {
    const std::optional<FittedCircle> circle = FitCircle(collected);
    if (!circle) {
        return std::nullopt;
    }
    const std::optional<std::size_t> picked =
        PickArcPoint(collected, circle->centre, circle->radius);
    if (!picked) {
        return std::nullopt;
    }
    const PixelPoint first = collected.front();
    const PixelPoint middle = collected[*picked];
    const PixelPoint last = collected.back();
    std::optional<ArcValues> arc = AutoArcLabels(first, middle, last, circle->radius, ctx);
    if (!arc) {
        return std::nullopt;
    }
    const PixelPoint centre = mapping.ToRecord(arc->centre);
    return AutoToolResult{
        KindOf(PointTool::kArc, view),
        {mapping.ToRecord(first), mapping.ToRecord(middle), mapping.ToRecord(last), centre, centre},
        std::move(arc->labels),
        0.0,
        std::nullopt};
}

std::optional<AutoToolResult> AutoLineLength2(std::span<const PixelPoint> collected,
                                              const ViewTransform& mapping, const ScaleContext& ctx,
                                              AutoView view) {
    const std::optional<FittedLine> line = FitLine(collected);
    if (!line) {
        return std::nullopt;
    }
    std::optional<LineLength2Values> values =
        AutoLineLength2Labels(collected, line->point, line->direction, ctx);
    if (!values) {
        return std::nullopt;
    }
    const PixelPoint b = mapping.ToRecord(values->b);
    return AutoToolResult{KindOf(PointTool::kLineLength2, view),
                          {mapping.ToRecord(values->a), b, b},
                          std::move(values->labels),
                          0.0,
                          std::nullopt};
}

SubPixelClick SnapClickSubPixel(const CxImage& image, PixelPoint click, const ViewTransform& mapping,
                                int detectRange, double noiseSigma) {
    const PixelPoint pictureClick = mapping.ToPicture(click);
    const std::optional<SnapOutcome> snapped = SnapToEdgeOutcome(image, pictureClick, detectRange);
    if (!snapped) {
        return {};
    }
    SubPixelClick result;
    result.detectable = true;
    if (!snapped->found) {
        return result;  // nothing in the window: no corner point is ever taken
    }
    const std::optional<RefinedEdge> edge =
        RefineSnappedEdge(image, ToPointD(pictureClick), ToPointD(snapped->point), noiseSigma);
    if (edge) {
        result.point = mapping.ToViewD(edge->point);
    }
    return result;
}

namespace {

PointD Shifted(PointD view, const ViewTransform& mapping) {
    return mapping.ToRecordD(view);
}

}  // namespace

std::optional<AutoToolResult> AutoCircleSubPixel(std::span<const PointD> points,
                                                 PixelPoint rightClick, const ViewTransform& mapping,
                                                 const ScaleContext& ctx, AutoView view) {
    return CircleResult(FitCircleGeometric(points), rightClick, mapping, ctx, view, true);
}

std::optional<AutoToolResult> AutoArcSubPixel(std::span<const PointD> points,
                                              const ViewTransform& mapping, const ScaleContext& ctx,
                                              AutoView view) {
    const std::optional<FittedCircle> circle = FitCircleGeometric(points);
    if (!circle) {
        return std::nullopt;
    }
    std::size_t picked = 1;
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const double difference =
            std::abs(std::hypot(points[i].x - circle->centre.x, points[i].y - circle->centre.y) -
                     circle->radius);
        if (difference < best) {
            best = difference;
            picked = i;
        }
    }
    const PointD first = points.front();
    const PointD middle = points[picked];
    const PointD last = points.back();
    std::optional<ArcValues> arc =
        FittedArcLabels(first, middle, last, circle->centre, circle->radius, ctx);
    if (!arc) {
        return std::nullopt;
    }
    const PointD centre = Shifted(circle->centre, mapping);
    const PixelPoint z = RoundToPixel(centre);
    AutoToolResult result{
        KindOf(PointTool::kArc, view),
        {RoundToPixel(Shifted(first, mapping)), RoundToPixel(Shifted(middle, mapping)),
         RoundToPixel(Shifted(last, mapping)), z, z},
        std::move(arc->labels),
        0.0,
        std::nullopt};
    result.refined = RefinedGeometry{
        centre,
        circle->radius,
        {Shifted(first, mapping), Shifted(middle, mapping), Shifted(last, mapping)}};
    return result;
}

std::optional<AutoToolResult> AutoLineLength2SubPixel(std::span<const PointD> points,
                                                      const ViewTransform& mapping,
                                                      const ScaleContext& ctx, AutoView view) {
    if (points.size() < 2) {
        return std::nullopt;
    }
    const std::optional<FittedLine> line = FitLineOrthogonal(points);
    if (!line) {
        return std::nullopt;
    }
    // A runs towards smaller x on a mostly horizontal line, towards smaller y on a steep one.
    PointD direction = line->direction;
    const bool flat = std::abs(direction.x) >= std::abs(direction.y);
    if ((flat && direction.x < 0) || (!flat && direction.y < 0)) {
        direction = {-direction.x, -direction.y};
    }
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const PointD& p : points) {
        const double t = (p.x - line->point.x) * direction.x + (p.y - line->point.y) * direction.y;
        low = std::min(low, t);
        high = std::max(high, t);
    }
    const double length = high - low;
    if (!(length > 0.0) || !std::isfinite(length)) {
        return std::nullopt;
    }
    const PointD a =
        Shifted({line->point.x + low * direction.x, line->point.y + low * direction.y}, mapping);
    const PointD b =
        Shifted({line->point.x + high * direction.x, line->point.y + high * direction.y}, mapping);
    const PixelPoint bPixel = RoundToPixel(b);
    AutoToolResult result{KindOf(PointTool::kLineLength2, view),
                          {RoundToPixel(a), bPixel, bPixel},
                          {FormatLength("L:", length * ctx.s, ctx)},
                          0.0,
                          std::nullopt};
    result.refined = RefinedGeometry{std::nullopt, 0.0, {a, b}};
    return result;
}

}  // namespace lensora
