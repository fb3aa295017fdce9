// The thumbnail strip: a folder of 2,000 pictures to the first painted strip and to six decoded
// thumbnails, a 1600 x 1200 JPEG thumbnail with DCT scaling against a full decode, and a redraw
// with six cached thumbnails. Each is run beside its reference.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "imaging/jpeg_codec.h"
#include "library/media_browser.h"
#include "library/thumbnail.h"
#include "library/ui/thumbnail_strip.h"

namespace lensora {
namespace {

namespace fs = std::filesystem;

// Widgets need the full application object; it is made before any benchmark runs so that the
// GUI-only benchmarks find it too.
const bool kApplicationMade = [] {
    static int argc = 1;
    static char name[] = "lensora_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return true;
}();

// A microscope-like picture: lit background falling off to the edges, a grid of round parts
// with sharp rims, and a little sensor noise. `noiseBits` sets the noise (0..8).
CxImage Specimen(int w, int h, int noiseBits = 3) {
    CxImage image;
    image.Create(w, h, 24);
    std::uint32_t noise = 12345;
    const int pitch = std::max(8, w / 12);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < w; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = noiseBits > 0 ? int(noise >> (32 - noiseBits)) : 0;
            const int dx = x % pitch - pitch / 2;
            const int dy = y % pitch - pitch / 2;
            const bool part = dx * dx + dy * dy < pitch * pitch / 9;
            const int light = 200 - (std::abs(x - w / 2) + std::abs(y - h / 2)) * 80 / (w + h);
            const int base = part ? light / 3 : light;
            row[x * 3] = std::uint8_t(std::clamp(base + n - 10, 0, 255));
            row[x * 3 + 1] = std::uint8_t(std::clamp(base + n, 0, 255));
            row[x * 3 + 2] = std::uint8_t(std::clamp(base + n + 15, 0, 255));
        }
    }
    return image;
}

// The 1600 x 1200 picture as a JPEG of quality 90: Arg 0 the microscope-like picture, Arg 1
// the same with heavy noise (the entropy decoding that no scaling can skip then dominates).
const std::string& JpegFile(int heavyNoise) {
    static std::string paths[2];
    if (paths[heavyNoise].empty()) {
        const fs::path p =
            fs::temp_directory_path() /
            (heavyNoise ? "lensora-bench-1600x1200-noisy.jpg" : "lensora-bench-1600x1200.jpg");
        Specimen(1600, 1200, heavyNoise ? 6 : 3).SaveToFile(p.string(), kImageTypeJpeg);
        paths[heavyNoise] = p.string();
    }
    return paths[heavyNoise];
}

// 2,000 copies of one 1280 x 1024 JPEG (made once per run).
const std::string& PictureFolder() {
    static const std::string folder = [] {
        const fs::path dir = fs::temp_directory_path() / "lensora-bench-2000-specimens";
        fs::create_directories(dir);
        const fs::path first = dir / "Still_2026-01-01_120000_60X_N0001.jpg";
        if (!fs::exists(first)) {
            Specimen(1280, 1024).SaveToFile(first.string(), kImageTypeJpeg);
        }
        for (int i = 2; i <= 2000; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "Still_2026-01-01_120000_60X_N%04d.jpg", i);
            if (!fs::exists(dir / name)) {
                fs::copy_file(first, dir / name);
            }
        }
        fs::create_directories(dir / "video");
        return dir.string();
    }();
    return folder;
}

std::unique_ptr<ThumbnailStrip> MakeStrip() {
    auto strip = std::make_unique<ThumbnailStrip>();
    strip->resize(642, 115);
    return strip;
}

void BM_FolderListingOnly(benchmark::State& state) {
    const std::string folder = PictureFolder();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ListPictureFiles(folder).size());
    }
}
BENCHMARK(BM_FolderListingOnly)->Unit(benchmark::kMillisecond);

void BM_Folder2000ToFirstPaintedStrip(benchmark::State& state) {
    const std::string folder = PictureFolder();
    for (auto _ : state) {
        auto strip = MakeStrip();
        strip->SetFolders(folder, folder + "/video", folder);
        QImage shot = strip->grab().toImage();
        benchmark::DoNotOptimize(shot.constBits());
        state.PauseTiming();
        strip.reset();  // waits for the decodes the paint started
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Folder2000ToFirstPaintedStrip)->Unit(benchmark::kMillisecond);

void BM_Folder2000ToSixDecodedThumbnails(benchmark::State& state) {
    const std::string folder = PictureFolder();
    for (auto _ : state) {
        auto strip = MakeStrip();  // a fresh cache: every thumbnail is decoded
        strip->SetFolders(folder, folder + "/video", folder);
        strip->grab();
        while (strip->PendingThumbnails() > 0) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        QImage shot = strip->grab().toImage();
        benchmark::DoNotOptimize(shot.constBits());
    }
}
BENCHMARK(BM_Folder2000ToSixDecodedThumbnails)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reference: the six full decodes one after another on this thread.
void BM_SixFullDecodesReference(benchmark::State& state) {
    const std::string folder = PictureFolder();
    const std::vector<std::string> files = ListPictureFiles(folder);
    for (auto _ : state) {
        for (std::size_t i = files.size() - 6; i < files.size(); ++i) {
            CxImage image = CxImage::LoadFromFile(files[i], kImageTypeJpeg);
            benchmark::DoNotOptimize(ScaleToThumbnail(image, 90, 85).bgr.data());
        }
    }
}
BENCHMARK(BM_SixFullDecodesReference)->Unit(benchmark::kMillisecond);

void BM_JpegThumbnail1600x1200_DctScaled(benchmark::State& state) {
    const std::string& path = JpegFile(int(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakePictureThumbnail(path, 90, 85).bgr.data());
    }
}
BENCHMARK(BM_JpegThumbnail1600x1200_DctScaled)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_JpegThumbnail1600x1200_FullDecode(benchmark::State& state) {
    const std::string& path = JpegFile(int(state.range(0)));
    for (auto _ : state) {
        CxIOFile file;
        file.Open(path, "rb");
        CxImage image;
        CxImageJPG::Decode(image, file);
        benchmark::DoNotOptimize(ScaleToThumbnail(image, 90, 85).bgr.data());
    }
}
BENCHMARK(BM_JpegThumbnail1600x1200_FullDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_StripRedrawSixCached(benchmark::State& state) {
    const std::string folder = PictureFolder();
    auto strip = MakeStrip();
    strip->SetFolders(folder, folder + "/video", folder);
    strip->grab();
    while (strip->PendingThumbnails() > 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QImage target(strip->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        strip->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_StripRedrawSixCached)->Unit(benchmark::kMicrosecond);

// Reference: six 90 x 85 pictures drawn into an image of the strip's size, nothing else.
void BM_SixImagesDrawnReference(benchmark::State& state) {
    QImage cell(90, 85, QImage::Format_BGR888);
    cell.fill(Qt::darkCyan);
    QImage target(642, 115, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&target);
        p.fillRect(target.rect(), Qt::black);
        for (int i = 0; i < 6; ++i) {
            p.drawImage(QRect(16 + i * 104, 9, 90, 85), cell);
        }
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_SixImagesDrawnReference)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lensora
