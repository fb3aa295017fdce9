#include "base/view_transform.h"

namespace lensora {

namespace {

std::int32_t Whole(double value, PixelRounding rounding) {
    return rounding == PixelRounding::Nearest ? RoundToPixel(value) : TruncateToPixel(value);
}

}  // namespace

PixelPoint ViewTransform::ToPicture(PixelPoint view) const {
    // Sums in double: an origin and a point may lie at opposite ends of the 32-bit range
    // without overflowing.
    return {Whole(double(origin.x) + view.x * fx, rounding),
            Whole(double(origin.y) + view.y * fy, rounding)};
}

PixelPoint ViewTransform::ToView(PixelPoint picture) const {
    const double x = fx > 0.0 ? fx : 1.0;
    const double y = fy > 0.0 ? fy : 1.0;
    return {Whole((double(picture.x) - origin.x) / x, rounding),
            Whole((double(picture.y) - origin.y) / y, rounding)};
}

int ViewTransform::LengthX(double viewLength) const {
    return Whole(viewLength * fx, rounding);
}

int ViewTransform::LengthY(double viewLength) const {
    return Whole(viewLength * fy, rounding);
}

}  // namespace lensora
