#include "detect/edge_snap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "detect/grey_region.h"

namespace lensora {

std::optional<PixelPoint> SnapToEdge(const CxImage& image, PixelPoint click, int range) {
    const std::optional<SnapOutcome> outcome = SnapToEdgeOutcome(image, click, range);
    if (!outcome) {
        return std::nullopt;
    }
    return outcome->point;
}

std::optional<SnapOutcome> SnapToEdgeOutcome(const CxImage& image, PixelPoint click, int range) {
    if (!IsDetectable(image)) {
        return std::nullopt;
    }
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const int cx = std::clamp(click.x, 0, width - 1);
    const int cy = std::clamp(click.y, 0, height - 1);
    const int r = std::clamp(range, 0, kMaxSnapRange);
    PixelBox window{cx - r, cy - r, cx + r + 1, cy + r + 1};
    ClipToPicture(image, window);
    const int lastRow = window.bottom - 1;
    const PixelPoint corner{window.left, lastRow};
    if (r < 2) {
        return SnapOutcome{corner, false};
    }
    GreyPlane grey;
    if (!GreyOfRect(image, window, true, grey)) {
        return std::nullopt;
    }
    const int centreGrey = grey.At(cx - window.left, lastRow - cy);

    // Pixels of each ring in scan order with their contrast to the click, so that each
    // contrast level only looks at ring pixels.
    struct RingPixel {
        int x;
        int y;
        int contrast;
    };
    std::vector<std::vector<RingPixel>> rings(static_cast<std::size_t>(r));
    for (int row = 0; row < grey.height; ++row) {
        const int y = lastRow - row;
        const int dy = y - cy;
        for (int col = 0; col < grey.width; ++col) {
            const int x = window.left + col;
            const int dx = x - cx;
            const int d2 = dx * dx + dy * dy;
            const int k = int(std::lround(std::sqrt(double(d2))));
            if (k < 1 || k > r - 1 || std::abs(d2 - k * k) > 1) {
                continue;
            }
            rings[k].push_back({x, y, std::abs(int(grey.At(col, row)) - centreGrey)});
        }
    }
    for (int contrast : kSnapContrasts) {
        for (int k = 1; k < r; ++k) {
            for (const RingPixel& pixel : rings[k]) {
                if (pixel.contrast >= contrast) {
                    return SnapOutcome{{pixel.x, pixel.y}, true};
                }
            }
        }
    }
    return SnapOutcome{corner, false};
}

}  // namespace lensora
