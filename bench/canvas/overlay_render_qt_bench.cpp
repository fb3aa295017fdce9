// Overlay rendering through QPainter: 200 mixed records drawn into the saved 1600 x 1200
// picture against drawing the picture alone, and one 640 x 480 live frame with 50 records,
// the cross ruler and the rings against the stretched copy of the frame alone, and the still
// canvas's fit-view repaint.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <random>
#include <vector>

#include "canvas/canvas_paint.h"
#include "canvas/live_renderer.h"
#include "measure/geometry.h"
#include "measure/measured_values.h"
#include "platform/qt_drawing_surface.h"
#include "qt_bench_support.h"

namespace lensora {
namespace {

struct Picture {
    std::vector<std::uint8_t> bytes;
    DibView dib;  // points into bytes: never copied
    Picture(const Picture&) = delete;
    Picture(int w, int h) : bytes(static_cast<std::size_t>(w) * 3 * h) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<std::uint8_t>(i * 7 % 251);
        }
        dib = {w, h, 24, static_cast<std::size_t>(w) * 3, bytes.data()};
    }
};

// Records of every kind of the given scheme, spread over a 640 x 480 view.
RecordList MixedRecords(int count, bool live) {
    const ScaleContext mm{0.01, "mm", 3};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> x(20, 560), y(20, 400), d(10, 70);
    RecordList list;
    const std::vector<int> stillKinds = {1,  2,  3,  5,  6,  7,  8,  9,  10,  11, 12,
                                         13, 14, 18, 19, 21, 22, 23, 24, 222, 333};
    const std::vector<int> liveKinds = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                        12, 13, 14, 15, 17, 21, 22, 23, 24, 25};
    for (int i = 0; i < count; ++i) {
        MeasureRecord r;
        r.kind = live ? liveKinds[i % liveKinds.size()] : stillKinds[i % stillKinds.size()];
        r.labelFont = DefaultLogFont();
        r.lineGap = 13;
        r.fitRadius = 25.5;
        r.selected = i % 17 == 0;
        const PixelPoint a{x(rng), y(rng)};
        const PixelPoint b{a.x + d(rng), a.y + d(rng) / 2};
        const PixelPoint c{a.x + d(rng) / 2, a.y - d(rng) / 2};
        const auto ticks = EndTicks(a, b, 10);
        // Enough points for every rule; each kind uses the ones it names.
        r.points = {a,
                    b,
                    c,
                    ticks[1],
                    ticks[2],
                    ticks[3],
                    {a.x, a.y + 20},
                    b,
                    c,
                    {b.x, b.y + 20},
                    {a.x, b.y + 30}};
        if (live && (r.kind == 1 || r.kind == 3)) {
            r.points = {a, b, {a.x, a.y + 20}};  // the live lines derive their ticks
        }
        if (r.kind == 6 || r.kind == 4) {
            r.points = {a, b, {b.x, b.y + 10}, c, {c.x, c.y + 10}};
        }
        r.labels = {*LineLabels(a, b, mm)->begin(), "R:1.234mm", "G:7.890mm"};
        list.records.push_back(std::make_unique<MeasureRecord>(r));
    }
    return list;
}

void BM_SavedPicture_200Records(benchmark::State& state) {
    EnsureGuiApplication();
    const Picture picture(1600, 1200);
    const RecordList records = MixedRecords(200, false);
    QtDrawingSurface surface(1600, 1200);
    const AnnotatedImageInput in{&picture.dib, &records,
                                 ViewToImageFactors(DisplayMode::Fit, 1600, 1200)};
    for (auto _ : state) {
        benchmark::DoNotOptimize(RenderAnnotatedImage(surface, in));
    }
}
BENCHMARK(BM_SavedPicture_200Records)->Unit(benchmark::kMillisecond);

void BM_SavedPicture_PictureOnly(benchmark::State& state) {
    EnsureGuiApplication();
    const Picture picture(1600, 1200);
    QtDrawingSurface surface(1600, 1200);
    const AnnotatedImageInput in{&picture.dib, nullptr, {{0, 0}, 2.5, 2.5}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(RenderAnnotatedImage(surface, in));
    }
}
BENCHMARK(BM_SavedPicture_PictureOnly)->Unit(benchmark::kMillisecond);

