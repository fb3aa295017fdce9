// Least-squares circle through the points collected by the automatic circle and arc tools.
// Plain function over pixel points (any consistent coordinates).
#pragma once

#include <optional>
#include <span>

#include "base/pixel_point.h"

namespace lensora {

struct FittedCircle {
    PointD centre;
    double radius = 0.0;  // pixels
};

// Algebraic fit of x^2 + y^2 + a x + b y + c = 0: centre (-a/2, -b/2), radius
// sqrt(a^2 + b^2 - 4c) / 2, from sums in double precision. nullopt for fewer than three
// points, collinear points (singular system) or a result that is not a real circle.
std::optional<FittedCircle> FitCircle(std::span<const PixelPoint> points);

// Geometric fit for sub-pixel edge points: the algebraic fit as a start, then Gauss-Newton on
// the points' distances to the circle. With five points or more, points farther from the
// circle than three robust standard deviations of the distances (and more than half a pixel)
// are dropped and the circle fitted again, as long as four points remain. nullopt for fewer
// than three points or collinear points.
std::optional<FittedCircle> FitCircleGeometric(std::span<const PointD> points);

}  // namespace lensora
