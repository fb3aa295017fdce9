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

// Orthogonal (total) least-squares line through sub-pixel edge points; with five points or
// more, points farther from the line than three robust standard deviations (and more than
// half a pixel) are dropped and the line fitted again, as long as three points remain.
std::optional<FittedLine> FitLineOrthogonal(std::span<const PointD> points);

}  // namespace lensora
