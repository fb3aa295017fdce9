#include "detect/binary_morphology.h"

#include <cstring>
#include <vector>

namespace lensora {

namespace {

// Applies the cross element: with `anyBright` the result is bright when any of the five
// pixels is bright (dilation), else only when all five are (erosion). Reads from a copy so
// every pixel sees the plane as it was before the step.
void CrossStep(GreyPlane& plane, bool anyBright) {
    const int w = plane.width;
    const int h = plane.height;
    if (w <= 2 * kMorphologyBorder || h <= 2 * kMorphologyBorder) {
        return;
    }
    const std::vector<std::uint8_t> source = plane.pixels;
    for (int y = kMorphologyBorder; y < h - kMorphologyBorder; ++y) {
        const std::uint8_t* above = source.data() + std::size_t(y - 1) * w;
        const std::uint8_t* row = above + w;
        const std::uint8_t* below = row + w;
        std::uint8_t* out = plane.Row(y);
        for (int x = kMorphologyBorder; x < w - kMorphologyBorder; ++x) {
            if (anyBright) {
                out[x] = (row[x] | row[x - 1] | row[x + 1] | above[x] | below[x]) ? 255 : 0;
            } else {
                out[x] = (row[x] & row[x - 1] & row[x + 1] & above[x] & below[x]) ? 255 : 0;
            }
        }
    }
}

}  // namespace

void DilateCross(GreyPlane& plane) {
    CrossStep(plane, true);
}

void ErodeCross(GreyPlane& plane) {
    CrossStep(plane, false);
}

void ExtractBoundary(GreyPlane& plane) {
    const int w = plane.width;
    const int h = plane.height;
    if (w < 3 || h < 3) {
        return;
    }
    const std::vector<std::uint8_t> source = plane.pixels;
    for (int y = 1; y < h - 1; ++y) {
        const std::uint8_t* above = source.data() + std::size_t(y - 1) * w;
        const std::uint8_t* row = above + w;
        const std::uint8_t* below = row + w;
        std::uint8_t* out = plane.Row(y);
        for (int x = 1; x < w - 1; ++x) {
            const int any = above[x - 1] | above[x] | above[x + 1] | row[x - 1] | row[x] |
                            row[x + 1] | below[x - 1] | below[x] | below[x + 1];
            if (any == 0) {
                out[x] = 255;
            }
        }
    }
}

}  // namespace lensora
