// The threshold search of the segment finder: the probabilistic Hough transform (OpenCV's
// HoughLinesP, 1 pixel, 1 degree, no minimum length, gaps up to 100 pixels) is asked for
// segments at threshold n = start, start - 1, ... until the first n that yields any; that
// n's segments are the result.
//
// The plain loop makes one Hough call per threshold. The fast search gives the same threshold
// and the same segments with two or three calls: HoughLinesP keeps drawing points and adding
// their votes, and emits its first segment at the first point whose best vote reaches the
// threshold. Until then every run visits the same points in the same order (its random
// generator starts from a fixed seed), so a threshold yields segments exactly when it is at
// most the peak of the full vote accumulator over all edge pixels. The search computes that
// peak with the same vote rounding, confirms it with the Hough calls at the peak and one
// above, and falls back to a bisection over thresholds should the confirmation ever fail.
//
// Plain functions over a plane of edge pixels (non-zero = edge); no OpenCV types in the
// interface. Single-threaded.
#pragma once

#include <vector>

#include "base/pixel_point.h"
#include "detect/grey_region.h"

namespace lensora {

// A segment in the plane's own coordinates (column, row).
struct HoughSegment {
    PixelPoint a;
    PixelPoint b;

    friend bool operator==(const HoughSegment&, const HoughSegment&) = default;
};

enum class ThresholdSearch {
    kPlain,  // one Hough call per threshold, from the start down (the reference)
    kFast,   // peak of the vote accumulator, confirmed by Hough calls
};

struct HoughSearchResult {
    bool found = false;
    int threshold = 0;                   // the first threshold that yielded segments
    std::vector<HoughSegment> segments;  // in the order HoughLinesP returned them
    int houghCalls = 0;                  // how many Hough calls the search made
};

// Searches thresholds from startThreshold down to lowestThreshold (both included).
HoughSearchResult SearchSegmentThreshold(const GreyPlane& edges, int startThreshold,
                                         int lowestThreshold, ThresholdSearch search);

// The fast search started from a guessed threshold instead of the vote peak: the guess is
// confirmed with two calls or corrected by bisection. Any guess gives the plain loop's result.
HoughSearchResult SearchSegmentThresholdFrom(const GreyPlane& edges, int startThreshold,
                                             int lowestThreshold, int guess);

// HoughLinesP at one threshold.
std::vector<HoughSegment> HoughSegmentsAt(const GreyPlane& edges, int threshold);

// The largest vote any (angle, distance) cell of the Hough accumulator collects when every
// edge pixel votes, with HoughLinesP's angle table and rounding.
int HoughVotePeak(const GreyPlane& edges);

}  // namespace lensora
