#include "detect/hough_threshold.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <opencv2/imgproc.hpp>

namespace lensora {

namespace {

constexpr double kRhoPx = 1.0;
constexpr double kThetaRad = CV_PI / 180.0;
constexpr double kMinLineLength = 0.0;
constexpr double kMaxLineGap = 100.0;

// Number of angles HoughLinesP uses for a step (it receives the step as float): the steps
// from 0 up to pi, without a last one that would repeat the angle 0 as pi.
int AngleCount(float thetaStep) {
    int count = int(std::floor(CV_PI / double(thetaStep))) + 1;
    if (count > 1 && std::fabs(CV_PI - (count - 1) * double(thetaStep)) < double(thetaStep) / 2) {
        --count;
    }
    return count;
}

}  // namespace

std::vector<HoughSegment> HoughSegmentsAt(const GreyPlane& edges, int threshold) {
    std::vector<HoughSegment> result;
    if (edges.width <= 0 || edges.height <= 0 || threshold <= 0) {
        return result;
    }
    // HoughLinesP only reads its input.
    const cv::Mat image(edges.height, edges.width, CV_8UC1,
                        const_cast<std::uint8_t*>(edges.pixels.data()));
    std::vector<cv::Vec4i> lines;
    cv::HoughLinesP(image, lines, kRhoPx, kThetaRad, threshold, kMinLineLength, kMaxLineGap);
    result.reserve(lines.size());
    for (const cv::Vec4i& line : lines) {
        result.push_back({{line[0], line[1]}, {line[2], line[3]}});
    }
    return result;
}

int HoughVotePeak(const GreyPlane& edges) {
    const int width = edges.width;
    const int height = edges.height;
    if (width <= 0 || height <= 0) {
        return 0;
    }
    // The same single-precision table and rounding as HoughLinesP, so that every pixel lands
    // in the cell it lands in there.
    const float rho = float(kRhoPx);
    const float theta = float(kThetaRad);
    const float inverseRho = 1 / rho;
    const int angleCount = AngleCount(theta);
    const int rhoCount = int(std::lrint(double(((width + height) * 2 + 1) / rho)));
    const int rhoOffset = (rhoCount - 1) / 2;
    std::vector<float> cosSin(std::size_t(angleCount) * 2);
    for (int n = 0; n < angleCount; ++n) {
        cosSin[2 * n] = float(std::cos(double(n) * theta) * inverseRho);
        cosSin[2 * n + 1] = float(std::sin(double(n) * theta) * inverseRho);
    }
    std::vector<int> votes(std::size_t(angleCount) * rhoCount, 0);
    int peak = 0;
    for (int i = 0; i < height; ++i) {
        const std::uint8_t* row = edges.Row(i);
        for (int j = 0; j < width; ++j) {
            if (row[j] == 0) {
                continue;
            }
            int* cells = votes.data();
            for (int n = 0; n < angleCount; ++n, cells += rhoCount) {
                const float r = float(j) * cosSin[2 * n] + float(i) * cosSin[2 * n + 1];
                const int index = int(std::lrintf(r)) + rhoOffset;
                peak = std::max(peak, ++cells[index]);
            }
        }
    }
    return peak;
}

HoughSearchResult SearchSegmentThreshold(const GreyPlane& edges, int startThreshold,
                                         int lowestThreshold, ThresholdSearch search) {
    HoughSearchResult result;
    lowestThreshold = std::max(lowestThreshold, 1);
    if (startThreshold < lowestThreshold) {
        return result;
    }
    if (search == ThresholdSearch::kPlain) {
        for (int n = startThreshold; n >= lowestThreshold; --n) {
            ++result.houghCalls;
            std::vector<HoughSegment> segments = HoughSegmentsAt(edges, n);
            if (!segments.empty()) {
                result.found = true;
                result.threshold = n;
                result.segments = std::move(segments);
                return result;
            }
        }
        return result;
    }
    return SearchSegmentThresholdFrom(edges, startThreshold, lowestThreshold, HoughVotePeak(edges));
}

HoughSearchResult SearchSegmentThresholdFrom(const GreyPlane& edges, int startThreshold,
                                             int lowestThreshold, int guessed) {
    HoughSearchResult result;
    lowestThreshold = std::max(lowestThreshold, 1);
    if (startThreshold < lowestThreshold) {
        return result;
    }
    // Whether a threshold yields segments falls from true to false as the threshold grows;
    // the answer is the largest threshold in range that still yields some.
    std::map<int, std::vector<HoughSegment>> answers;
    auto yields = [&](int n) {
        auto it = answers.find(n);
        if (it == answers.end()) {
            ++result.houghCalls;
            it = answers.emplace(n, HoughSegmentsAt(edges, n)).first;
        }
        return !it->second.empty();
    };
    int best = lowestThreshold - 1;  // largest threshold known to yield; none yet
    int low = lowestThreshold;
    int high = startThreshold;
    const int guess = std::clamp(guessed, lowestThreshold, startThreshold);
    if (yields(guess)) {
        best = guess;
        if (guess == startThreshold || !yields(guess + 1)) {
            high = guess;  // confirmed: nothing left to search
        } else {
            best = guess + 1;
        }
        low = best + 1;
    } else {
        high = guess - 1;
    }
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        if (yields(middle)) {
            best = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    if (best >= lowestThreshold) {
        result.found = true;
        result.threshold = best;
        result.segments = std::move(answers[best]);
    }
    return result;
}

}  // namespace lensora
