// Long interactions stay linear: a continuous line clicked segment by segment through the
// still view's interaction, and undo then redo of every record in the live view, each at two
// sizes so the per-item time can be compared. The reference is the bare cost of filling the
// same vectors.
#include <benchmark/benchmark.h>

#include <vector>

#include "measure/live_interaction.h"
#include "measure/still_interaction.h"

namespace lensora {
namespace {

class SilentPrompts : public UserPrompts {
  public:
    void Show(std::string_view, PromptIcon) override {}
    PromptAnswer Ask(std::string_view, PromptButtons, PromptIcon) override {
        return PromptAnswer::Yes;
    }
};

// A view that draws nothing.
class NullView : public InteractionView {
  public:
    void Repaint() override {}
    void InvalidateRect(const PixelBox&) override {}
    void ShowRubberBand(const RubberBand&) override {}
    void EraseRubberBand() override {}
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    void ConfinePointer(const PixelBox&) override {}
    void FreePointer() override {}
    DrawingSettings CurrentDrawingSettings() const override { return drawing; }
    ScaleContext CurrentScale() const override { return {0.01, "mm", 3}; }
    bool PrepareRate() override { return true; }
    UserPrompts& Prompts() override { return prompts; }

    DrawingSettings drawing;
    SilentPrompts prompts;
};

void BM_ContinuousLineSegments(benchmark::State& state) {
    const int segments = static_cast<int>(state.range(0));
    NullView view;
    AppSettings settings;
    LabelCounters counters;
    for (auto _ : state) {
        StillRecords records;
        StillInteraction still(view, records, settings, counters);
        still.SetPictureSize(640, 480);
        still.ChooseTool(StillMode::kContinuousLine, true);
        still.MouseDown({0, 0});
        for (int i = 1; i <= segments; ++i) {
            const PixelPoint vertex{i % 600, (i / 600) % 400 + (i % 2)};
            still.MouseDown(vertex);
            still.MouseMove({vertex.x + 3, vertex.y + 3});
            still.MouseDown({vertex.x + 5, vertex.y + 5});
        }
        still.DoubleClick({0, 0});
        benchmark::DoNotOptimize(records.size());
    }
    state.SetItemsProcessed(state.iterations() * segments);
}
BENCHMARK(BM_ContinuousLineSegments)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ContinuousLineVectorsReference(benchmark::State& state) {
    const int segments = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<PixelPoint> points{{0, 0}};
        std::vector<std::string> labels;
        for (int i = 1; i <= segments; ++i) {
            points.push_back({i % 600, (i / 600) % 400});
            points.push_back({i % 600 + 5, (i / 600) % 400 + 5});
            labels.push_back("1.000mm");
        }
        benchmark::DoNotOptimize(points.data());
        benchmark::DoNotOptimize(labels.data());
    }
    state.SetItemsProcessed(state.iterations() * segments);
}
BENCHMARK(BM_ContinuousLineVectorsReference)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_LiveUndoRedoAll(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    NullView view;
    AppSettings settings;
    LabelCounters counters;
    LiveRecords records;
    ReferenceShapes shapes;
    LiveInteraction live(view, records, shapes, settings, counters);
    live.SetViewTransform(ViewTransform{{-98, -49}});  // clicks in main-window coordinates
    live.ChooseTool(LiveKind::kCircleLabel);
    for (int i = 0; i < count; ++i) {
        live.MouseDown({99 + i % 640, 50 + (i / 640) % 480});
    }
    for (auto _ : state) {
        while (live.Undo()) {
        }
        while (live.Redo()) {
        }
        benchmark::DoNotOptimize(records.size());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_LiveUndoRedoAll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lensora
