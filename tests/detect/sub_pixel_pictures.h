// Pictures for the sub-pixel accuracy tests: shapes with edges at exact fractional positions,
// each pixel the area-weighted mix of the two grey levels (8 x 8 samples per pixel), then
// optional Gaussian sensor noise and a JPEG round trip at quality 90.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "detect/synthetic_pictures.h"
#include "imaging/cx_file.h"
#include "imaging/cx_image.h"

namespace lensora::testing {

// Dark on light with 153 levels of contrast.
inline constexpr int kSubPixelDark = 50;
inline constexpr int kSubPixelLight = 203;

// insideOf(x, y) says whether a picture position (pixel centres at integers) is dark.
template <typename Inside>
CxImage AreaSampledPicture(int width, int height, Inside insideOf) {
    return MakePicture(width, height, [&](int x, int y) {
        constexpr int kSamples = 8;
        int dark = 0;
        for (int sy = 0; sy < kSamples; ++sy) {
            for (int sx = 0; sx < kSamples; ++sx) {
                dark += insideOf(x - 0.5 + (sx + 0.5) / kSamples, y - 0.5 + (sy + 0.5) / kSamples)
                            ? 1
                            : 0;
            }
        }
        const double share = double(dark) / (kSamples * kSamples);
        return int(std::lround(kSubPixelLight + share * (kSubPixelDark - kSubPixelLight)));
    });
}

// Normal noise of standard deviation sigma, the same on every channel of a pixel.
inline void AddGaussianNoise(CxImage& image, double sigma, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, sigma);
    for (int y = 0; y < image.GetHeight(); ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < image.GetWidth(); ++x) {
            const int grey = std::clamp(int(std::lround(row[3 * x] + noise(random))), 0, 255);
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = std::uint8_t(grey);
        }
    }
    image.DiscardGreyPlane();
}

// New pictures are written at quality 90.
inline CxImage JpegRoundTrip(const CxImage& image) {
    CxMemFile out;
    image.Encode(&out, kImageTypeJpeg);
    return CxImage::LoadFromMemory(out.Data(), out.DataSize(), kImageTypeJpeg);
}

enum class Condition { kClean, kNoisy, kNoisyJpeg };

inline CxImage UnderCondition(CxImage image, Condition condition, unsigned seed) {
    if (condition != Condition::kClean) {
        AddGaussianNoise(image, 8.0, seed);
    }
    if (condition == Condition::kNoisyJpeg) {
        return JpegRoundTrip(image);
    }
    return image;
}

}  // namespace lensora::testing
