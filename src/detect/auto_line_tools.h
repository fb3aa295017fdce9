// The automatic tools that work from segments the user drew roughly along an edge:
// "Auto Line-Length1" (still 23), "Auto Line-spacing" (still 18, live 24), the automatic line
// calibration (the line spacing's distance) and "Auto Angle-detection" (still 21, live 25).
// Each drawn segment becomes a search rectangle and mask (search_rectangle.h); the segment
// search runs on the picture and its result comes back in view pixels. When a search finds
// nothing the drawn segment stands in for it, as described per tool.
//
// Pure functions of the picture (read only) and the clicks; the view calls them after the
// storing click, shows the busy cursor while they run, appends the record and then lets the
// user place the label (the anchor starts at `anchor`, normally the storing click).
// Points: drawn segments and anchor in view pixels (client position, no scroll); the
// mapping converts to picture pixels and back and adds the scroll offset to record points.
#pragma once

#include <array>
#include <optional>

#include "base/units.h"
#include "base/view_transform.h"
#include "detect/auto_tool_result.h"
#include "detect/edge_segment.h"
#include "imaging/cx_image.h"

namespace lensora {

struct DrawnSegment {
    PixelPoint start;
    PixelPoint end;
};

// A drawn segment after the search: the found edge segment, or the drawn one when the search
// failed (found = false). View pixels.
struct DetectedSegment {
    PixelPoint a;
    PixelPoint b;
    bool found = false;
    // With sub-pixel edges: the found edge refined (view pixels, exact), a at the end of a.
    std::optional<std::array<PointD, 2>> refined;
};

// With "Sub-pixel edges" on, the tools take the noise of the picture (grey levels, see
// noise_estimate.h): a found segment is refined by locating the edge to sub-pixel precision
// at points spread along it (edge_refine.h), fitting a line through them and projecting the
// found ends onto it. A segment along which too few points clear the noise floor counts as not
// found, so the drawn segment stands in as for a failed search. Values are then measured
// between the refined lines and kept in the record's `refined` points.
using SubPixelNoise = std::optional<double>;

// Runs the search for one drawn segment: FindEdgeSegment with the rectangle's mask, or
// FindEdgeSegmentDilated when `dilated`.
DetectedSegment DetectSegment(const CxImage& image, DrawnSegment drawn, const ViewTransform& mapping,
                              bool dilated, SubPixelNoise subPixelNoise = std::nullopt);

// "Auto Line-Length1": the dilated search; record 23 [A, B, anchor], label "L:". nullopt when
// the search failed and the drawn segment has no length.
std::optional<AutoToolResult> AutoLineLength1(const CxImage& image, DrawnSegment drawn,
                                              PixelPoint anchor, const ViewTransform& mapping,
                                              const ScaleContext& ctx,
                                              SubPixelNoise subPixelNoise = std::nullopt);

struct LineSpacingResult {
    AutoToolResult record;  // still 18 [p0, p1, four tick ends, anchor]; live 24 [p0, p1, anchor]
    PixelPoint from;        // view pixels: midpoint of the first found segment
    PixelPoint to;          // its perpendicular foot on the second found line
    double distancePx = 0;  // |from - to| in view pixels, for the automatic line calibration
    bool detected = false;  // false: both midpoints of the drawn segments were used
};

// "Auto Line-spacing" and the automatic line calibration: when both searches succeed, from =
// rounded midpoint of the first found segment, to = rounded foot of the perpendicular from it
// onto the second found line; otherwise from and to are the rounded midpoints of the two drawn
// segments. nullopt when from and to coincide (no distance to measure).
std::optional<LineSpacingResult> AutoLineSpacing(const CxImage& image, DrawnSegment first,
                                                 DrawnSegment second, PixelPoint anchor,
                                                 const ViewTransform& mapping,
                                                 const ScaleContext& ctx, AutoView view,
                                                 SubPixelNoise subPixelNoise = std::nullopt);

struct AngleDetectionResult {
    AutoToolResult record;  // still 21 / live 25 [A1, B1, A2, B2, anchor], label "%.2f°"
    bool firstFound = false;
    bool secondFound = false;
};

// "Auto Angle-detection": the angle between the two found lines (LineAngle rules); a line
// whose search fails is replaced by its drawn segment. nullopt when a line has no length.
std::optional<AngleDetectionResult> AutoAngleDetection(const CxImage& image, DrawnSegment first,
                                                       DrawnSegment second, PixelPoint anchor,
                                                       const ViewTransform& mapping, AutoView view,
                                                       SubPixelNoise subPixelNoise = std::nullopt);

}  // namespace lensora
