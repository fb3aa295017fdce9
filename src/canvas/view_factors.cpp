#include "canvas/view_factors.h"

namespace lensora {

namespace {
bool Is(int w, int h, int width, int height) {
    return w == width && h == height;
}
}  // namespace

ViewTransform ViewToImageFactors(DisplayMode mode, int w, int h) {
    if (mode != DisplayMode::Fit || w <= 0 || h <= 0) {
        return {};
    }
    // The fit view stretches every picture over the whole view, so its factors are the size
    // ratios; a table keyed by camera and picture size would misplace the drawing on pictures
    // of other sizes (a 1280 x 1024 picture with a large-sensor camera, any picture from
    // elsewhere).
    const double viewHeight = Is(w, h, 1280, 1024) ? 512.0 : 480.0;
    return {{0, 0}, w / 640.0, h / viewHeight};
}

double SnapshotRecordScale(int w, int h) {
    if (w == 1600) {
        return 2.5;
    }
    if (Is(w, h, 1280, 960) || Is(w, h, 1280, 1024)) {
        return 2.0;
    }
    if (Is(w, h, 640, 480)) {
        return 1.0;
    }
    if (Is(w, h, 320, 240)) {
        return 0.5;
    }
    return 2.5;
}

double SnapshotRulerScale(int w, int h) {
    if (Is(w, h, 320, 240)) {
        return 0.5;
    }
    if (Is(w, h, 1280, 960) || Is(w, h, 1280, 1024)) {
        return 2.0;
    }
    if (Is(w, h, 1600, 1200)) {
        return 2.5;
    }
    if (Is(w, h, 2048, 1536)) {
        return 3.2;
    }
    if (Is(w, h, 2592, 1944)) {
        return 4.05;
    }
    return 1.0;
}

}  // namespace lensora
