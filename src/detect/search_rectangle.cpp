#include "detect/search_rectangle.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace lensora {

namespace {

SegmentMask DiagonalMask(PixelPoint start, PixelPoint end) {
    const PixelPoint& left = start.x <= end.x ? start : end;
    const PixelPoint& right = start.x <= end.x ? end : start;
    return right.y > left.y ? SegmentMask::kFallingDiagonal : SegmentMask::kRisingDiagonal;
}

}  // namespace

SearchArea SearchRectangle(PixelPoint start, PixelPoint end) {
    const std::int64_t dx = std::llabs(std::int64_t{end.x} - start.x);
    const std::int64_t dy = std::llabs(std::int64_t{end.y} - start.y);
    // Edges in 64 bits: the band of a click far outside any picture stays inside the range of
    // int, clipped there.
    const std::int64_t minX = std::min(start.x, end.x);
    const std::int64_t maxX = std::max(start.x, end.x);
    const std::int64_t minY = std::min(start.y, end.y);
    const std::int64_t maxY = std::max(start.y, end.y);
    const bool narrowX = dx <= kSearchMargin;
    const bool narrowY = dy <= kSearchMargin;
    const bool steep = narrowX && (!narrowY || dx <= dy);
    const bool flat = !steep && narrowY;
    SearchArea area;
    if (steep) {
        area.rect = SaturatedBox(minX - kSearchMargin, minY, maxX + kSearchMargin + 1, maxY + 1);
        area.mask = start.x == end.x ? SegmentMask::kVertical : DiagonalMask(start, end);
    } else if (flat) {
        area.rect = SaturatedBox(minX, minY - kSearchMargin, maxX + 1, maxY + kSearchMargin + 1);
        area.mask = start.y == end.y ? SegmentMask::kHorizontal : DiagonalMask(start, end);
    } else {
        area.rect = SaturatedBox(minX, minY, maxX + 1, maxY + 1);
        area.mask = DiagonalMask(start, end);
    }
    return area;
}

PixelBox ToPictureRect(const PixelBox& viewRect, const ViewTransform& mapping) {
    if (viewRect.IsEmpty()) {
        return {};
    }
    // The pixels at the corners are mapped, not the far edges: an edge one past the last pixel
    // would land up to a whole factor further out in the picture.
    return BoxOfCorners(mapping.ToPicture({viewRect.left, viewRect.top}),
                        mapping.ToPicture(viewRect.LastPixel()));
}

}  // namespace lensora
