// Where a live frame lands in the preview: stretched over the whole client area, except that a
// 1280x1024 frame is drawn 32 pixels taller, so its bottom falls outside (the camera's 5:4
// picture is shown at the 4:3 view's proportions).
#pragma once

#include "base/drawing_surface.h"

namespace lensora {

inline constexpr int kTallFrameExtraHeight = 32;

inline PixelBox PreviewFrameBox(int frameWidth, int frameHeight, int clientWidth,
                                int clientHeight) {
    const int extra = frameWidth == 1280 && frameHeight == 1024 ? kTallFrameExtraHeight : 0;
    return {0, 0, clientWidth, clientHeight + extra};
}

}  // namespace lensora
