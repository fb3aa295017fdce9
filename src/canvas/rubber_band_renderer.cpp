#include "canvas/rubber_band_renderer.h"

#include <algorithm>

#include "measure/measure_record.h"

namespace lensora {

void DrawRubberBand(DrawingSurface& surface, const RubberBand& band, const MovedRecordView& view) {
    surface.SetRasterMode(RasterMode::NotXor);
    if (band.kind == RubberBandKind::MovedRecord) {
        if (band.record != nullptr) {
            surface.SetPen({PenStyle::Solid, 1, 0});
            // Shifting every stored point is the same as moving the origin by the shift.
            ViewTransform t = view.transform;
            t.origin = {TruncateToPixel(double(t.origin.x) + band.shift.x),
                        TruncateToPixel(double(t.origin.y) + band.shift.y)};
            DrawRecordFigure(surface, *band.record, view.scheme, t, view.tickScale);
        }
        surface.SetRasterMode(RasterMode::Copy);
        return;
    }
    const int width = std::clamp(band.penWidth, 0, kMaxPenWidthDrawn);
    surface.SetPen({StoredPenStyle(band.penStyle, width), width, UsableColour(band.penColour)});
    const PixelPoint a = band.from;
    const PixelPoint b = band.to;
    switch (band.kind) {
        case RubberBandKind::Line:
            surface.MoveTo(a);
            surface.LineTo(b);
            break;
        case RubberBandKind::Rectangle:
            surface.Rectangle(
                {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)});
            break;
        case RubberBandKind::RadiusCircle: {
            const std::int32_t r = IntegerRadius(a, b);
            surface.Ellipse(BoxAround(a, r, r));
            surface.MoveTo(a);
            surface.LineTo(b);
            break;
        }
        case RubberBandKind::LabelBox:
            surface.Rectangle(LabelBox(b));
            break;
        case RubberBandKind::MovedRecord:
            break;
    }
    surface.SetRasterMode(RasterMode::Copy);
}

}  // namespace lensora
