#include "measure/reference_shape.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace lensora {

std::optional<std::int32_t> UnitsToPixels(double value, double s) {
    const double pixels = std::round(value / s);
    // Pixel lengths beyond a million could not be drawn or dragged; refuse them with the
    // zero-division and overflow cases.
    constexpr double kMaxPixels = 1.0e6;
    if (s == 0.0 || !std::isfinite(pixels) || std::abs(pixels) > kMaxPixels) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(pixels);
}

ShapeResult<ReferenceShape> MakeToleranceCircle(double radius, double tolerancePlus,
                                                double toleranceMinus, double s) {
    const ShapeInputError refused{shape_text::kEnterDigital};
    if (radius == 0.0 || tolerancePlus == 0.0 || toleranceMinus == 0.0) {
        return refused;
    }
    const auto radiusPx = UnitsToPixels(radius, s);
    const auto plusPx = UnitsToPixels(tolerancePlus, s);
    const auto minusPx = UnitsToPixels(toleranceMinus, s);
    if (!radiusPx || !plusPx || !minusPx) {
        return refused;
    }
    ReferenceShape shape;
    shape.kind = ReferenceKind::kToleranceCircle;
    shape.tolerancePlus = tolerancePlus;
    shape.radius = radius;
    shape.toleranceMinus = toleranceMinus;
    shape.radiusPx = *radiusPx;
    shape.tolerancePlusPx = *plusPx;
    shape.toleranceMinusPx = *minusPx;
    shape.points = {kToleranceCircleCentre};
    return shape;
}

ShapeResult<ReferenceShape> MakeAngleLine(std::int32_t x, std::int32_t y) {
    if (x == 0 || y == 0) {
        return ShapeInputError{shape_text::kEnterDigitalXY};
    }
    ReferenceShape shape;
    shape.kind = ReferenceKind::kAngleLine;
    const std::int64_t up = std::max<std::int64_t>(std::int64_t{y} - kAngleLineArm, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + kAngleLineArm, kVideoWidth);
    shape.points = {
        {x, y}, {x, static_cast<std::int32_t>(up)}, {static_cast<std::int32_t>(right), y}};
    return shape;
}

ShapeResult<ReferenceShape> MakeLengthLine(PixelPoint start, PixelPoint secondClick, double length,
                                           double s) {
    const ShapeInputError refused{shape_text::kEnterDigital};
    if (length == 0.0) {
        return refused;
    }
    const std::optional<std::int32_t> pixels = UnitsToPixels(length, s);
    if (!pixels) {
        return refused;
    }
    const std::int64_t dx = std::abs(std::int64_t{secondClick.x} - start.x);
    const std::int64_t dy = std::abs(std::int64_t{secondClick.y} - start.y);
    const bool horizontal = dx > dy;
    ReferenceShape shape;
    shape.kind = ReferenceKind::kLengthLine;
    shape.flag = horizontal ? 0 : 1;
    auto offset = [](std::int32_t base, std::int32_t by) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(
            std::int64_t{base} + by, std::numeric_limits<std::int32_t>::min(),
            std::numeric_limits<std::int32_t>::max()));
    };
    const PixelPoint end = horizontal ? PixelPoint{offset(start.x, *pixels), start.y}
                                      : PixelPoint{start.x, offset(start.y, *pixels)};
    shape.points = {start, end};
    return shape;
}

}  // namespace lensora
