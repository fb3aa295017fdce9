// Edge snapping of the point-collecting automatic tools: a click is moved onto the nearest
// strong contrast around it. Plain function; the picture is read only. Picture pixels, y from
// the top.
#pragma once

#include <array>
#include <optional>

#include "base/pixel_point.h"
#include "imaging/cx_image.h"

namespace lensora {

// Contrasts tried, strongest first: a stronger contrast farther away wins over a weaker one
// nearer the click.
inline constexpr std::array<int, 8> kSnapContrasts = {160, 140, 120, 100, 80, 60, 40, 20};
// Detection ranges beyond this are treated as this (the window would outgrow any picture).
inline constexpr int kMaxSnapRange = 1000;

// In the square window of side 2 * range + 1 around the click, for each contrast c in
// kSnapContrasts and each ring k = 1 .. range - 1, the first pixel (rows from the window's
// lowest row up, each left to right) whose squared distance d^2 from the click satisfies
// k^2 - 1 <= d^2 <= k^2 + 1 and whose grey level differs from the click's by at least c.
// When none qualifies, the window's lower-left corner (range pixels left of and below the
// click). The window is clipped to the picture, and so is that corner; a click outside the
// picture is first moved to its nearest pixel. nullopt only when the picture is not 24-bit.
std::optional<PixelPoint> SnapToEdge(const CxImage& image, PixelPoint click, int range);

struct SnapOutcome {
    PixelPoint point;
    bool found = false;  // false: no pixel qualified and point is the window's corner
};
// SnapToEdge that also tells whether a contrast was found.
std::optional<SnapOutcome> SnapToEdgeOutcome(const CxImage& image, PixelPoint click, int range);

}  // namespace lensora
