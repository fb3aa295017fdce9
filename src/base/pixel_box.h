// The one rectangle of the program: integer pixels, y down, left and top inside, right and
// bottom outside (as the platform's rectangles are). Used for client areas, drawing boxes and
// invalidated parts of a view. A plain value.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

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
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // The last pixel inside, bottom right (the box must not be empty).
    PixelPoint LastPixel() const { return {right - 1, bottom - 1}; }
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// The box from the given edges, each kept inside the 32-bit range: the far edges of a box that
// reaches the top of the range stop at its largest value, so pixel column or row 2^31 - 1 is
// never inside a box (no picture or view has one).
inline PixelBox SaturatedBox(std::int64_t left, std::int64_t top, std::int64_t right,
                             std::int64_t bottom) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    return {std::int32_t(std::clamp(left, kMin, kMax)), std::int32_t(std::clamp(top, kMin, kMax)),
            std::int32_t(std::clamp(right, kMin, kMax)),
            std::int32_t(std::clamp(bottom, kMin, kMax))};
}

// The box holding the two corner pixels a and b, given in any order.
inline PixelBox BoxOfCorners(PixelPoint a, PixelPoint b) {
    return SaturatedBox(std::min(a.x, b.x), std::min(a.y, b.y),
                        std::int64_t{std::max(a.x, b.x)} + 1, std::int64_t{std::max(a.y, b.y)} + 1);
}

}  // namespace lensora
