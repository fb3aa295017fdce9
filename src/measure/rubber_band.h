// The figure that follows the pointer between clicks (the "rubber band"). The interaction of a
// view describes it; the view draws it over the picture in NOT-XOR mode, once to show it and
// once more to erase it. Coordinates are client pixels of the view.
#pragma once

#include <cstdint>

#include "base/pixel_point.h"

namespace lensora {

struct MeasureRecord;

enum class RubberBandKind {
    Line,          // from the last fixed point to the pointer
    Rectangle,     // corners `from` and `to`
    RadiusCircle,  // circle around `from` through `to`, with its radius line
    LabelBox,      // the square of +-10 pixels around `to` (circle and square labels)
    MovedRecord,   // the whole figure of `record`, its points shifted by `shift`
};

struct RubberBand {
    RubberBandKind kind = RubberBandKind::Line;
    PixelPoint from;
    PixelPoint to;
    // Pen of a shape being created: the current drawing settings. A moved record is drawn with
    // a one-pixel solid pen of colour 0 whatever these say.
    int penStyle = 0;  // 0 solid, 1 dash, 2 dot
    int penWidth = 1;
    std::uint32_t penColour = 0;            // 0x00BBGGRR
    const MeasureRecord* record = nullptr;  // MovedRecord only; owned by the view's list
    PixelPoint shift;                       // MovedRecord: added to every stored point

    friend bool operator==(const RubberBand& a, const RubberBand& b) = default;
};

}  // namespace lensora
