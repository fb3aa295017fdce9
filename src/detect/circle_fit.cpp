#include "detect/circle_fit.h"

#include <cmath>

namespace lensora {

std::optional<FittedCircle> FitCircle(std::span<const PixelPoint> points) {
    if (points.size() < 3) {
        return std::nullopt;
    }
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0, sxxx = 0, syyy = 0, sxyy = 0, sxxy = 0;
    for (const PixelPoint& p : points) {
        const double x = p.x;
        const double y = p.y;
        sx += x;
        sy += y;
        sxx += x * x;
        syy += y * y;
        sxy += x * y;
        sxxx += x * x * x;
        syyy += y * y * y;
        sxyy += x * y * y;
        sxxy += x * x * y;
    }
    const double n = double(points.size());
    const double c = n * syy - sy * sy;
    const double h = n * sxx - sx * sx;
    const double k = n * sxy - sx * sy;
    const double determinant = c * h - k * k;
    if (determinant == 0.0 || !std::isfinite(determinant)) {
        return std::nullopt;
    }
    const double r = sxx + syy;
    const double t = n * (sxxy + syyy) - sy * r;
    const double e = n * (sxxx + sxyy) - sx * r;
    const double a = (k * t - c * e) / determinant;
    const double b = (h * t - k * e) / -determinant;
    const double square = a * a + b * b + 4.0 * (r + a * sx + b * sy) / n;
    if (!(square > 0.0) || !std::isfinite(square)) {
        return std::nullopt;
    }
    return FittedCircle{{-a / 2.0, -b / 2.0}, std::sqrt(square) / 2.0};
}

}  // namespace lensora
