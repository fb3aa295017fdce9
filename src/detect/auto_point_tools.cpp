#include "detect/auto_point_tools.h"

#include <cmath>

#include "detect/circle_fit.h"
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

std::optional<AutoToolResult> AutoCircle(std::span<const PixelPoint> collected,
                                         PixelPoint rightClick, const ViewTransform& mapping,
                                         const ScaleContext& ctx, AutoView view) {
    const std::optional<FittedCircle> circle = FitCircle(collected);
    if (!circle) {
        return std::nullopt;
    }
    std::optional<Labels> labels = AutoCircleLabels(circle->radius, ctx);
    if (!labels) {
        return std::nullopt;
    }
    const PixelPoint centre{TruncateToPixel(circle->centre.x + mapping.origin.x),
                            TruncateToPixel(circle->centre.y + mapping.origin.y)};
    return AutoToolResult{KindOf(PointTool::kCircle, view),
                          {centre, mapping.ToRecord(rightClick)},
                          std::move(*labels),
                          circle->radius};
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
        0.0};
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
                          0.0};
}

}  // namespace lensora
