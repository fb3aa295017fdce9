// An automatic circle of eight clicks on a noisy 1600 x 1200 picture: the snapped clicks and
// the algebraic fit alone (the plain tool) against the same clicks with the sub-pixel
// refinement and the geometric fit, side by side; the picture's noise estimate, made once per
// picture, is measured on its own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <stdexcept>
#include <vector>

#include "detect/auto_point_tools.h"
#include "detect/circle_fit.h"
#include "detect/noise_estimate.h"
#include "imaging/cx_image.h"

namespace lensora {
namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr double kCx = 800.4;
constexpr double kCy = 600.7;
constexpr double kRadius = 150.0;

// A dark disc on light, 153 levels of contrast, edges area-sampled, Gaussian noise sigma 8.
const CxImage& Picture() {
    static const CxImage picture = [] {
        CxImage image;
        if (!image.Create(kWidth, kHeight, 24)) {
            throw std::runtime_error("cannot create the picture");
        }
        std::mt19937 random(3);
        std::normal_distribution<double> noise(0.0, 8.0);
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = image.RowFromTop(y);
            for (int x = 0; x < kWidth; ++x) {
                int dark = 0;
                for (int s = 0; s < 16; ++s) {
                    const double px = x - 0.5 + (s % 4 + 0.5) / 4;
                    const double py = y - 0.5 + (s / 4 + 0.5) / 4;
                    dark += std::hypot(px - kCx, py - kCy) <= kRadius ? 1 : 0;
                }
                const double grey = 203 - 153 * dark / 16.0 + noise(random);
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] =
                    std::uint8_t(std::clamp(int(std::lround(grey)), 0, 255));
            }
        }
        return image;
    }();
    return picture;
}

std::vector<PixelPoint> Clicks() {
    std::vector<PixelPoint> clicks;
    for (int k = 0; k < 8; ++k) {
        const double a = k * std::numbers::pi / 4 + 0.3;
        const double r = kRadius + (k % 2 == 0 ? 6 : -6);
        clicks.push_back(
            {int(std::lround(kCx + r * std::cos(a))), int(std::lround(kCy + r * std::sin(a)))});
    }
    return clicks;
}

void BM_AutoCircle8SnapOnly(benchmark::State& state) {
    const CxImage& image = Picture();
    const std::vector<PixelPoint> clicks = Clicks();
    for (auto _ : state) {
        std::vector<PixelPoint> points;
        for (PixelPoint click : clicks) {
            points.push_back(*SnapClick(image, click, ViewTransform{}, 20));
        }
        benchmark::DoNotOptimize(FitCircle(points));
    }
}
BENCHMARK(BM_AutoCircle8SnapOnly)->Unit(benchmark::kMicrosecond);

void BM_AutoCircle8SnapAndSubPixel(benchmark::State& state) {
    const CxImage& image = Picture();
    const std::vector<PixelPoint> clicks = Clicks();
    NoiseCache noise;
    const double sigma = noise.SigmaFor(image);  // once per picture, outside the clicks
    for (auto _ : state) {
        std::vector<PointD> points;
        for (PixelPoint click : clicks) {
            const SubPixelClick refined = SnapClickSubPixel(image, click, ViewTransform{}, 20, sigma);
            if (!refined.point) {
                state.SkipWithError("no edge");
                return;
            }
            points.push_back(*refined.point);
        }
        benchmark::DoNotOptimize(FitCircleGeometric(points));
    }
}
BENCHMARK(BM_AutoCircle8SnapAndSubPixel)->Unit(benchmark::kMicrosecond);

// The cache's key check, paid at every click once the estimate exists.
void BM_NoiseCacheHit(benchmark::State& state) {
    const CxImage& image = Picture();
    NoiseCache noise;
    noise.SigmaFor(image);
    for (auto _ : state) {
        benchmark::DoNotOptimize(noise.SigmaFor(image));
    }
}
BENCHMARK(BM_NoiseCacheHit)->Unit(benchmark::kMicrosecond);

void BM_NoiseEstimate1600x1200(benchmark::State& state) {
    const CxImage& image = Picture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(EstimateNoiseSigma(image));
    }
}
BENCHMARK(BM_NoiseEstimate1600x1200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lensora
