#include "detect/edge_painting.h"

#include <algorithm>

#include "detect/binary_morphology.h"
#include "detect/otsu_threshold.h"

namespace lensora {

namespace {

// Threshold, morphology and outline of a top-down grey plane; afterwards the dark pixels of
// the plane are the (about three pixels thick) edges.
void OutlineEdges(GreyPlane& plane, int threshold) {
    BinariseAbove(plane, threshold);
    // Closing first, so that single-pixel specks and gaps do not produce outlines.
    DilateCross(plane);
    ErodeCross(plane);
    ExtractBoundary(plane);
    ErodeCross(plane);
}

// Paints every dark plane pixel whose picture position (origin + plane position) lies in the
// bounds red.
void PaintDark(CxImage& image, const GreyPlane& plane, int originX, int originY,
               const PixelBox& bounds) {
    for (int y = std::max(bounds.top, originY); y < bounds.bottom; ++y) {
        const std::uint8_t* row = plane.Row(y - originY);
        std::uint8_t* pixels = image.RowFromTop(y);
        for (int x = std::max(bounds.left, originX); x < bounds.right; ++x) {
            if (row[x - originX] == 0) {
                std::uint8_t* bgr = pixels + std::size_t(x) * 3;
                bgr[0] = 0;
                bgr[1] = 0;
                bgr[2] = 255;
            }
        }
    }
    image.DiscardGreyPlane();
}

}  // namespace

bool PaintEdgesGlobal(CxImage& image) {
    const PixelBox whole{0, 0, image.GetWidth(), image.GetHeight()};
    GreyPlane plane;
    if (!GreyOfRect(image, whole, false, plane)) {
        return false;
    }
    OutlineEdges(plane, OtsuThreshold(MakeHistogram(plane)));
    const PixelBox bounds{kGlobalPaintMargin, kGlobalPaintMargin,
                          image.GetWidth() - kGlobalPaintMargin,
                          image.GetHeight() - kGlobalPaintMargin};
    PaintDark(image, plane, 0, 0, bounds);
    return true;
}

bool PaintEdgesInRect(CxImage& image, int x1, int y1, int x2, int y2) {
    if (!IsDetectable(image)) {
        return false;
    }
    if (x1 == x2 || y1 == y2) {
        return true;
    }
    PixelBox rect = BoxOfCorners({x1, y1}, {x2, y2});
    GreyPlane plane;
    if (!ClipToPicture(image, rect) || !GreyOfRect(image, rect, false, plane)) {
        return false;
    }
    OutlineEdges(plane, OtsuThreshold(MakeHistogram(plane)));
    // Inside the box, five pixels off its left and bottom edges and four off its top and
    // right ones.
    const PixelBox bounds{rect.left + 5, rect.top + 4, rect.right - 4, rect.bottom - 5};
    PaintDark(image, plane, rect.left, rect.top, bounds);
    return true;
}

bool PaintEdgesInViewRect(CxImage& image, PixelPoint corner1, PixelPoint corner2,
                          const ViewTransform& mapping) {
    const PixelPoint a = mapping.ToPicture(corner1);
    const PixelPoint b = mapping.ToPicture(corner2);
    return PaintEdgesInRect(image, a.x, a.y, b.x, b.y);
}

}  // namespace lensora
