// Grey values for detection, computed straight from the 24-bit rows of a CxImage for the part
// of the picture an operation needs, so that a click or a small search rectangle never pays for
// a grey copy of the whole picture. The grey value of a pixel is the picture's grey plane
// value (0.11 B + 0.59 G + 0.30 R, rounded). Pictures of other depths are first turned into
// 24 bits (ConvertTo24Bits) when the still window loads them, so that every tool works on them.
// Plain functions; the image is only read and must not change
// during a call. Coordinates are picture pixels, x to the right, y from the top.
#pragma once

#include <cstdint>
#include <vector>

#include "base/pixel_box.h"
#include "imaging/cx_image.h"

namespace lensora {

// An 8-bit plane of width x height values, row 0 first, no padding. What row 0 means (top or
// bottom of the picture) is said by whoever fills it.
struct GreyPlane {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    std::uint8_t* Row(int y) { return pixels.data() + std::size_t(y) * std::size_t(width); }
    const std::uint8_t* Row(int y) const {
        return pixels.data() + std::size_t(y) * std::size_t(width);
    }
    std::uint8_t& At(int x, int y) { return Row(y)[x]; }
    std::uint8_t At(int x, int y) const { return Row(y)[x]; }
};

// Grey value of one blue, green, red pixel: (0.11 B + 0.59 G + 0.30 R + 0.5) truncated, in
// exact integer arithmetic (the same value as CxImage's grey plane).
inline std::uint8_t GreyOfBgr(const std::uint8_t* bgr) {
    return static_cast<std::uint8_t>((11u * bgr[0] + 59u * bgr[1] + 30u * bgr[2] + 50u) / 100u);
}

// True for a valid 24-bit picture with at least one pixel: the only kind detection works on.
bool IsDetectable(const CxImage& image);

// The box clipped to the picture; false when nothing of it lies inside.
bool ClipToPicture(const CxImage& image, PixelBox& box);

// Grey values of a box that lies inside the picture. bottomUp = true puts the box's lowest row
// (picture row bottom - 1) first, false its top row. False when the picture is not detectable
// or the box is empty or not inside the picture.
bool GreyOfRect(const CxImage& image, const PixelBox& box, bool bottomUp, GreyPlane& out);

}  // namespace lensora
