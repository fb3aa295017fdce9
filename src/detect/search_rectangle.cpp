#include "detect/search_rectangle.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace lensora {

namespace {

// Bounds of the band, kept inside the range of int for clicks far outside any picture.
int Saturated(std::int64_t value) {
    return int(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max()));
}

SegmentMask DiagonalMask(PixelPoint start, PixelPoint end) {
    const PixelPoint& left = start.x <= end.x ? start : end;
    const PixelPoint& right = start.x <= end.x ? end : start;
    return right.y > left.y ? SegmentMask::kFallingDiagonal : SegmentMask::kRisingDiagonal;
}

}  // namespace

SearchArea SearchRectangle(PixelPoint start, PixelPoint end) {
    const std::int64_t dx = std::llabs(std::int64_t{end.x} - start.x);
    const std::int64_t dy = std::llabs(std::int64_t{end.y} - start.y);
    const int minX = std::min(start.x, end.x);
    const int maxX = std::max(start.x, end.x);
    const int minY = std::min(start.y, end.y);
    const int maxY = std::max(start.y, end.y);
    const bool narrowX = dx <= kSearchMargin;
    const bool narrowY = dy <= kSearchMargin;
    const bool steep = narrowX && (!narrowY || dx <= dy);
    const bool flat = !steep && narrowY;
    SearchArea area;
    if (steep) {
        area.rect = {Saturated(std::int64_t{minX} - kSearchMargin), minY,
                     Saturated(std::int64_t{maxX} + kSearchMargin), maxY};
        area.mask = start.x == end.x ? SegmentMask::kVertical : DiagonalMask(start, end);
    } else if (flat) {
        area.rect = {minX, Saturated(std::int64_t{minY} - kSearchMargin), maxX,
                     Saturated(std::int64_t{maxY} + kSearchMargin)};
        area.mask = start.y == end.y ? SegmentMask::kHorizontal : DiagonalMask(start, end);
    } else {
        area.rect = {minX, minY, maxX, maxY};
        area.mask = DiagonalMask(start, end);
    }
    return area;
}

PixelRect ToPictureRect(const PixelRect& viewRect, const ViewTransform& mapping) {
    const PixelPoint topLeft = mapping.ToPicture({viewRect.x1, viewRect.y1});
    const PixelPoint bottomRight = mapping.ToPicture({viewRect.x2, viewRect.y2});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

}  // namespace lensora
