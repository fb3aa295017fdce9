#include "detect/line_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

#include "detect/inlier_mask.h"

namespace lensora {

std::optional<FittedLine> FitLine(std::span<const PixelPoint> points) {
    if (points.size() < 2) {
        return std::nullopt;
    }
    bool allEqual = true;
    std::vector<cv::Point> input;
    input.reserve(points.size());
    for (const PixelPoint& p : points) {
        allEqual = allEqual && p == points.front();
        input.emplace_back(p.x, p.y);
    }
    if (allEqual) {
        return std::nullopt;
    }
    cv::Vec4f line;
    cv::fitLine(input, line, cv::DIST_L2, 0, 0.01, 0.01);
    const FittedLine fitted{{line[2], line[3]}, {line[0], line[1]}};
    if (!std::isfinite(fitted.direction.x) || !std::isfinite(fitted.direction.y) ||
        !std::isfinite(fitted.point.x) || !std::isfinite(fitted.point.y) ||
        (fitted.direction.x == 0.0 && fitted.direction.y == 0.0)) {
        return std::nullopt;
    }
    return fitted;
}

namespace {

std::optional<FittedLine> OrthogonalFit(std::span<const PointD> points,
                                        const std::vector<bool>& use) {
    PointD mean;
    double n = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (use[i]) {
            mean.x += points[i].x;
            mean.y += points[i].y;
            n += 1;
        }
    }
    if (n < 2) {
        return std::nullopt;
    }
    mean.x /= n;
    mean.y /= n;
    double sxx = 0, syy = 0, sxy = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (use[i]) {
            const double dx = points[i].x - mean.x;
            const double dy = points[i].y - mean.y;
            sxx += dx * dx;
            syy += dy * dy;
            sxy += dx * dy;
        }
    }
    if (sxx + syy <= 0.0) {
        return std::nullopt;
    }
    // Direction of the larger eigenvector of the scatter matrix.
    const double angle = 0.5 * std::atan2(2.0 * sxy, sxx - syy);
    return FittedLine{mean, {std::cos(angle), std::sin(angle)}};
}

}  // namespace

std::optional<FittedLine> FitLineOrthogonal(std::span<const PointD> points) {
    std::vector<bool> use(points.size(), true);
    std::optional<FittedLine> line = OrthogonalFit(points, use);
    for (int round = 0; line && round < 3 && points.size() >= 5; ++round) {
        std::vector<double> distances;
        for (const PointD& p : points) {
            distances.push_back(std::abs((p.x - line->point.x) * line->direction.y -
                                         (p.y - line->point.y) * line->direction.x));
        }
        if (!UpdateInliers(distances, use, 3)) {
            break;
        }
        line = OrthogonalFit(points, use);
    }
    return line;
}

}  // namespace lensora
