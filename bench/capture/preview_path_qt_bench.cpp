// The preview's work on the UI thread per frame, end to end: copy the newest 640 x 480 frame out
// of the store, compose it with 50 records, the cross ruler and the rings, and paint the
// surface into the window's backing image; against the copy and a plain stretched paint alone.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <memory>
#include <vector>

#include "canvas/live_renderer.h"
#include "capture/frame_pipeline.h"
#include "capture/preview_layout.h"
#include "platform/qt_drawing_surface.h"
#include "qt_bench_support.h"

namespace lensora {
namespace {

LiveRecords FiftyLines() {
    LiveRecords list;
    for (int i = 0; i < 50; ++i) {
        MeasureRecord r;
        r.kind = i % 2 == 0 ? 1 : 3;
        r.labelFont = DefaultLogFont();
        const PixelPoint a{20 + (i * 37) % 540, 20 + (i * 53) % 380};
        const PixelPoint b{a.x + 40 + i % 30, a.y + 10 + i % 20};
        r.points = {a, b, {a.x, a.y + 20}};
        r.labels = {"L:1.234mm"};
        list.records.push_back(std::make_unique<MeasureRecord>(r));
    }
    return list;
}

void BM_PreviewFrame_CopyComposePaint(benchmark::State& state) {
    EnsureGuiApplication();
    const bool overlays = state.range(0) != 0;
    std::vector<std::uint8_t> bytes(640 * 480 * 3, 0x80);
    FrameStore store;
    FrameCopy copy;
    const LiveRecords records = FiftyLines();
    QImage surfaceImage(640, 480, QImage::Format_RGB32);
    QImage window(640, 480, QImage::Format_RGB32);
    std::int64_t time = 0;
    for (auto _ : state) {
        store.Store(bytes.data(), 640, 480, 0, false, ++time);
        store.CopyLatest(copy);
        const DibView dib{640, 480, 24, 640 * 3, copy.bytes.data()};
        LiveFrameInput in;
        in.frame = &dib;
        in.frameDestination = PreviewFrameBox(640, 480, 640, 480);
        if (overlays) {
            in.records = &records;
            in.switches.crossRuler = true;
            in.switches.rings = true;
            in.ruler.pixelsPerUnit = 100;
        }
        {
            QtDrawingSurface surface(surfaceImage);
            ComposeLiveFrame(surface, in);
        }
        QPainter p(&window);
        p.drawImage(0, 0, surfaceImage);
    }
}
BENCHMARK(BM_PreviewFrame_CopyComposePaint)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"records_ruler_rings"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lensora
