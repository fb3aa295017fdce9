// Which stored record a Select click hits in the still view: bands around drawn segments,
// the rectangle frame, rings around circles and arcs, boxes around labels and texts. Clicks
// and record points are in the same (picture) coordinates. Pure functions.
#pragma once

#include <cstddef>
#include <optional>

#include "measure/record_lists.h"

namespace lensora {

// Half-width of the band around a segment and of the rectangle frame, and the ring tolerance.
inline constexpr int kBandHalfWidth = 3;
inline constexpr int kFrameHalfWidth = 2;
inline constexpr int kRingTolerance = 2;

// The quadrilateral around segment a-b widened 3 pixels to each side: vertically when the
// segment is wider than high, else horizontally; inside by the even-odd rule with left and
// top edges in. A zero-length segment has no band.
bool HitsSegmentBand(PixelPoint click, PixelPoint a, PixelPoint b);
// Inside the box of the two corners grown by 2 and not inside it shrunk by 2 (left and top
// inclusive, right and bottom exclusive).
bool HitsRectangleFrame(PixelPoint click, PixelPoint corner1, PixelPoint corner2);
// The distance to the centre and the radius (centre to rim), both truncated to whole
// pixels, differ by at most 2.
bool HitsRing(PixelPoint click, PixelPoint centre, PixelPoint rim);
// The distance to the centre differs from the radius by less than 3 (no truncation).
bool HitsFittedRing(PixelPoint click, PixelPoint centre, double radiusPx);
// left <= x < right and top <= y < bottom.
bool HitsBox(PixelPoint click, std::int64_t left, std::int64_t top, std::int64_t right,
             std::int64_t bottom);

// Whether the click hits a still-view record. Four-point angles are hit only in their pick
// mode, and in that mode nothing else is. Records with too few points are never hit.
bool HitsRecord(const MeasureRecord& record, PixelPoint click, bool fourPointPickMode);

// The first record in list order that the click hits.
std::optional<std::size_t> FindHitRecord(const RecordList& list, PixelPoint click,
                                         bool fourPointPickMode);

}  // namespace lensora
