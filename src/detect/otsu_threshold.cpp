#include "detect/otsu_threshold.h"

namespace lensora {

GreyHistogram MakeHistogram(const GreyPlane& plane) {
    GreyHistogram histogram{};
    for (std::uint8_t value : plane.pixels) {
        ++histogram[value];
    }
    return histogram;
}

int OtsuThreshold(const GreyHistogram& histogram) {
    std::uint64_t total = 0;
    std::uint64_t totalMoment = 0;
    for (int level = 0; level < 256; ++level) {
        total += histogram[level];
        totalMoment += std::uint64_t(level) * histogram[level];
    }
    int best = 0;
    float bestScore = 0.0f;
    bool found = false;
    std::uint64_t count0 = 0;
    std::uint64_t moment0 = 0;
    for (int t = 0; t < 255; ++t) {
        count0 += histogram[t];
        moment0 += std::uint64_t(t) * histogram[t];
        if (count0 == 0 || count0 == total) {
            continue;
        }
        const double mean0 = double(moment0) / double(count0);
        const double mean1 = double(totalMoment - moment0) / double(total - count0);
        const float w0 = static_cast<float>(double(count0) / double(total));
        const double diff = mean1 - mean0;
        const float score = static_cast<float>(w0 * (1.0f - w0) * diff * diff);
        // Strictly greater: equal scores keep the smaller threshold.
        if (!found || score > bestScore) {
            found = true;
            bestScore = score;
            best = t;
        }
    }
    return best;
}

void BinariseAbove(GreyPlane& plane, int threshold) {
    for (std::uint8_t& value : plane.pixels) {
        value = int(value) > threshold ? 255 : 0;
    }
}

}  // namespace lensora
