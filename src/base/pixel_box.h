// The one rectangle of the program: integer pixels, y down, left and top inside, right and
// bottom outside (as the platform's rectangles are). Used for client areas, drawing boxes and
// invalidated parts of a view. A plain value.
#pragma once

#include <cstdint>

#include "base/pixel_point.h"

namespace lensora {

struct PixelBox {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    bool Contains(PixelPoint p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

}  // namespace lensora
