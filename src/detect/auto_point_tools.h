// The point-collecting automatic tools: "Auto circle-detection" (still 19, live 21),
// "Auto Arc-detection" (still 333, live 23) and "Auto Line-Length2" (still 24, live 22).
// Every left click is snapped onto the nearest strong contrast (SnapClick) and kept by the
// view in its collected list (view pixels, no scroll); once PointToolReady says so, the right
// click evaluates the list with the tool's function below, the view appends the record
// (MakeAutoRecord) and clears the list. A nullopt result creates nothing and leaves the list
// for the view to keep or clear.
//
// Pure functions; SnapClick reads the picture. The mapping converts view pixels to picture
// pixels and back and adds the scroll offset to the record points.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "base/units.h"
#include "base/view_transform.h"
#include "detect/auto_tool_result.h"
#include "imaging/cx_image.h"

namespace lensora {

enum class PointTool { kCircle, kArc, kLineLength2 };

// The click (view pixels) converted to picture pixels, snapped with SnapToEdge and the
// detection range (picture pixels), and converted back. nullopt when the picture is not
// 24-bit: the click is then ignored.
std::optional<PixelPoint> SnapClick(const CxImage& image, PixelPoint click,
                                    const ViewTransform& mapping, int detectRange);

// The text shown when "Sub-pixel edges" finds no edge near a click.
inline constexpr const char* kNoEdgeFoundText = "No edge found near the click";

struct SubPixelClick {
    bool detectable = false;      // false: not a 24-bit picture; the click is ignored
    std::optional<PointD> point;  // view pixels; nullopt on a detectable picture: no edge
};

// SnapClick followed by the sub-pixel refinement (edge_refine.h) between the click and the
// snapped pixel, with the contrast floor of the picture's noise (grey levels). No edge when
// the snap finds no contrast in its window or the refinement refuses the edge.
SubPixelClick SnapClickSubPixel(const CxImage& image, PixelPoint click, const ViewTransform& mapping,
                                int detectRange, double noiseSigma);

// Whether the right click may finish the tool: more than two points for the circle and the
// arc, more than one for the line.
bool PointToolReady(PointTool tool, std::size_t collectedCount);

// Circle fitted through the points: record [centre plus scroll, truncated; rightClick plus
// scroll], fitRadius = the fitted radius, labels "A:", "R:", "G:". nullopt for fewer than
// three points or collinear points.
std::optional<AutoToolResult> AutoCircle(std::span<const PixelPoint> collected,
                                         PixelPoint rightClick, const ViewTransform& mapping,
                                         const ScaleContext& ctx, AutoView view);

// The inner point whose distance from the fitted centre differs least from the fitted radius
// (index into the points; a later point must be strictly closer; the first inner point when
// none is closer than the radius itself). nullopt for fewer than three points.
std::optional<std::size_t> PickArcPoint(std::span<const PixelPoint> collected, const PointD& centre,
                                        double radius);

// Arc through the first, the picked and the last point: record [first, picked, last, Z, Z]
// plus scroll (Z the rounded exact centre; the label anchor starts at the centre), labels
// "R:", "Angle:", "Arc:" (arc length from the fitted radius). nullopt for fewer than three
// points or when the fit or the three points give no circle.
std::optional<AutoToolResult> AutoArc(std::span<const PixelPoint> collected,
                                      const ViewTransform& mapping, const ScaleContext& ctx,
                                      AutoView view);

// Line fitted through the points; the ends are the outermost orthogonal projections of the
// points onto it (a real length for horizontal and vertical rows too): record [A, B, B] plus
// scroll, label "L:". nullopt for fewer than two points or all points equal.
std::optional<AutoToolResult> AutoLineLength2(std::span<const PixelPoint> collected,
                                              const ViewTransform& mapping, const ScaleContext& ctx,
                                              AutoView view);

// The three tools on refined points (view pixels), with "Sub-pixel edges" on. The records
// keep the integer points of the rules above (rounded refined points; the circle's centre
// truncated) and carry the exact values in `refined`:
// - circle: geometric fit (FitCircleGeometric) of all points; labels from its radius;
// - arc: geometric fit of all points; the middle point is the inner point nearest the
//   circle; "R:" and the arc length from the fitted radius, the angle around the fitted centre
//   (FittedArcLabels); Z is the fitted centre rounded;
// - line length 2: orthogonal line fit; the ends are the outermost projections.
std::optional<AutoToolResult> AutoCircleSubPixel(std::span<const PointD> points,
                                                 PixelPoint rightClick, const ViewTransform& mapping,
                                                 const ScaleContext& ctx, AutoView view);
std::optional<AutoToolResult> AutoArcSubPixel(std::span<const PointD> points,
                                              const ViewTransform& mapping, const ScaleContext& ctx,
                                              AutoView view);
std::optional<AutoToolResult> AutoLineLength2SubPixel(std::span<const PointD> points,
                                                      const ViewTransform& mapping,
                                                      const ScaleContext& ctx, AutoView view);

}  // namespace lensora