// The still canvas's repaint in fit view: a 1600 x 1200 picture shrunk into the 640 x 480
// memory surface with 100 records and the caption, against the picture and caption alone.
// The argument is the record count (0: the reference).
void BM_StillCanvasFitView(benchmark::State& state) {
    EnsureGuiApplication();
    const Picture picture(1600, 1200);
    const RecordList records = MixedRecords(static_cast<int>(state.range(0)), false);
    const DrawingSettings settings;
    QtDrawingSurface surface(640, 480);
    CanvasPaintInput in;
    in.picture = &picture.dib;
    in.mode = DisplayMode::Fit;
    in.records = &records;
    in.settings = &settings;
    in.caption = "Still_2026-12-08_101500_100X_N0001";
    for (auto _ : state) {
        benchmark::DoNotOptimize(PaintCanvas(surface, in));
    }
}
BENCHMARK(BM_StillCanvasFitView)->Arg(0)->Arg(100)->Unit(benchmark::kMillisecond);

// The same repaint with a picture near the size limit (8000 x 6000, 144 MB): the shrunk copy
// must cost what the view needs, not what the picture holds.
void BM_StillCanvasFitViewLargePicture(benchmark::State& state) {
    EnsureGuiApplication();
    const Picture picture(8000, 6000);
    const RecordList records = MixedRecords(100, false);
    const DrawingSettings settings;
    QtDrawingSurface surface(640, 480);
    CanvasPaintInput in;
    in.picture = &picture.dib;
    in.mode = DisplayMode::Fit;
    in.records = &records;
    in.settings = &settings;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PaintCanvas(surface, in));
    }
}
BENCHMARK(BM_StillCanvasFitViewLargePicture)->Unit(benchmark::kMillisecond);

LiveFrameInput LiveInput(const Picture& frame, const RecordList* records) {
    LiveFrameInput in;
    in.frame = &frame.dib;
    in.records = records;
    in.switches = {false, false, records != nullptr, records != nullptr, false};
    in.ruler.pixelsPerUnit = 100;
    in.ruler.magnification = 60;
    return in;
}

// The argument is the frame width: 640 (a 640 x 480 frame copied one to one) or 1280 (a
// 1280 x 1024 capture shrunk into the 640 x 480 view).
Picture FrameOfWidth(std::int64_t width) {
    return width == 640 ? Picture(640, 480) : Picture(1280, 1024);
}

void BM_LiveFrame_50Records_RulerRings(benchmark::State& state) {
    EnsureGuiApplication();
    const Picture frame = FrameOfWidth(state.range(0));
    const RecordList records = MixedRecords(50, true);
    QtDrawingSurface surface(640, 480);
    const LiveFrameInput in = LiveInput(frame, &records);
    for (auto _ : state) {
        ComposeLiveFrame(surface, in);
    }
}
BENCHMARK(BM_LiveFrame_50Records_RulerRings)->Arg(640)->Arg(1280)->Unit(benchmark::kMicrosecond);

void BM_LiveFrame_StretchedCopyOnly(benchmark::State& state) {
    EnsureGuiApplication();
    const Picture frame = FrameOfWidth(state.range(0));
    QtDrawingSurface surface(640, 480);
    const LiveFrameInput in = LiveInput(frame, nullptr);
    for (auto _ : state) {
        ComposeLiveFrame(surface, in);
    }
}
BENCHMARK(BM_LiveFrame_StretchedCopyOnly)->Arg(640)->Arg(1280)->Unit(benchmark::kMicrosecond);

// The parts of a live frame without the frame: 0 the 50 records, 1 the cross ruler, 2 the rings.
void BM_LiveFrame_OverlayPart(benchmark::State& state) {
    EnsureGuiApplication();
    const Picture frame(1280, 1024);
    const RecordList records = MixedRecords(50, true);
    QtDrawingSurface surface(640, 480);
    const int part = static_cast<int>(state.range(0));
    LiveFrameInput in = LiveInput(frame, part == 0 ? &records : nullptr);
    in.frame = nullptr;
    in.switches = {false, false, part == 1, part == 2, false};
    for (auto _ : state) {
        ComposeLiveFrame(surface, in);
    }
    state.SetLabel(part == 0 ? "records" : part == 1 ? "cross ruler" : "rings");
}
BENCHMARK(BM_LiveFrame_OverlayPart)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lensora
