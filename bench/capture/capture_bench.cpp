// The capture path: a frame into the store (copy + hand-over) against a plain memcpy of the
// same bytes, the virtual microscope's own cost per frame, and the store's allocations.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "capture/frame_pipeline.h"
#include "capture/virtual_microscope.h"

namespace lensora {
namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

std::vector<std::uint8_t> TestFrame() {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kWidth) * kHeight * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    return bytes;
}

void BM_MemcpyReference(benchmark::State& state) {
    const auto frame = TestFrame();
    std::vector<std::uint8_t> target(frame.size());
    for (auto _ : state) {
        std::memcpy(target.data(), frame.data(), frame.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(frame.size()));
}
BENCHMARK(BM_MemcpyReference)->Unit(benchmark::kMicrosecond);

// OnFrame: validation, the store's copy under its lock, the wake-up flag. Bottom-up rows as
// the virtual microscope delivers them, and top-down padded rows as V4L2 does.
void BM_FramePathStore(benchmark::State& state) {
    const bool topDown = state.range(0) != 0;
    const auto frame = TestFrame();
    FramePipeline pipeline;
    pipeline.SetExpectedSize(kWidth, kHeight);
    int wakeUps = 0;
    pipeline.SetHooks({{}, [&] { ++wakeUps; }, {}});
    FrameInfo info;
    info.bytes = frame.data();
    info.length = frame.size();
    info.width = kWidth;
    info.height = kHeight;
    info.topDown = topDown;
    pipeline.OnFrame(info);
    const std::size_t allocations = pipeline.Store().Allocations();
    for (auto _ : state) {
        pipeline.OnFrame(info);
        pipeline.FrameTaken();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(frame.size()));
    state.counters["allocations_per_frame"] =
        static_cast<double>(pipeline.Store().Allocations() - allocations) /
        static_cast<double>(state.iterations());
}
BENCHMARK(BM_FramePathStore)->Arg(0)->Arg(1)->ArgNames({"topDown"})->Unit(benchmark::kMicrosecond);

void BM_VirtualMicroscopeFrame(benchmark::State& state) {
    VirtualMicroscope scope;
    scope.Open(scope.ListDevices().at(0));
    StreamFormat applied;
    scope.SetFormat({static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 333333},
                    applied);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(applied.width) * applied.height * 3);
    std::uint64_t index = 0;
    for (auto _ : state) {
        scope.RenderFrame(out.data(), index++);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_VirtualMicroscopeFrame)
    ->Args({640, 480})
    ->Args({1600, 1200})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lensora
