// Whole-picture operations of the still-image window's image menu: mirror, flip, negative,
// brightness steps and the two 3 x 3 smoothing filters. Each changes the picture in place,
// discards its grey plane, and returns false without changing anything when the image is not
// valid. Top and bottom mean the picture as shown (rows are stored bottom-up).
#pragma once

#include <array>
#include <cstdint>

namespace lensora {

class CxImage;

// Pixel x of every row becomes pixel width - 1 - x.
bool MirrorHorizontal(CxImage& image);
// The top row becomes the bottom row.
bool FlipVertical(CxImage& image);

// 24-bit and grey pictures: every pixel value v becomes 255 - v. Other palette pictures: the
// palette colours are inverted instead. The background colour is inverted as well.
bool Negative(CxImage& image);

// Entry k = integer part of (brightness + 128 + ((contrast + 100) / 100) * (k - 128) + 0.5),
// clamped to 0..255; with contrast 0 this is k + brightness, clamped.
std::array<std::uint8_t, 256> BrightnessTable(int brightness, int contrast = 0);
// Maps every colour value through BrightnessTable(brightness): the bytes of a 24-bit picture,
// the pixel values of a grey picture (its palette stays a grey ramp, so it still saves as
// JPEG), the palette of other palette pictures. Steps accumulate and saturate.
bool AdjustBrightness(CxImage& image, int brightness);

// Luminance used by the median: (601 G + 306 R + 117 B) >> 10. A grey value is its own.
inline int MedianLuminance(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return (601 * green + 306 * red + 117 * blue) >> 10;
}

// Each pixel becomes the pixel of its 3 x 3 neighbourhood (only the neighbours inside the
// picture: 9, 6 at an edge, 4 at a corner) that sorts at index count / 2 by luminance. Equal
// luminances keep the neighbourhood's order (top row first, left to right). Palette pictures
// other than grey become 24-bit first, as the chosen colours need not be in the palette.
bool MedianFilter3x3(CxImage& image);

// Each colour value becomes the mean of its 3 x 3 neighbourhood inside the picture, truncated
// (interior: sum / 9; edges and corners: sum / number of inside neighbours). Palette pictures
// other than grey become 24-bit first.
bool AverageFilter3x3(CxImage& image);

}  // namespace lensora
