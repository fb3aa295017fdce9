// Point types of the measurement engine: integer pixel points as clicked and stored in
// records, and double-precision points for exact intermediate geometry.
#pragma once

#include <cstdint>

namespace lensora {

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PointD {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const PointD&, const PointD&) = default;
};

inline PointD ToPointD(PixelPoint p) {
    return {double(p.x), double(p.y)};
}

// Nearest pixel, halves rounded away from zero on both sides of the origin. Values outside
// the 32-bit range are clamped to it and a value that is not a number gives 0, so that no
// conversion overflows.
std::int32_t RoundToPixel(double value);
PixelPoint RoundToPixel(PointD p);

// Truncation toward zero with the same clamping.
std::int32_t TruncateToPixel(double value);

}  // namespace lensora
