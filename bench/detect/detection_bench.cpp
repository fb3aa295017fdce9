// Detection on a 1600 x 1200 picture: the segment search's threshold loop (the fast search
// against the plain one-call-per-threshold loop, same region, same result), global edge
// painting against OpenCV's Canny on the same picture, and edge snapping with range 20.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>

#include <opencv2/imgproc.hpp>

#include "detect/edge_painting.h"
#include "detect/edge_segment.h"
#include "detect/edge_snap.h"
#include "imaging/cx_image.h"

namespace lensora {
namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

// A dark rectangle (x 700..1300, y 200..1000) and a dark disc on a bright ground, with
// +-20 levels of noise like a real camera picture.
const CxImage& Picture() {
    static const CxImage picture = [] {
        CxImage image;
        if (!image.Create(kWidth, kHeight, 24)) {
            throw std::runtime_error("cannot create the picture");
        }
        std::mt19937 random(1);
        std::uniform_int_distribution<int> noise(-20, 20);
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = image.RowFromTop(y);
            for (int x = 0; x < kWidth; ++x) {
                const bool rectangle = x >= 700 && x <= 1300 && y >= 200 && y <= 1000;
                const bool disc = (x - 350) * (x - 350) + (y - 600) * (y - 600) <= 200 * 200;
                const int grey = std::clamp((rectangle || disc ? 60 : 190) + noise(random), 0, 255);
                row[3 * x] = std::uint8_t(grey);
                row[3 * x + 1] = std::uint8_t(std::clamp(grey + 5, 0, 255));
                row[3 * x + 2] = std::uint8_t(std::clamp(grey - 5, 0, 255));
            }
        }
        return image;
    }();
    return picture;
}

// 400 x 300 around the rectangle's left side (x = 700), searched with the vertical mask.
constexpr PixelBox kRegion{500, 400, 900, 700};

void SegmentSearch(benchmark::State& state, ThresholdSearch search) {
    const CxImage& image = Picture();
    const auto reference =
        FindEdgeSegment(image, kRegion, SegmentMask::kVertical, ThresholdSearch::kPlain);
    for (auto _ : state) {
        const auto found = FindEdgeSegment(image, kRegion, SegmentMask::kVertical, search);
        if (!found || !reference || found->a != reference->a || found->b != reference->b) {
            state.SkipWithError("fast and plain searches differ");
            break;
        }
        benchmark::DoNotOptimize(found);
        state.counters["threshold"] = found->threshold;
        state.counters["houghCalls"] = found->houghCalls;
    }
}

void BM_SegmentSearchFast(benchmark::State& state) {
    SegmentSearch(state, ThresholdSearch::kFast);
}
void BM_SegmentSearchPlainLoop(benchmark::State& state) {
    SegmentSearch(state, ThresholdSearch::kPlain);
}
BENCHMARK(BM_SegmentSearchFast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SegmentSearchPlainLoop)->Unit(benchmark::kMillisecond);

void BM_PaintEdgesGlobal(benchmark::State& state) {
    CxImage image;
    for (auto _ : state) {
        state.PauseTiming();
        Picture().CopyRect(0, 0, kWidth, kHeight, image);
        state.ResumeTiming();
        benchmark::DoNotOptimize(PaintEdgesGlobal(image));
    }
}
BENCHMARK(BM_PaintEdgesGlobal)->Unit(benchmark::kMillisecond);

cv::Mat PictureAsMat() {
    const CxImage& image = Picture();
    cv::Mat bgr(kHeight, kWidth, CV_8UC3);
    for (int y = 0; y < kHeight; ++y) {
        std::memcpy(bgr.ptr(y), image.RowFromTop(y), std::size_t(kWidth) * 3);
    }
    return bgr;
}

// The OpenCV reference on the same picture: grey conversion plus Canny, and Canny alone.
void BM_OpenCvGreyAndCanny(benchmark::State& state) {
    const cv::Mat bgr = PictureAsMat();
    cv::Mat grey;
    cv::Mat edges;
    for (auto _ : state) {
        cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
        cv::Canny(grey, edges, 50, 150);
        benchmark::DoNotOptimize(edges.data);
    }
}
BENCHMARK(BM_OpenCvGreyAndCanny)->Unit(benchmark::kMillisecond);

void BM_OpenCvCanny(benchmark::State& state) {
    cv::Mat grey;
    cv::cvtColor(PictureAsMat(), grey, cv::COLOR_BGR2GRAY);
    cv::Mat edges;
    for (auto _ : state) {
        cv::Canny(grey, edges, 50, 150);
        benchmark::DoNotOptimize(edges.data);
    }
}
BENCHMARK(BM_OpenCvCanny)->Unit(benchmark::kMillisecond);

// Canny parallelises over rows; edge painting runs on one thread.
void BM_OpenCvCannyOneThread(benchmark::State& state) {
    cv::Mat grey;
    cv::cvtColor(PictureAsMat(), grey, cv::COLOR_BGR2GRAY);
    cv::Mat edges;
    const int threads = cv::getNumThreads();
    cv::setNumThreads(1);
    for (auto _ : state) {
        cv::Canny(grey, edges, 50, 150);
        benchmark::DoNotOptimize(edges.data);
    }
    cv::setNumThreads(threads);
}
BENCHMARK(BM_OpenCvCannyOneThread)->Unit(benchmark::kMillisecond);

// Near an edge (the rectangle's left side) and on a uniform area, where every ring at every
// contrast is looked at before the corner is taken.
void BM_SnapToEdgeRange20NearEdge(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(SnapToEdge(Picture(), {690, 600}, 20));
    }
}
BENCHMARK(BM_SnapToEdgeRange20NearEdge)->Unit(benchmark::kMicrosecond);

void BM_SnapToEdgeRange20Uniform(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(SnapToEdge(Picture(), {1000, 600}, 20));
    }
}
BENCHMARK(BM_SnapToEdgeRange20Uniform)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lensora
