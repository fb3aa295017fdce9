#include "detect/line_fit.h"

#include <cmath>
#include <vector>

#include <opencv2/imgproc.hpp>

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

}  // namespace lensora
