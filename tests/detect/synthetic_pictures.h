// Synthetic 24-bit test pictures with known edges: grey levels set per pixel by a function of
// the picture position (x to the right, y from the top), optional uniform noise.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>

#include "detect/grey_region.h"
#include "imaging/cx_image.h"

namespace lensora::testing {

inline constexpr int kDark = 50;
inline constexpr int kBright = 200;

// A grey pixel (equal blue, green and red) has exactly that grey level.
template <typename GreyOf>
CxImage MakePicture(int width, int height, GreyOf greyOf) {
    CxImage image;
    image.Create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < width; ++x) {
            const auto grey = static_cast<std::uint8_t>(std::clamp(int(greyOf(x, y)), 0, 255));
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = grey;
        }
    }
    return image;
}

inline CxImage UniformPicture(int width, int height, int grey) {
    return MakePicture(width, height, [grey](int, int) { return grey; });
}

// Bright disc of the given radius (pixels with (x-cx)^2 + (y-cy)^2 <= r^2) on dark.
inline CxImage DiscPicture(int width, int height, int cx, int cy, int radius) {
    return MakePicture(width, height, [=](int x, int y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius ? kBright : kDark;
    });
}

// Dark vertical bar of columns left..right on bright.
inline CxImage VerticalBarPicture(int width, int height, int left, int right) {
    return MakePicture(width, height,
                       [=](int x, int) { return x >= left && x <= right ? kDark : kBright; });
}

// Dark rectangle (inclusive corners) on bright.
inline CxImage RectanglePicture(int width, int height, int x1, int y1, int x2, int y2) {
    return MakePicture(width, height, [=](int x, int y) {
        return x >= x1 && x <= x2 && y >= y1 && y <= y2 ? kDark : kBright;
    });
}

// Adds uniform noise in [-amplitude, amplitude] to every channel of every pixel equally.
inline void AddNoise(CxImage& image, int amplitude, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-amplitude, amplitude);
    for (int y = 0; y < image.GetHeight(); ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < image.GetWidth(); ++x) {
            const auto grey =
                static_cast<std::uint8_t>(std::clamp(row[3 * x] + noise(random), 0, 255));
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = grey;
        }
    }
    image.DiscardGreyPlane();
}

inline int GreyAt(const CxImage& image, int x, int y) {
    return GreyOfBgr(image.RowFromTop(y) + 3 * x);
}

inline bool IsRed(const CxImage& image, int x, int y) {
    const std::uint8_t* p = image.RowFromTop(y) + 3 * x;
    return p[0] == 0 && p[1] == 0 && p[2] == 255;
}

}  // namespace lensora::testing
