// Least-squares straight line through the points collected by the automatic line length 2
// tool (OpenCV's fitLine with the L2 distance, radius and angle accuracy 0.01). Plain function.
#pragma once

#include <optional>
#include <span>

#include "base/pixel_point.h"

namespace lensora {

struct FittedLine {
    PointD point;      // a point on the line (the centroid)
    PointD direction;  // unit direction
};

// nullopt for fewer than two points or points that are all equal.
std::optional<FittedLine> FitLine(std::span<const PixelPoint> points);

}  // namespace lensora
