#include "detect/auto_tool_preview.h"

#include "measure/record_move.h"

namespace lensora {

AutoPreview StillAutoPreview(StillMode mode) {
    switch (mode) {
        case StillMode::kAutoLineLength1:
        case StillMode::kAutoLineSpacing:
        case StillMode::kAutoAngle:
            return AutoPreview::Segments;
        case StillMode::kAutoCircle:
        case StillMode::kAutoArc:
        case StillMode::kAutoLineLength2:
            return AutoPreview::Crosses;
        default:
            return AutoPreview::None;
    }
}

AutoPreview LiveAutoPreview(LiveKind kind) {
    switch (kind) {
        case LiveKind::kAutoLineSpacing:
        case LiveKind::kAutoAngle:
            return AutoPreview::Segments;
        case LiveKind::kAutoCircle:
        case LiveKind::kAutoArc:
        case LiveKind::kAutoLineLength2:
            return AutoPreview::Crosses;
        default:
            return AutoPreview::None;
    }
}

void DrawAutoPreview(DrawingSurface& surface, AutoPreview preview, const WorkingLists& working,
                     const DrawingSettings& settings, PixelPoint scroll) {
    const auto at = [&](PixelPoint p, int dx, int dy) {
        return OffsetPoint(p, std::int64_t{dx} - scroll.x, std::int64_t{dy} - scroll.y);
    };
    const std::vector<PixelPoint>& points = working.points;
    if (preview == AutoPreview::Segments) {
        surface.SetPen(settings.CurrentPen());
        for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
            surface.MoveTo(at(points[i], 0, 0));
            surface.LineTo(at(points[i + 1], 0, 0));
        }
    } else if (preview == AutoPreview::Crosses) {
        Pen pen = settings.CurrentPen();
        pen.width = 1;
        surface.SetPen(pen);
        for (const PixelPoint p : points) {
            surface.MoveTo(at(p, -kSnapCrossHalf, 0));
            surface.LineTo(at(p, kSnapCrossHalf, 0));
            surface.MoveTo(at(p, 0, -kSnapCrossHalf));
            surface.LineTo(at(p, 0, kSnapCrossHalf));
        }
    }
}

}  // namespace lensora
