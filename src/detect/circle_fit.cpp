#include "detect/circle_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "detect/inlier_mask.h"

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

namespace {

// Algebraic fit on coordinates taken relative to the centroid, which keeps the sums small.
std::optional<FittedCircle> AlgebraicStart(std::span<const PointD> points) {
    PointD mean;
    for (const PointD& p : points) {
        mean.x += p.x;
        mean.y += p.y;
    }
    mean.x /= double(points.size());
    mean.y /= double(points.size());
    double suu = 0, svv = 0, suv = 0, suuu = 0, svvv = 0, suvv = 0, svuu = 0;
    for (const PointD& p : points) {
        const double u = p.x - mean.x;
        const double v = p.y - mean.y;
        suu += u * u;
        svv += v * v;
        suv += u * v;
        suuu += u * u * u;
        svvv += v * v * v;
        suvv += u * v * v;
        svuu += v * u * u;
    }
    const double determinant = suu * svv - suv * suv;
    if (!(std::abs(determinant) > 1e-12 * (suu + svv) * (suu + svv))) {
        return std::nullopt;
    }
    const double bu = (suuu + suvv) / 2.0;
    const double bv = (svvv + svuu) / 2.0;
    const double uc = (bu * svv - bv * suv) / determinant;
    const double vc = (bv * suu - bu * suv) / determinant;
    const double radius = std::sqrt(uc * uc + vc * vc + (suu + svv) / double(points.size()));
    if (!std::isfinite(radius) || !(radius > 0.0)) {
        return std::nullopt;
    }
    return FittedCircle{{uc + mean.x, vc + mean.y}, radius};
}

// Gauss-Newton on r_i = |p_i - c| - R over the points whose flag is set.
FittedCircle GaussNewton(std::span<const PointD> points, const std::vector<bool>& use,
                         FittedCircle circle) {
    for (int iteration = 0; iteration < 50; ++iteration) {
        // Normal equations J^T J delta = -J^T r for (cx, cy, R).
        std::array<double, 6> jtj{};  // symmetric 3 x 3: 00 01 02 11 12 22
        std::array<double, 3> jtr{};
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (!use[i]) {
                continue;
            }
            const double dx = points[i].x - circle.centre.x;
            const double dy = points[i].y - circle.centre.y;
            const double d = std::hypot(dx, dy);
            if (d < 1e-12) {
                continue;
            }
            const double j0 = -dx / d, j1 = -dy / d, j2 = -1.0;
            const double r = d - circle.radius;
            jtj[0] += j0 * j0, jtj[1] += j0 * j1, jtj[2] += j0 * j2;
            jtj[3] += j1 * j1, jtj[4] += j1 * j2, jtj[5] += j2 * j2;
            jtr[0] += j0 * r, jtr[1] += j1 * r, jtr[2] += j2 * r;
        }
        // Cramer's rule on the 3 x 3 system.
        const double a = jtj[0], b = jtj[1], c = jtj[2], e = jtj[3], f = jtj[4], g = jtj[5];
        const double det = a * (e * g - f * f) - b * (b * g - f * c) + c * (b * f - e * c);
        if (!(std::abs(det) > 1e-300)) {
            break;
        }
        const double r0 = -jtr[0], r1 = -jtr[1], r2 = -jtr[2];
        const double d0 =
            (r0 * (e * g - f * f) - b * (r1 * g - f * r2) + c * (r1 * f - e * r2)) / det;
        const double d1 =
            (a * (r1 * g - f * r2) - r0 * (b * g - f * c) + c * (b * r2 - r1 * c)) / det;
        const double d2 =
            (a * (e * r2 - r1 * f) - b * (b * r2 - r1 * c) + r0 * (b * f - e * c)) / det;
        if (!std::isfinite(d0) || !std::isfinite(d1) || !std::isfinite(d2)) {
            break;
        }
        circle.centre.x += d0;
        circle.centre.y += d1;
        circle.radius += d2;
        if (std::abs(d0) + std::abs(d1) + std::abs(d2) < 1e-10) {
            break;
        }
    }
    return circle;
}

}  // namespace

std::optional<FittedCircle> FitCircleGeometric(std::span<const PointD> points) {
    if (points.size() < 3) {
        return std::nullopt;
    }
    const std::optional<FittedCircle> start = AlgebraicStart(points);
    if (!start) {
        return std::nullopt;
    }
    std::vector<bool> use(points.size(), true);
    FittedCircle circle = GaussNewton(points, use, *start);
    for (int round = 0; round < 3 && points.size() >= 5; ++round) {
        std::vector<double> distances;
        for (const PointD& p : points) {
            distances.push_back(
                std::abs(std::hypot(p.x - circle.centre.x, p.y - circle.centre.y) - circle.radius));
        }
        if (!UpdateInliers(distances, use, 4)) {
            break;
        }
        circle = GaussNewton(points, use, circle);
    }
    if (!std::isfinite(circle.radius) || !(circle.radius > 0.0) ||
        !std::isfinite(circle.centre.x) || !std::isfinite(circle.centre.y)) {
        return std::nullopt;
    }
    return circle;
}

}  // namespace lensora
