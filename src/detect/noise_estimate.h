// Sensor noise of a picture, for the contrast floor of the sub-pixel edge refinement. The
// estimate is robust against the picture's edges: the median absolute value of a 3 x 3
// Laplacian, which for independent noise of standard deviation sigma has a spread of
// sqrt(20) sigma. Grey levels of the detection grey plane. Plain functions and a small cache;
// UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/cx_image.h"

namespace lensora {

// Standard deviation of the noise in grey levels; 0 for a picture that is not detectable or
// smaller than 3 x 3. Large pictures are sampled on a grid of rows and columns so that the
// estimate costs about as much as a 1000 x 1000 picture.
double EstimateNoiseSigma(const CxImage& image);

// The estimate of the last picture asked about. A picture counts as the same while its pixel
// block, size and a sample of its pixels are unchanged, so a filter, an edge painting or a new
// frame grab gives a new estimate.
class NoiseCache {
  public:
    double SigmaFor(const CxImage& image);

  private:
    struct Key {
        const void* bits = nullptr;
        int width = 0;
        int height = 0;
        std::uint64_t sample = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };
    static Key KeyOf(const CxImage& image);

    Key key_;
    double sigma_ = 0.0;
    bool valid_ = false;
};

}  // namespace lensora
