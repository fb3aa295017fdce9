// Dragging the live view's comparison shapes (reference_shape.h) with the mouse: which part
// of a shape a click grabs and how a pointer move changes the grabbed shape. Video-area
// pixels. Pure functions over the shape list the main window owns.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "measure/reference_shape.h"

namespace lensora {

using ReferenceShapes = std::vector<ReferenceShape>;

// Half-size of the squares around the length line's start and end, of the square around the
// angle line's vertex, and half-width of the bands around its arms.
inline constexpr int kLengthGrabReach = 36;
inline constexpr int kVertexGrabReach = 10;
inline constexpr int kArmGrabReach = 6;

enum class GrabArea {
    LengthStart,     // the line moves: the start jumps to the pointer, the end keeps its offset
    LengthEnd,       // the end follows the pointer along the line's axis: the line stretches
    AngleVertex,     // the whole angle line moves with its vertex
    AngleFirstArm,   // the first arm's end follows the pointer
    AngleSecondArm,  // the second arm's end follows the pointer
    ToleranceCentre  // the circle's centre follows the pointer
};

struct ShapeGrab {
    std::size_t index = 0;
    GrabArea area = GrabArea::LengthStart;
};

// The grab area of one shape under the click, if any. Length line: the square reaching 36
// pixels around its start (tested first) or its end. Angle line: the square of +-10 around
// the vertex, else a band of +-6 pixels around either arm. Tolerance circle: closer to the
// centre than the radius minus the larger tolerance (distance truncated to whole pixels).
std::optional<GrabArea> HitGrabArea(const ReferenceShape& shape, PixelPoint click);
// The first shape in list order with a grab area under the click.
std::optional<ShapeGrab> HitShape(const ReferenceShapes& shapes, PixelPoint click);

// Changes the shape for the pointer's new position. Shapes with too few points are left as
// they are.
void DragShape(ReferenceShape& shape, GrabArea area, PixelPoint pointer);

}  // namespace lensora
