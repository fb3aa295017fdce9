// The live picture in full screen: a 1600 x 1200 camera frame composed into a 1920 x 1080
// surface with 50 finished measurements drawn at the display scale (3 x 2.25), the cross
// ruler and the rings; against the bare stretch of the frame alone, in the same run. The CPU
// column counts every thread of the process, so it stays meaningful on a busy machine.
#include <benchmark/benchmark.h>

#include <QImage>
#include <vector>

#include "canvas/live_renderer.h"
#include "capture/preview_layout.h"
#include "live/live_session.h"
#include "platform/qt_drawing_surface.h"
#include "qt_bench_support.h"

namespace lensora {
namespace {

constexpr int kFrameWidth = 1600;
constexpr int kFrameHeight = 1200;
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

LiveRecords FiftyRecords() {
    LiveRecords list;
    for (int i = 0; i < 50; ++i) {
        MeasureRecord r;
        r.kind = i % 3 == 0 ? 8 : (i % 3 == 1 ? 1 : 3);  // radius circles, lines, parallels
        r.labelFont = DefaultLogFont();
        const PixelPoint a{20 + (i * 37) % 540, 20 + (i * 53) % 380};
        const PixelPoint b{a.x + 40 + i % 30, a.y + 10 + i % 20};
        r.points = {a, b, {a.x, a.y + 20}};
        r.labels = {"L:1.234mm"};
        list.records.push_back(std::make_unique<MeasureRecord>(r));
    }
    return list;
}

std::vector<std::uint8_t> FrameBytes() {
    std::vector<std::uint8_t> bytes(std::size_t(kFrameWidth) * kFrameHeight * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = std::uint8_t(i * 7 / 5);
    }
    return bytes;
}

// Arg 0: the frame stretched alone (the reference); 1: with the records and overlays.
void BM_FullScreenLiveComposition(benchmark::State& state) {
    EnsureGuiApplication();
    const bool overlays = state.range(0) != 0;
    const std::vector<std::uint8_t> bytes = FrameBytes();
    const LiveRecords records = FiftyRecords();
    const DibView dib{kFrameWidth, kFrameHeight, 24, std::size_t(kFrameWidth) * 3, bytes.data()};
    const ViewTransform toStored =
        LiveSession::DisplayTransform(kScreenWidth, kScreenHeight, true, 480);
    QImage surfaceImage(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        LiveFrameInput in;
        in.frame = &dib;
        in.frameDestination =
            PreviewFrameBox(kFrameWidth, kFrameHeight, kScreenWidth, kScreenHeight);
        if (overlays) {
            in.records = &records;
            in.display = ScaledDrawing(1.0 / toStored.fx, 1.0 / toStored.fy);
            in.switches.crossRuler = true;
            in.switches.rings = true;
            in.ruler.pixelsPerUnit = 100.0 / toStored.fx;
        }
        QtDrawingSurface surface(surfaceImage);
        ComposeLiveFrame(surface, in);
        benchmark::DoNotOptimize(surfaceImage.constBits());
    }
}
BENCHMARK(BM_FullScreenLiveComposition)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"records_ruler_rings"})
    ->MeasureProcessCPUTime()  // Qt stretches large pictures on worker threads
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lensora
