// The three exports of 1,000 mixed measurements: workbook, report with a 1600 x 1200 picture,
// drawing. Each builds the whole file in memory and writes it to a temporary folder, as the
// export command does. The reference beside them is the plain write of the same number of
// bytes, so that what the writers cost is told apart from what the disk costs.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "export/docx_writer.h"
#include "export/dxf_writer.h"
#include "export/export_file.h"
#include "export/report_picture.h"
#include "export/xlsx_writer.h"
#include "imaging/cx_image.h"

namespace lensora {
namespace {

MeasureRecord Make(int kind, std::vector<PixelPoint> points, std::vector<std::string> labels) {
    MeasureRecord r = NewRecord();
    r.kind = kind;
    r.points = std::move(points);
    r.labels = std::move(labels);
    return r;
}

// Lines, circles, rectangles, angles, continuous lines, polygons and two circles in turn.
RecordList MixedRecords(int count) {
    RecordList list;
    for (int i = 0; i < count; ++i) {
        const int o = i % 400;
        const std::string n = std::to_string(i);
        switch (i % 7) {
            case 0:
                AppendRecord(list, Make(1, {{o, o}, {o + 100, o + 40}, {}, {}, {}, {}, {o, o}},
                                        {"L:" + n + ".123mm"}));
                break;
            case 1:
                AppendRecord(list, Make(2, {{o + 50, o + 50}, {o + 80, o + 90}, {o, o}},
                                        {"A:" + n + ".5mm2", "R:1.25mm", "G:7.854mm"}));
                break;
            case 2:
                AppendRecord(list, Make(3, {{o, o}, {o + 60, o + 30}, {o, o}},
                                        {"A:1.8mm2", "W:0.6mm", "H:0.3mm"}));
                break;
            case 3:
                AppendRecord(list,
                             Make(5, {{o + 10, o}, {o, o}, {o, o + 10}, {o, o}}, {"90.000°"}));
                break;
            case 4:
                AppendRecord(list, Make(6,
                                        {{o, o},
                                         {o + 20, o},
                                         {o, o},
                                         {o + 20, o + 20},
                                         {o, o},
                                         {o + 40, o + 20},
                                         {o, o}},
                                        {"0.200mm", "0.200mm", "0.200mm"}));
                break;
            case 5:
                AppendRecord(
                    list,
                    Make(7,
                         {{o, o}, {o + 30, o}, {o + 30, o + 30}, {o, o + 30}, {o, o + 30}, {o, o}},
                         {"A:0.09mm2"}));
                break;
            default:
                AppendRecord(list, Make(11,
                                        {{o, o + 10},
                                         {o + 10, o},
                                         {o + 20, o + 10},
                                         {o + 10, o + 10},
                                         {},
                                         {o + 40, o + 10},
                                         {o + 50, o},
                                         {o + 60, o + 10},
                                         {o + 50, o + 10},
                                         {},
                                         {}},
                                        {"R1:0.1mm", "R2:0.1mm", "L:0.4mm"}));
                break;
        }
    }
    return list;
}

ExportScale Scale() {
    ExportScale s;
    s.unitsPerPixel = 0.8 * 0.4;
    s.pictureHeight = 1200;
    return s;
}

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("lensora-bench-") + name))
        .string();
}

// A picture with detail, so that its JPEG has a realistic size.
CxImage Picture() {
    CxImage image;
    image.Create(1600, 1200, 24);
    for (int y = 0; y < 1200; ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < 1600; ++x) {
            row[3 * x] = static_cast<std::uint8_t>((x * 7) ^ y);
            row[3 * x + 1] = static_cast<std::uint8_t>(x + y * 3);
            row[3 * x + 2] = static_cast<std::uint8_t>((x / 8) * (y / 8));
        }
    }
    return image;
}

void BM_XlsxExport1000(benchmark::State& state) {
    const RecordList records = MixedRecords(1000);
    const std::string path = TempPath("export.xlsx");
    for (auto _ : state) {
        std::filesystem::remove(path);  // a fresh file: no backup to read
        if (!ExportXlsx(path, records, RecordScheme::Still, Scale(), nullptr).ok()) {
            state.SkipWithError("xlsx export failed");
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_XlsxExport1000)->Unit(benchmark::kMillisecond);

void BM_XlsxReExport1000WithBackup(benchmark::State& state) {
    const RecordList records = MixedRecords(1000);
    const std::string path = TempPath("again.xlsx");
    ExportXlsx(path, records, RecordScheme::Still, Scale(), nullptr);
    for (auto _ : state) {
        if (!ExportXlsx(path, records, RecordScheme::Still, Scale(), nullptr).ok()) {
            state.SkipWithError("xlsx export failed");
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_XlsxReExport1000WithBackup)->Unit(benchmark::kMillisecond);

// Encoding the picture is part of the export: the window hands over the rendered picture.
void BM_DocxExport1000With1600x1200Picture(benchmark::State& state) {
    const RecordList records = MixedRecords(1000);
    const CxImage picture = Picture();
    const std::string path = TempPath("export.docx");
    for (auto _ : state) {
        ReportContent c;
        c.fileName = "export.docx";
        c.createdAt = LocalTimeText();
        c.body = ReportLines(records, RecordScheme::Still, Scale());
        c.picture = JpegPicture(picture);
        if (!ExportDocx(path, c).ok()) {
            state.SkipWithError("docx export failed");
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_DocxExport1000With1600x1200Picture)->Unit(benchmark::kMillisecond);

void BM_DxfExport1000(benchmark::State& state) {
    const RecordList records = MixedRecords(1000);
    const std::string path = TempPath("export.dxf");
    for (auto _ : state) {
        if (!ExportDxf(path, records, RecordScheme::Still, Scale()).ok()) {
            state.SkipWithError("dxf export failed");
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_DxfExport1000)->Unit(benchmark::kMillisecond);

// Reference: writing as many bytes as the drawing holds through the same safe save.
void BM_ReferenceSaveOfTheDrawingsBytes(benchmark::State& state) {
    const std::string bytes = BuildDxf(MixedRecords(1000), RecordScheme::Still, Scale()).Text();
    const std::string path = TempPath("reference.bin");
    for (auto _ : state) {
        if (SaveFileAtomically(path, bytes)) {
            state.SkipWithError("save failed");
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReferenceSaveOfTheDrawingsBytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lensora
