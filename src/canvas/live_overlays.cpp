#include "canvas/live_overlays.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/number_format.h"
#include "measure/geometry.h"
#include "measure/measured_values.h"

namespace lensora {
namespace {

constexpr int kTickHalf = 6;
constexpr int kLabelShift = 6;   // labels start 6 pixels before their tick
constexpr int kLabelBelow = 17;  // first label line below (right of) the axis
constexpr int kLabelAbove = -34;
constexpr int kLengthLabelDrop = 16;
constexpr int kToleranceLabelGap = 20;
constexpr PixelPoint kAngleLabelOffset{10, -30};
constexpr double kAngleArcShare = 0.3;
constexpr double kFineMagnification = 30.0;

std::int32_t RoundHalfUp(double v) {
    return TruncateToPixel(v + 0.5);
}

PixelPoint Centre(const DrawingSurface& s) {
    return {s.Width() / 2 + 1, s.Height() / 2 + 1};
}

void DrawAxes(DrawingSurface& s, PixelPoint c) {
    s.MoveTo({0, c.y});
    s.LineTo({s.Width(), c.y});
    s.MoveTo({c.x, 0});
    s.LineTo({c.x, s.Height()});
}

// One half-axis pair of ticks and labels. `along` true: ticks on the horizontal axis.
void DrawRulerAxis(DrawingSurface& s, const RulerSettings& ruler, PixelPoint c, bool horizontal) {
    const int spacing = RulerTickSpacing(ruler);
    if (spacing <= 0) {
        return;
    }
    const int labelFactor = ruler.magnification > kFineMagnification ? 20 : 4;
    const double step = RulerValueStep(ruler.unit);
    const int limit = horizontal ? c.x : c.y;
    const int extent = horizontal ? s.Width() : s.Height();
    // Surface point at distance `along` on the axis and `across` beside it.
    const auto at = [&](int along, int across) {
        return horizontal ? PixelPoint{along, across} : PixelPoint{across, along};
    };
    const int centreAlong = horizontal ? c.x : c.y;
    const int centreAcross = horizontal ? c.y : c.x;
    int labelled = 0;
    long long index = 0;
    for (int t = 0; t < limit; t += spacing, ++index) {
        for (const int pos : {centreAlong + t, centreAlong - t}) {
            s.MoveTo(at(pos, centreAcross - kTickHalf));
            s.LineTo(at(pos, centreAcross + kTickHalf));
        }
        const double value = double(index) * step;
        if (value == 0.0) {
            continue;
        }
        const int across = centreAcross + (labelled % 2 == 0 ? kLabelBelow : kLabelAbove);
        ++labelled;
        const long long offset = static_cast<long long>(labelFactor) * t;
        const std::string text = FormatFixed(value, 2);
        const long long plus = centreAlong + offset - kLabelShift;
        if (plus < extent) {
            s.TextOut(at(static_cast<int>(plus), across), text);
        }
        const std::string negative = "-" + text;
        const long long minus = centreAlong - offset - kLabelShift;
        // Text runs right (or down) from its anchor: skip it only when it ends before 0.
        if (minus >= 0 ||
            minus + (horizontal ? s.MeasureText(negative).width : s.MeasureText(negative).height) >
                0) {
            s.TextOut(at(static_cast<int>(minus), across), negative);
        }
    }
}

void DrawLengthLine(DrawingSurface& s, const ReferenceShape& shape, const ViewTransform& t,
                    const ReferenceContext& ctx) {
    if (shape.points.size() < 2) {
        return;
    }
    const PixelPoint start = shape.points[0];
    const PixelPoint end = shape.points[1];
    const bool vertical = shape.flag != 0;
    s.MoveTo(t.ToPicture(start));
    s.LineTo(t.ToPicture(end));
    const std::array<PixelPoint, 4> ticks = EndTicks(start, end, kLineTickHalfLength);
    s.MoveTo(t.ToPicture(ticks[0]));
    s.LineTo(t.ToPicture(ticks[1]));
    s.MoveTo(t.ToPicture(ticks[2]));
    s.LineTo(t.ToPicture(ticks[3]));

    const double pixels = vertical ? double(end.y) - start.y : double(end.x) - start.x;
    const double value = LengthLineValue(pixels, ctx);
    s.SetFont(ReferenceLabelFont(vertical));
    s.SetTextColour(UsableColour(shape.textColor));
    const PixelPoint a = t.ToPicture(start);
    s.TextOut(OffsetPoint(a, 0, kLengthLabelDrop),
              "L:" + FormatWithUnit(value, ctx.decimals, ctx.unit));
}

void DrawAngleLine(DrawingSurface& s, const ReferenceShape& shape, const ViewTransform& t) {
    if (shape.points.size() < 3) {
        return;
    }
    const PixelPoint v = t.ToPicture(shape.points[0]);
    const PixelPoint a1 = t.ToPicture(shape.points[1]);
    const PixelPoint a2 = t.ToPicture(shape.points[2]);
    s.MoveTo(v);
    s.LineTo(a1);
    s.MoveTo(v);
    s.LineTo(a2);
    const double armLength = std::hypot(double(a1.x) - v.x, double(a1.y) - v.y);
    const std::int32_t r = TruncateToPixel(kAngleArcShare * armLength);
    if (r > 0 && a2 != v) {
        // Clockwise from the first arm to the second is counter-clockwise from the second.
        s.Arc(BoxAround(v, r, r), a2, a1);
    }
    const double sweepDeg = ArcSweep(shape.points[2], ToPointD(shape.points[0]), shape.points[1]);
    s.SetFont(ReferenceLabelFont(false));
    s.SetTextColour(UsableColour(shape.textColor));
    s.TextOut(OffsetPoint(v, kAngleLabelOffset.x, kAngleLabelOffset.y),
              FormatDegrees("", sweepDeg));
}

void DrawToleranceCircle(DrawingSurface& s, const ReferenceShape& shape, const ViewTransform& t,
                         const ReferenceContext& ctx) {
    const PixelPoint c =
        t.ToPicture(shape.points.empty() ? kToleranceCircleCentre : shape.points[0]);
    const auto circle = [&](double radiusPx) {
        if (radiusPx > 0) {
            s.Ellipse(BoxAround(c, t.LengthX(radiusPx), t.LengthY(radiusPx)));
        }
    };
    circle(shape.radiusPx);
    s.MoveTo(c);
    s.LineTo({TruncateToPixel(double(c.x) + t.LengthX(shape.radiusPx)), c.y});
    s.SetPen({PenStyle::DashDot, 1, UsableColour(shape.color)});
    circle(double(shape.radiusPx) + shape.tolerancePlusPx);
    circle(double(shape.radiusPx) - shape.toleranceMinusPx);

    const ScaleContext scale{1.0, ctx.unit, ctx.decimals};
    const Labels texts =
        ToleranceCircleTexts(shape.radius, shape.tolerancePlus, shape.toleranceMinus, scale);
    s.SetFont(ReferenceLabelFont(false));
    s.SetTextColour(UsableColour(shape.textColor));
    s.TextOut(OffsetPoint(c, 0, -kToleranceLabelGap), texts[1]);  // R+
    s.TextOut(c, texts[0]);                                       // R
    s.TextOut(OffsetPoint(c, 0, kToleranceLabelGap), texts[2]);   // R-
}

}  // namespace

int RulerTickSpacing(const RulerSettings& ruler) {
    const double s = ruler.pixelsPerUnit;
    if (!std::isfinite(s) || s <= 0) {
        return 0;
    }
    return RoundHalfUp((ruler.magnification > kFineMagnification ? 0.05 : 0.25) * s);
}

double RulerValueStep(std::string_view unit) {
    if (unit == unit::kInch) {
        return 0.01;
    }
    if (unit == unit::kMil) {
        return 10.0;
    }
    if (unit == unit::kCentimetre) {
        return 0.1;
    }
    return 1.0;
}

void DrawCrossRuler(DrawingSurface& s, const RulerSettings& ruler) {
    const PixelPoint c = Centre(s);
    s.SetPen({PenStyle::Solid, 1, kOverlayRed});
    s.SetTextColour(kOverlayRed);
    s.SetFont(ruler.font);
    DrawAxes(s, c);
    DrawRulerAxis(s, ruler, c, true);
    DrawRulerAxis(s, ruler, c, false);
}

void DrawConcentricRings(DrawingSurface& s, double pixelsPerUnit) {
    const PixelPoint c = Centre(s);
    s.SetPen({PenStyle::Solid, 1, kOverlayRed});
    DrawAxes(s, c);
    if (!std::isfinite(pixelsPerUnit) || pixelsPerUnit <= 0) {
        return;
    }
    const std::int32_t step = RoundHalfUp(pixelsPerUnit);
    if (step <= 0) {
        return;
    }
    // The radius-0 circle of the series covers no pixel and is left out.
    for (std::int64_t r = step; r < s.Height() / 2 + 1; r += step) {
        s.Ellipse(BoxAround(c, double(r), double(r)));
    }
}

void DrawWhiteCross(DrawingSurface& s) {
    s.SetPen({PenStyle::Solid, 1, 0xFFFFFF});
    const int w = s.Width();
    const int h = s.Height();
    s.MoveTo({0, h / 2});
    s.LineTo({w, h / 2});
    s.MoveTo({w / 2, 0});
    s.LineTo({w / 2, h});
}

double CutLengthLineValue(double value) {
    if (!std::isfinite(value)) {
        return 0.0;
    }
    const double hundredths = std::floor(100.0 * value);
    if (std::fmod(hundredths, 10.0) == 0.0) {
        return hundredths / 100.0;
    }
    const double thousandths = std::floor(1000.0 * value);
    return std::floor((thousandths + 5.0) / 10.0) / 100.0;
}

double LengthLineValue(double pixelLength, const ReferenceContext& ctx) {
    if (!(ctx.magnification > 0) || !std::isfinite(ctx.magnification)) {
        return 0.0;
    }
    const double u = OverlayUnitsPerPixel(ctx.unit, ctx.camera);
    return CutLengthLineValue(std::abs(pixelLength) * u * 10.0 / ctx.magnification);
}

LogFont ReferenceLabelFont(bool vertical) {
    LogFont font = DefaultLogFont();  // "Arial" 14, weight 400, character set 134
    font.escapement = vertical ? 2700 : 0;
    return font;
}

void DrawReferenceOverlays(DrawingSurface& s, std::span<const ReferenceShape> shapes,
                           const ReferenceContext& ctx) {
    const ViewTransform t = ScaledDrawing(ctx.display.fx, ctx.display.fy);
    for (const ReferenceShape& shape : shapes) {
        const int width = std::clamp(shape.penWidth, 0, kMaxPenWidthDrawn);
        s.SetPen({StoredPenStyle(shape.penStyle, width), width, UsableColour(shape.color)});
        switch (shape.kind) {
            case ReferenceKind::kLengthLine:
                DrawLengthLine(s, shape, t, ctx);
                break;
            case ReferenceKind::kAngleLine:
                DrawAngleLine(s, shape, t);
                break;
            case ReferenceKind::kToleranceCircle:
                DrawToleranceCircle(s, shape, t, ctx);
                break;
        }
    }
}

}  // namespace lensora
