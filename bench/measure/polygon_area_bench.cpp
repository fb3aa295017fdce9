// Pixel area of a large polygon: the scanline count against a per-pixel point test over the
// bounding box, on a 200-vertex polygon that covers a 1600 x 1200 picture.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "measure/geometry.h"

namespace lensora {
namespace {

// A wavy closed outline around the picture centre reaching its edges, with 200 vertices.
std::vector<PixelPoint> LargePolygon() {
    std::vector<PixelPoint> points;
    constexpr int kVertices = 200;
    for (int i = 0; i < kVertices; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / kVertices;
        const double wave = (i % 2 == 0) ? 1.0 : 0.85;
        const double x = 800.0 + 799.0 * wave * std::cos(angle) * 1.2;
        const double y = 600.0 + 599.0 * wave * std::sin(angle) * 1.2;
        points.push_back({static_cast<std::int32_t>(std::clamp(x, 0.0, 1599.0)),
                          static_cast<std::int32_t>(std::clamp(y, 0.0, 1199.0))});
    }
    return points;
}

std::int64_t PerPixelCount(const std::vector<PixelPoint>& polygon) {
    std::int64_t count = 0;
    for (std::int64_t y = 0; y < 1200; ++y) {
        for (std::int64_t x = 0; x < 1600; ++x) {
            count += PolygonContainsPixel(polygon, x, y) ? 1 : 0;
        }
    }
    return count;
}

void BM_PolygonPixelAreaScanline(benchmark::State& state) {
    const std::vector<PixelPoint> polygon = LargePolygon();
    std::int64_t pixels = 0;
    for (auto _ : state) {
        pixels = PolygonPixelArea(polygon).value_or(-1);
        benchmark::DoNotOptimize(pixels);
    }
    state.counters["pixels"] = static_cast<double>(pixels);
}
BENCHMARK(BM_PolygonPixelAreaScanline)->Unit(benchmark::kMicrosecond);

void BM_PolygonPixelAreaPerPixelReference(benchmark::State& state) {
    const std::vector<PixelPoint> polygon = LargePolygon();
    std::int64_t pixels = 0;
    for (auto _ : state) {
        pixels = PerPixelCount(polygon);
        benchmark::DoNotOptimize(pixels);
    }
    if (pixels != PolygonPixelArea(polygon).value_or(-1)) {
        state.SkipWithError("the two counts differ");
    }
    state.counters["pixels"] = static_cast<double>(pixels);
}
BENCHMARK(BM_PolygonPixelAreaPerPixelReference)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lensora
