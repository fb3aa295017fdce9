// The thumbnail strip: a folder of 2,000 pictures to the first painted strip and to six decoded
// thumbnails, a 1600 x 1200 JPEG thumbnail with DCT scaling against a full decode, and a redraw
// with six cached thumbnails. Each is run beside its reference.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
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

// A picture with detail everywhere, so that it compresses like a real one.
CxImage Specimen(int w, int h) {
    CxImage image;
    image.Create(w, h, 24);
    std::uint32_t noise = 12345;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < w; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = int(noise >> 27);
            row[x * 3] = std::uint8_t((x * 255 / w + n) & 0xFF);
            row[x * 3 + 1] = std::uint8_t((y * 255 / h + n) & 0xFF);
            row[x * 3 + 2] = std::uint8_t(((x ^ y) & 0x3F) + 100);
        }
    }
    return image;
}

const std::string& JpegFile() {
    static const std::string path = [] {
        const fs::path p = fs::temp_directory_path() / "lensora-bench-1600x1200.jpg";
        Specimen(1600, 1200).SaveToFile(p.string(), kImageTypeJpeg);
        return p.string();
    }();
    return path;
}

// 2,000 copies of one 1280 x 1024 JPEG (made once per run).
const std::string& PictureFolder() {
    static const std::string folder = [] {
        const fs::path dir = fs::temp_directory_path() / "lensora-bench-2000-pictures";
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
    const std::string& path = JpegFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakePictureThumbnail(path, 90, 85).bgr.data());
    }
}
BENCHMARK(BM_JpegThumbnail1600x1200_DctScaled)->Unit(benchmark::kMillisecond);

void BM_JpegThumbnail1600x1200_FullDecode(benchmark::State& state) {
    const std::string& path = JpegFile();
    for (auto _ : state) {
        CxIOFile file;
        file.Open(path, "rb");
        CxImage image;
        CxImageJPG::Decode(image, file);
        benchmark::DoNotOptimize(ScaleToThumbnail(image, 90, 85).bgr.data());
    }
}
BENCHMARK(BM_JpegThumbnail1600x1200_FullDecode)->Unit(benchmark::kMillisecond);

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
