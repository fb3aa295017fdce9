// The exports opened by programs that share no code with them: openpyxl for the workbook,
// python-docx and LibreOffice for the report, ezdxf (recover and audit) for the drawing. Each
// test is skipped when its reader is not installed.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "export/docx_writer.h"
#include "export/dxf_writer.h"
#include "export/report_picture.h"
#include "export/xlsx_writer.h"
#include "export_samples.h"
#include "imaging/cx_image.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

struct CommandRun {
    int status = -1;
    std::string output;
};

CommandRun Command(const std::string& command) {
    CommandRun r;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return r;
    }
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        r.output.append(buffer.data(), n);
    }
    r.status = ::pclose(pipe);
    return r;
}

// The readers come as Debian packages, which install into the system's Python.
std::string PythonProgram() {
    return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

bool HasPythonModule(const char* module) {
    return Command(PythonProgram() + " -c 'import " + module + "'").status == 0;
}

CommandRun Python(const test::TempDir& dir, const std::string& script) {
    const std::string file = dir.Write("check.py", script);
    return Command(PythonProgram() + " " + file);
}

CxImage Gradient(int w, int h) {
    CxImage image;
    image.Create(w, h, 24);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x);
            row[3 * x + 1] = static_cast<std::uint8_t>(y);
            row[3 * x + 2] = static_cast<std::uint8_t>(x + y);
        }
    }
    return image;
}

ReportContent SampleReport() {
    ReportContent c;
    c.fileName = "report.docx";
    c.createdAt = "2026-12-08 13:00:00";
    RecordList list = test::EveryStillKind();
    test::Add(list, test::Record(1, {}, {"L:<12.5µm> & \"30°\""}));
    c.body = ReportLines(list, RecordScheme::Still, test::MillimetreScale(1));
    c.picture = JpegPicture(Gradient(640, 480));
    return c;
}

TEST(IndependentReaders, OpenpyxlReadsTheWorkbookAndItsBackup) {
    if (!HasPythonModule("openpyxl")) {
        GTEST_SKIP() << "python3-openpyxl is not installed";
    }
    test::TempDir dir;
    const std::string path = dir.Sub("m.xlsx");
    const auto never = [](std::string_view) { return false; };
    RecordList list = test::EveryStillKind();
    test::Add(list, test::Record(1, {}, {"a,b \"c\" <d> & 12µm 30°"}));
    ASSERT_TRUE(
        ExportXlsx(path, list, RecordScheme::Still, test::MillimetreScale(480), never).ok());
    ASSERT_TRUE(
        ExportXlsx(path, list, RecordScheme::Still, test::MillimetreScale(480), never).ok());
    const CommandRun r = Python(dir,
                                "import openpyxl\n"
                                "wb = openpyxl.load_workbook('" +
                                    path +
                                    "')\n"
                                    "print(wb.sheetnames)\n"
                                    "ws = wb['ExportData']\n"
                                    "print(ws['A1'].value, '|', ws['B2'].value, '|', ws.max_row)\n"
                                    "print(ws['B21'].value)\n"
                                    "print(wb['CSpreadSheetBackup'].max_row)\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output,
              "['ExportData', 'CSpreadSheetBackup']\n"
              "measuring objective | L:1.000mm | 21\n"
              "a,b \"c\" <d> & 12µm 30°\n"
              "21\n");
}

TEST(IndependentReaders, PythonDocxSeesTheTextFontAndOnePicture) {
    if (!HasPythonModule("docx")) {
        GTEST_SKIP() << "python3-docx is not installed";
    }
    test::TempDir dir;
    const std::string path = dir.Sub("report.docx");
    ASSERT_TRUE(ExportDocx(path, SampleReport()).ok());
    const CommandRun r = Python(dir,
                                "import docx\n"
                                "d = docx.Document('" +
                                    path +
                                    "')\n"
                                    "p = d.paragraphs\n"
                                    "print(p[0].text)\n"
                                    "print(p[3].text)\n"
                                    "print(p[-2].text)\n"
                                    "runs = [r for q in p for r in q.runs]\n"
                                    "print(set(r.font.name for r in runs), set(r.font.size.pt for "
                                    "r in runs))\n"
                                    "s = d.inline_shapes\n"
                                    "print(len(s), s[0].width, s[0].height)\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output,
              "File Name: report.docx\n"
              "Length:L:1.000mm\n"
              "Length:L:<12.5µm> & \"30°\"\n"
              "{'Arial'} {12.0}\n"
              "1 5731510 4298632\n");
}

TEST(IndependentReaders, EzdxfRecoversAndAuditsTheDrawingWithoutErrors) {
    if (!HasPythonModule("ezdxf")) {
        GTEST_SKIP() << "python3-ezdxf is not installed";
    }
    test::TempDir dir;
    const std::string path = dir.Sub("d.dxf");
    ASSERT_TRUE(
        ExportDxf(path, test::EveryStillKind(), RecordScheme::Still, test::MillimetreScale(480))
            .ok());
    const CommandRun r = Python(
        dir,
        "import ezdxf\n"
        "from ezdxf import recover\n"
        "doc, auditor = recover.readfile('" +
            path +
            "')\n"
            "print(doc.dxfversion, auditor.has_errors)\n"
            "a = doc.audit()\n"
            "print(a.has_errors, [l.dxf.name for l in doc.layers if l.dxf.name != 'Defpoints'])\n"
            "msp = doc.modelspace()\n"
            "print(len(msp.query('LINE')), len(msp.query('CIRCLE')), "
            "len(msp.query('POLYLINE')))\n"
            "print(set(e.dxf.layer for e in msp))\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output,
              "AC1009 False\n"
              "False ['0', 'Layer1', 'Layer2']\n"
              "13 6 3\n"
              "{'Layer2'}\n");
}

TEST(IndependentReaders, LibreOfficeTurnsTheReportIntoAPdf) {
    if (Command("command -v soffice").status != 0) {
        GTEST_SKIP() << "LibreOffice is not installed";
    }
    test::TempDir dir;
    const std::string path = dir.Sub("report.docx");
    ASSERT_TRUE(ExportDocx(path, SampleReport()).ok());
    const CommandRun r =
        Command("HOME=" + dir.Str() + " soffice --headless --convert-to pdf --outdir " + dir.Str() +
                " " + path);
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string pdf = dir.Sub("report.pdf");
    ASSERT_TRUE(std::filesystem::exists(pdf)) << r.output;
    EXPECT_GT(std::filesystem::file_size(pdf), 10000u);  // text and the embedded picture
    if (const char* keep = std::getenv("LENSORA_KEEP_REPORT_PDF")) {
        std::filesystem::copy_file(pdf, keep, std::filesystem::copy_options::overwrite_existing);
    }
}

}  // namespace
}  // namespace lensora
