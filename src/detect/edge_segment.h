// The straight edge segment search used by the automatic line tools: the dominant straight
// edge inside a rectangle of the picture, found by the probabilistic Hough transform on the
// outline of the thresholded rectangle. Plain functions; the picture is read only and must not
// change during a call. Rectangles and results are picture pixels, y from the top.
#pragma once

#include <optional>

#include "base/pixel_point.h"
#include "detect/grey_region.h"
#include "detect/hough_threshold.h"
#include "imaging/cx_image.h"

namespace lensora {

// Which part of the rectangle may hold the edge, on a 4 x 4 grid of quarters of its width
// and height.
enum class SegmentMask : int {
    kNone = 0,
    kFallingDiagonal = 1,  // the four cells from the top-left to the bottom-right corner
    kRisingDiagonal = 2,   // the four cells from the bottom-left to the top-right corner
    kVertical = 3,         // the middle half of the columns, full height
    kHorizontal = 4,       // the middle half of the rows, full width
};

struct FoundSegment {
    PixelPoint a;
    PixelPoint b;
    int threshold = 0;   // Hough threshold at which the segment appeared
    int houghCalls = 0;  // Hough calls the threshold search needed
};

// Lowest Hough thresholds tried: the plain search stops above 5, the dilated one at 11.
inline constexpr int kLowestSegmentThreshold = 6;
inline constexpr int kLowestDilatedSegmentThreshold = 11;

// The shortest of the strongest segments inside the box (clipped to the picture), thresholds
// tried from the box's diagonal down. nullopt when the picture is not 24-bit, the clipped box
// is less than two pixels wide or high, no segment is found,
// or the segment is degenerate (an end on the picture's left column or bottom row, or both
// ends equal).
std::optional<FoundSegment> FindEdgeSegment(const CxImage& image, PixelBox rect, SegmentMask mask,
                                            ThresholdSearch search = ThresholdSearch::kFast);

// The same without a mask and with one 3 x 3 dilation of the outline before the Hough
// transform; used by "Auto Line-Length1".
std::optional<FoundSegment> FindEdgeSegmentDilated(const CxImage& image, PixelBox rect,
                                                   ThresholdSearch search = ThresholdSearch::kFast);

// The plane the Hough transform sees for a box (edge pixels 255, rows bottom-up,
// dilated when asked); exposed for tests and benchmarks. False when FindEdgeSegment would
// fail before the transform.
bool EdgePlaneForSegmentSearch(const CxImage& image, PixelBox rect, SegmentMask mask, bool dilate,
                               GreyPlane& out, PixelBox& clipped);

// The shortest segment by the program's rule: each candidate's exact length is compared with
// the truncated length of the one chosen so far, and the later one wins ties. Empty: nullopt.
std::optional<HoughSegment> ShortestSegment(const std::vector<HoughSegment>& segments);

}  // namespace lensora
