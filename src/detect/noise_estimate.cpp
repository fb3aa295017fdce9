#include "detect/noise_estimate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "detect/grey_region.h"

namespace lensora {

namespace {

// 1.4826 turns a median absolute deviation into a standard deviation for normal noise; the
// Laplacian 0 1 0 / 1 -4 1 / 0 1 0 multiplies the noise's spread by sqrt(1 + 1 + 1 + 1 + 16).
constexpr double kMadToSigma = 1.4826;
const double kLaplacianGain = std::sqrt(20.0);
// About a million Laplacian samples are plenty for a median.
constexpr std::int64_t kSampleBudget = 1000 * 1000;

}  // namespace

double EstimateNoiseSigma(const CxImage& image) {
    if (!IsDetectable(image) || image.GetWidth() < 3 || image.GetHeight() < 3) {
        return 0.0;
    }
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const std::int64_t inner = std::int64_t(width - 2) * (height - 2);
    const int step = std::max(1, int(std::sqrt(double(inner) / double(kSampleBudget))));

    // |Laplacian| of 8-bit values lies in 0 .. 1020: a histogram gives the exact median.
    std::array<std::int64_t, 1021> histogram{};
    std::int64_t count = 0;
    std::vector<std::uint8_t> rows[3];
    for (auto& row : rows) {
        row.resize(std::size_t(width));
    }
    auto greyRow = [&](int y, std::vector<std::uint8_t>& out) {
        const std::uint8_t* bgr = image.RowFromTop(y);
        for (int x = 0; x < width; ++x) {
            out[std::size_t(x)] = GreyOfBgr(bgr + 3 * x);
        }
    };
    for (int y = 1; y + 1 < height; y += step) {
        greyRow(y - 1, rows[0]);
        greyRow(y, rows[1]);
        greyRow(y + 1, rows[2]);
        for (int x = 1; x + 1 < width; x += step) {
            const int centre = rows[1][std::size_t(x)];
            const int laplacian = rows[0][std::size_t(x)] + rows[2][std::size_t(x)] +
                                  rows[1][std::size_t(x - 1)] + rows[1][std::size_t(x + 1)] -
                                  4 * centre;
            ++histogram[std::size_t(std::abs(laplacian))];
            ++count;
        }
    }
    if (count == 0) {
        return 0.0;
    }
    // The median with the halves of its bin shared linearly, so that a picture whose Laplacian
    // is mostly 0 or 1 still gives a graded estimate.
    const double half = double(count) / 2.0;
    std::int64_t below = 0;
    for (std::size_t v = 0; v < histogram.size(); ++v) {
        if (double(below + histogram[v]) >= half) {
            const double inBin =
                histogram[v] > 0 ? (half - double(below)) / double(histogram[v]) : 0;
            const double median = std::max(0.0, double(v) - 0.5 + inBin);
            return kMadToSigma * median / kLaplacianGain;
        }
        below += histogram[v];
    }
    return 0.0;
}

NoiseCache::Key NoiseCache::KeyOf(const CxImage& image) {
    Key key;
    if (!image.IsValid()) {
        return key;
    }
    key.bits = image.GetBits();
    key.width = image.GetWidth();
    key.height = image.GetHeight();
    // 64 pixels spread over the picture, mixed into one number (FNV-1a).
    std::uint64_t hash = 1469598103934665603ull;
    const int rowBytes = key.width * int(image.GetBpp()) / 8;
    for (int i = 0; i < 64 && rowBytes > 0; ++i) {
        const int y = int((std::int64_t(key.height) * (2 * i + 1)) / 128);
        const int x = int((std::int64_t(rowBytes) * ((i * 37) % 64 * 2 + 1)) / 128);
        hash = (hash ^ image.RowFromTop(y)[x]) * 1099511628211ull;
    }
    key.sample = hash;
    return key;
}

double NoiseCache::SigmaFor(const CxImage& image) {
    const Key key = KeyOf(image);
    if (!valid_ || !(key == key_)) {
        sigma_ = EstimateNoiseSigma(image);
        key_ = key;
        valid_ = true;
    }
    return sigma_;
}

}  // namespace lensora
