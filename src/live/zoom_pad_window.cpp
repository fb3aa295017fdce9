#include "live/zoom_pad_window.h"

#include <algorithm>
#include <cmath>

namespace lensora {

namespace {

// Start of a span of `length` centred on `centre`, kept inside [0, limit).
int PlaceSpan(int centre, int length, int limit) {
    const int start = centre - length / 2;
    return std::clamp(start, 0, std::max(0, limit - length));
}

}  // namespace

std::optional<ZoomWindow> ZoomPadWindow(int padWidth, int padHeight, int level, PixelPoint pointer,
                                        double factor, int pictureWidth, int pictureHeight) {
    if (padWidth <= 0 || padHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0 ||
        level < kMinZoomLevel || level > kMaxZoomLevel || !std::isfinite(factor) || factor <= 0.0) {
        return std::nullopt;
    }
    // Half up, as the pointer is never negative over the picture; positions off the picture
    // (a pointer dragged beyond its edge) are clamped with the window.
    const double px = std::floor(pointer.x * factor + 0.5);
    const double py = std::floor(pointer.y * factor + 0.5);
    const int cx = static_cast<int>(std::clamp(px, -1e9, 1e9));
    const int cy = static_cast<int>(std::clamp(py, -1e9, 1e9));
    ZoomWindow w;
    w.width = std::min(std::max(1, padWidth / level), pictureWidth);
    w.height = std::min(std::max(1, padHeight / level), pictureHeight);
    w.left = PlaceSpan(cx, w.width, pictureWidth);
    w.top = PlaceSpan(cy, w.height, pictureHeight);
    return w;
}

}  // namespace lensora
