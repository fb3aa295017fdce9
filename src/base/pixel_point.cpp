#include "base/pixel_point.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lensora {

std::int32_t TruncateToPixel(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, kLow, kHigh));
}

std::int32_t RoundToPixel(double value) {
    return TruncateToPixel(std::round(value));  // std::round: halves away from zero
}

PixelPoint RoundToPixel(PointD p) {
    return {RoundToPixel(p.x), RoundToPixel(p.y)};
}

}  // namespace lensora
