// Sub-pixel edge refinement for the automatic tools. After a click has been snapped onto a
// contrast (edge_snap.h), the edge between the click and the snapped pixel is located on a
// lightly smoothed grey plane (5 x 5 binomial, about a Gaussian of sigma 1): first where the
// grey level changes fastest along the ray from the click through the snapped pixel, then,
// along the local gradient direction, where the profile crosses the midpoint between the grey
// levels of the two sides, interpolated between samples a quarter pixel apart. Edges whose
// contrast does not clear a floor above the picture's noise are refused.
//
// Picture pixels with y from the top; a pixel's centre is its integer position. Plain
// functions; the picture is read only.
#pragma once

#include <optional>

#include "imaging/cx_image.h"
#include "base/pixel_point.h"

namespace lensora {

// The floor is this many noise standard deviations, and never below the minimum (grey
// levels), so that a clean picture still refuses flat areas.
inline constexpr double kNoiseFloorSigmas = 5.0;
inline constexpr double kMinEdgeContrast = 8.0;

double EdgeContrastFloor(double noiseSigma);

struct RefinedEdge {
    PointD point;         // on the edge, picture pixels
    PointD normal;        // unit vector from the darker towards the brighter side
    double contrast = 0;  // grey levels between the two sides
};

// The edge between the click and its snapped pixel. nullopt when the picture is not 24-bit,
// no crossing is found or the contrast is below EdgeContrastFloor(noiseSigma).
std::optional<RefinedEdge> RefineSnappedEdge(const CxImage& image, PointD click, PointD snapped,
                                             double noiseSigma);

// The edge crossed by the line through `point` along `normal` (any length but zero), looked
// for within about six pixels of the point. Used for points taken along a found segment.
std::optional<RefinedEdge> RefineEdgeAcross(const CxImage& image, PointD point, PointD normal,
                                            double noiseSigma);

}  // namespace lensora
