// Outlier rejection shared by the geometric circle fit and the orthogonal line fit: a point
// is kept while its distance from the fitted shape is within three robust standard deviations
// of all distances (1.4826 times their median), and never rejected for less than half a pixel.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace lensora {

inline constexpr double kOutlierSigmas = 3.0;
inline constexpr double kMinOutlierDistance = 0.5;  // pixels

// Replaces `use` by the points within the limit and returns true, unless that changes nothing
// or would leave fewer than minKept points (then `use` stays and the result is false).
inline bool UpdateInliers(const std::vector<double>& distances, std::vector<bool>& use,
                          std::size_t minKept) {
    if (distances.empty()) {
        return false;
    }
    std::vector<double> sorted = distances;
    const auto middle = sorted.begin() + std::ptrdiff_t(sorted.size() / 2);
    std::nth_element(sorted.begin(), middle, sorted.end());
    const double limit = std::max(kMinOutlierDistance, kOutlierSigmas * 1.4826 * *middle);
    std::vector<bool> keep(distances.size());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < distances.size(); ++i) {
        keep[i] = distances[i] <= limit;
        kept += keep[i] ? 1 : 0;
    }
    if (keep == use || kept < minKept) {
        return false;
    }
    use = std::move(keep);
    return true;
}

}  // namespace lensora
