#include "canvas/view_factors.h"

#include <algorithm>

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
    // One factor for both axes keeps circles round; the larger ratio fits the whole picture.
    // The camera's 4:3 and 5:4 sizes fill the view exactly.
    const double viewHeight = Is(w, h, 1280, 1024) ? 512.0 : 480.0;
    const double f = std::max(w / 640.0, h / viewHeight);
    return {{0, 0}, f, f};
}

double MeasuringPixelsPerPicturePixel(int pictureWidth) {
    return pictureWidth > 0 ? 640.0 / pictureWidth : 1.0;
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
