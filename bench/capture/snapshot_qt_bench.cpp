// Snapshots. F2 to a finished file: the work on the UI thread once the camera hands over the
// frame (copy out of the store, sequence scan, composition at 1600 x 1200 with 50 records,
// JPEG quality 90, the write with its sync and rename), against encoding the bare frame alone;
// also without the disk sync and without records, to show where the time goes.
// The sequence number scan of a folder of 10,000 pictures, against a bare readdir of it.
#include <benchmark/benchmark.h>
#include <dirent.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include <fmt/format.h>

#include "app/snapshot_taker.h"
#include "app/ui/snapshot_controller.h"
#include "base/user_prompts.h"
#include "capture/snapshot_naming.h"
#include "capture/virtual_microscope.h"
#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "qt_bench_support.h"

namespace lensora {
namespace {

namespace fs = std::filesystem;

class SilentPrompts : public UserPrompts {
  public:
    void Show(std::string_view, PromptIcon) override {}
    PromptAnswer Ask(std::string_view, PromptButtons, PromptIcon) override {
        return PromptAnswer::Cancel;
    }
};

fs::path BenchFolder(std::string_view name) {
    const fs::path folder = fs::temp_directory_path() / fmt::format("lensora-bench-{}", name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// A frame of the virtual microscope: a textured specimen, so that the encoder has real work.
FrameCopy MicroscopeFrame(int width, int height) {
    VirtualMicroscope scope;
    scope.Open(scope.ListDevices().at(0));
    StreamFormat applied;
    scope.SetFormat({width, height, 333333}, applied);
    FrameCopy frame;
    frame.header = FrameHeader(width, height);
    frame.sequence = 1;
    frame.bytes.resize(std::size_t(width) * height * 3);
    scope.RenderFrame(frame.bytes.data(), 7);
    return frame;
}

LiveRecords FiftyMeasurements() {
    LiveRecords list;
    for (int i = 0; i < 50; ++i) {
        MeasureRecord r;
        r.kind = i % 2 == 0 ? 1 : 3;  // straight and parallel lines
        r.labelFont = DefaultLogFont();
        r.penColor = 0x0000FF;
        r.penWidth = 2;
        const PixelPoint a{20 + (i * 37) % 540, 20 + (i * 53) % 380};
        const PixelPoint b{a.x + 40 + i % 30, a.y + 10 + i % 20};
        r.points = {a, b, {a.x, a.y + 20}};
        r.labels = {"L:1.234mm"};
        list.records.push_back(std::make_unique<MeasureRecord>(r));
    }
    return list;
}

// Arguments: records (0 none, 1 fifty), disk sync (0 skipped, 1 as the program does it).
void BM_Snapshot_F2ToJpegFile_1600x1200(benchmark::State& state) {
    EnsureGuiApplication();
    const bool withRecords = state.range(0) != 0;
    FileSeam seam = SystemFileSeam();
    if (state.range(1) == 0) {
        seam.sync = [](int) { return 0; };
    }
    const fs::path folder = BenchFolder("snapshot");
    const FrameCopy frame = MicroscopeFrame(1600, 1200);
    FrameStore store;
    store.Store(frame.bytes.data(), 1600, 1200, 0, false, 1);
    const LiveRecords records = FiftyMeasurements();
    SnapshotScene scene;
    scene.records = withRecords ? &records : nullptr;
    SilentPrompts prompts;
    SnapshotTaker taker(SnapshotSurfaces(), prompts, seam);
    const SnapshotTarget target{folder.string(), folder.string(), kImageFormatJpeg, "60"};
    FrameCopy copy;  // reused, as the program reuses its copy
    for (auto _ : state) {
        copy.sequence = 0;
        store.CopyLatest(copy);
        const SnapshotOutcome out = taker.TakeSnapshot(copy, scene, target, false);
        if (!out.written) {
            state.SkipWithError("snapshot not written");
            break;
        }
        state.PauseTiming();
        fs::remove(out.path);
        state.ResumeTiming();
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_Snapshot_F2ToJpegFile_1600x1200)
    ->ArgNames({"records", "sync"})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond);

// The reference: the bare frame encoded as JPEG of quality 90 into memory.
void BM_Snapshot_EncodeBareFrame_1600x1200(benchmark::State& state) {
    const FrameCopy frame = MicroscopeFrame(1600, 1200);
    CxImage image;
    FrameToImage(frame, image);
    image.SetJpegQuality(90);
    for (auto _ : state) {
        CxMemFile out;
        image.Encode(&out, kImageTypeJpeg);
        benchmark::DoNotOptimize(out.DataSize());
    }
}
BENCHMARK(BM_Snapshot_EncodeBareFrame_1600x1200)->Unit(benchmark::kMillisecond);

const fs::path& TenThousandPictures() {
    static const fs::path folder = [] {
        const fs::path f = BenchFolder("sequence");
        for (int n = 1; n <= 10000; ++n) {
            std::ofstream(f /
                          fmt::format("Still_2026-12-08_1200{:02d}_60X_N{:04d}.jpg", n % 60, n));
        }
        return f;
    }();
    return folder;
}

void BM_SequenceScan_10000Pictures(benchmark::State& state) {
    const std::string folder = TenThousandPictures().string();
    SilentPrompts prompts;
    int next = 0;
    for (auto _ : state) {
        next = ScanSequenceNumber(folder, ".jpg", &prompts).next;
        benchmark::DoNotOptimize(next);
    }
    if (next != 10001) {
        state.SkipWithError("wrong sequence number");
    }
}
BENCHMARK(BM_SequenceScan_10000Pictures)->Unit(benchmark::kMillisecond);

// The reference: listing the same folder and nothing else.
void BM_SequenceScan_BareReaddir(benchmark::State& state) {
    const std::string folder = TenThousandPictures().string();
    for (auto _ : state) {
        DIR* dir = ::opendir(folder.c_str());
        int count = 0;
        while (::readdir(dir) != nullptr) {
            ++count;
        }
        ::closedir(dir);
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_SequenceScan_BareReaddir)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lensora
