// The rectangle and mask in which the segment search looks for the edge under a segment the
// user drew roughly along it (view pixels, y downwards). Plain functions.
#pragma once

#include "base/pixel_box.h"
#include "base/pixel_point.h"
#include "base/view_transform.h"
#include "detect/edge_segment.h"
#include "detect/grey_region.h"

namespace lensora {

// Half-width of the band around a steep or flat drawn segment.
inline constexpr int kSearchMargin = 20;

struct SearchArea {
    PixelBox rect;  // view pixels
    SegmentMask mask = SegmentMask::kNone;
};

// With dx = |xb - xa| and dy = |yb - ya|:
// - steep (dx <= 20, dy > 20, or both <= 20 with dx <= dy): x from the smaller x - 20 to the
//   larger x + 20, y from the upper to the lower end; mask vertical when xa == xb;
// - flat (dy <= 20, dx > 20, or both <= 20 with dx > dy): x from the left to the right end, y
//   from the smaller y - 20 to the larger y + 20; mask horizontal when ya == yb;
// - otherwise the bounding box of the two ends.
// Other masks: falling diagonal when the right end is the lower one on screen, else rising.
// A difference of exactly 20 thus counts as narrow: such a segment still gets the band.
SearchArea SearchRectangle(PixelPoint start, PixelPoint end);

// The box in picture pixels: its first and last pixels converted through the mapping, the box
// spanning both (not clipped; the search clips).
PixelBox ToPictureRect(const PixelBox& viewRect, const ViewTransform& mapping);

}  // namespace lensora
