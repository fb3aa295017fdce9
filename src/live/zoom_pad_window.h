// The arithmetic of the zoom pad: which part of the held picture (kept at capture size) the pad
// magnifies for a pointer over the 640 x 480 live picture, and the pad's zoom level steps.
// Plain values; any thread.
#pragma once

#include <optional>

#include "base/pixel_point.h"

namespace lensora {

inline constexpr int kMinZoomLevel = 1;
inline constexpr int kMaxZoomLevel = 6;

// A left click on the pad raises the level by one up to 6, a right click lowers it down to 1.
inline int RaiseZoomLevel(int level) {
    return level < kMinZoomLevel    ? kMinZoomLevel
           : level >= kMaxZoomLevel ? kMaxZoomLevel
                                    : level + 1;
}
inline int LowerZoomLevel(int level) {
    return level > kMaxZoomLevel    ? kMaxZoomLevel
           : level <= kMinZoomLevel ? kMinZoomLevel
                                    : level - 1;
}

// A rectangle of picture pixels, rows counted from the top.
struct ZoomWindow {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ZoomWindow&, const ZoomWindow&) = default;
};

// The window of (padWidth / level) x (padHeight / level) picture pixels (integer division)
// centred on `pointer` (live picture pixels, each coordinate times `factor`, rounded half up)
// and moved inside the picture where it would cross its border; a window larger than the
// picture is cut to it. nullopt for an empty picture or pad, or a level outside 1..6.
std::optional<ZoomWindow> ZoomPadWindow(int padWidth, int padHeight, int level, PixelPoint pointer,
                                        double factor, int pictureWidth, int pictureHeight);

}  // namespace lensora
