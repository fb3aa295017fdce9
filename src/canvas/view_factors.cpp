#include "canvas/view_factors.h"

namespace lensora {

PixelPoint RenderTransform::Apply(PixelPoint p) const {
    // Differences in double: a stored point and a scroll offset may lie at opposite ends of
    // the 32-bit range without overflowing.
    return {TruncateToPixel((double(p.x) - offset.x) * fx),
            TruncateToPixel((double(p.y) - offset.y) * fy)};
}

int RenderTransform::ScaleX(double length) const {
    return TruncateToPixel(length * fx);
}

int RenderTransform::ScaleY(double length) const {
    return TruncateToPixel(length * fy);
}

namespace {
bool Is(int w, int h, int width, int height) {
    return w == width && h == height;
}
}  // namespace

ScaleFactors ViewToImageFactors(DisplayMode mode, bool largeSensor, int w, int h) {
    if (mode != DisplayMode::Fit) {
        return {1.0, 1.0};
    }
    double f = 1.0;
    if (largeSensor) {
        f = Is(w, h, 1600, 1200) ? 2.5 : Is(w, h, 1280, 960) ? 2.0 : 1.0;
    } else {
        f = Is(w, h, 1280, 1024) ? 2.0 : Is(w, h, 640, 480) ? 1.0 : 0.5;
    }
    return {f, f};
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
