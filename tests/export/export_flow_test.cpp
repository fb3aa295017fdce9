#include "export/export_flow.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "export/xlsx_reader.h"
#include "export/zip_package.h"
#include "export_samples.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

struct FlowTest : ::testing::Test {
    test::TempDir dir;
    test::FakePrompts prompts;
    RecordList records = test::EveryStillKind();

    ExportSource Source() {
        ExportSource s;
        s.records = &records;
        s.scheme = RecordScheme::Still;
        s.scale = test::MillimetreScale(480);
        s.defaultName = dir.Sub("Still_1");
        return s;
    }
    void Answer(const std::string& name, std::size_t filter = 0) {
        prompts.saveAnswers.push_back(ChosenPath{dir.Sub(name), filter});
    }
};

TEST_F(FlowTest, TheDialogOffersTheTypesAndTheChosenTypeGivesTheExtension) {
    ExportFlow flow(prompts);
    Answer("sheet");
    EXPECT_EQ(flow.Run(ExportKind::Spreadsheet, Source()), dir.Sub("sheet.xlsx"));
    Answer("sheet", 1);
    EXPECT_EQ(flow.Run(ExportKind::Spreadsheet, Source()), dir.Sub("sheet.csv"));
    Answer("old.xls");
    EXPECT_EQ(flow.Run(ExportKind::Spreadsheet, Source()), dir.Sub("old.xlsx"));
    Answer("report.doc");
    EXPECT_EQ(flow.Run(ExportKind::Report, Source()), dir.Sub("report.docx"));
    Answer("drawing");
    EXPECT_EQ(flow.Run(ExportKind::Drawing, Source()), dir.Sub("drawing.dxf"));
    Answer("DRAWING.DXF", 1);
    EXPECT_EQ(flow.Run(ExportKind::Drawing, Source()), dir.Sub("DRAWING.DXF"));
    EXPECT_TRUE(prompts.shown.empty());  // success is silent

    ASSERT_EQ(prompts.saveQuestions.size(), 6u);
    EXPECT_EQ(prompts.saveQuestions[0].filters,
              (std::vector<std::string>{"xlsx Files(*.xlsx)", "csv Files(*.csv)"}));
    EXPECT_EQ(prompts.saveQuestions[0].start, dir.Sub("Still_1"));
    EXPECT_EQ(prompts.saveQuestions[3].filters, std::vector<std::string>{"docx Files(*.docx)"});
    EXPECT_EQ(prompts.saveQuestions[4].filters,
              (std::vector<std::string>{"dxf Files(*.dxf)", "DXF files(*.DXF)"}));

    // The files are what their extensions say.
    EXPECT_TRUE(ReadXlsx(test::ReadFile(dir.Sub("sheet.xlsx"))));
    EXPECT_EQ(test::ReadFile(dir.Sub("sheet.csv")).substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_TRUE(ZipReader(test::ReadFile(dir.Sub("report.docx"))).Read("word/document.xml"));
    EXPECT_EQ(test::ReadFile(dir.Sub("drawing.dxf")).substr(0, 12), "  0\r\nSECTION");
}

TEST_F(FlowTest, CancelWritesNothingAndAnExtendedNameThatExistsIsAskedAbout) {
    ExportFlow flow(prompts);
    EXPECT_FALSE(flow.Run(ExportKind::Drawing, Source()));  // dialog cancelled
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

    dir.Write("taken.xlsx", "precious");
    Answer("taken");
    prompts.answers.push_back(PromptAnswer::No);
    EXPECT_FALSE(flow.Run(ExportKind::Spreadsheet, Source()));
    // The chooser's title, then the one question about the existing file.
    ASSERT_EQ(prompts.asked.size(), 3u);
    EXPECT_EQ(prompts.asked[2], "taken.xlsx already exists.\nDo you want to replace it?");
    EXPECT_EQ(test::ReadFile(dir.Sub("taken.xlsx")), "precious");

    // Yes to the name, then No to replacing a file that is not a workbook.
    Answer("taken");
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
    EXPECT_FALSE(flow.Run(ExportKind::Spreadsheet, Source()));
    EXPECT_EQ(prompts.asked.back(),
              "taken.xlsx is not a workbook that can be read (not a zip package).\n"
              "Replace it with the exported data?");
    EXPECT_EQ(test::ReadFile(dir.Sub("taken.xlsx")), "precious");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(FlowTest, FailuresAreShownWithTheirReason) {
    const FileSeam full = test::FullDisk();
    ExportFlow flow(prompts, full);
    Answer("a.xlsx");
    EXPECT_FALSE(flow.Run(ExportKind::Spreadsheet, Source()));
    Answer("a.docx");
    EXPECT_FALSE(flow.Run(ExportKind::Report, Source()));
    Answer("a.dxf");
    EXPECT_FALSE(flow.Run(ExportKind::Drawing, Source()));
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(prompts.shown[0],
              "Export failed\n" + dir.Sub("a.xlsx") + ": No space left on device");
    EXPECT_EQ(prompts.shown[1],
              "Export failed\n" + dir.Sub("a.docx") + ": No space left on device");
    EXPECT_EQ(prompts.shown[2],
              "Error while saving dxf file!\n" + dir.Sub("a.dxf") + ": No space left on device");
    EXPECT_EQ(prompts.icons[2], PromptIcon::Error);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

    // Without a scale the drawing is refused before the dialog.
    ExportSource noScale = Source();
    noScale.scale.unitsPerPixel = 0.0;
    EXPECT_FALSE(flow.Run(ExportKind::Drawing, noScale));
    EXPECT_EQ(prompts.saveQuestions.size(), 3u);
    EXPECT_EQ(prompts.shown.back().substr(0, 33), "Fatal error on creating CDrawing!");
}

TEST_F(FlowTest, TheReportCarriesItsNameTimeAndThePictureOfTheView) {
    ExportFlow flow(prompts);
    flow.clock = [] { return std::string("2026-12-08 13:00:00"); };
    int rendered = 0;
    ExportSource source = Source();
    source.picture = [&rendered]() -> std::optional<ExportPicture> {
        ++rendered;
        return ExportPicture{"\x89PNG fake", ExportPicture::Format::Png, 640, 480};
    };
    Answer("r");
    ASSERT_TRUE(flow.Run(ExportKind::Report, source));
    EXPECT_EQ(rendered, 1);
    ZipReader zip(test::ReadFile(dir.Sub("r.docx")));
    const auto xml = zip.Read("word/document.xml");
    ASSERT_TRUE(xml);
    EXPECT_NE(xml->find("File Name: r.docx"), std::string::npos);
    EXPECT_NE(xml->find("Time of establishment: 2026-12-08 13:00:00"), std::string::npos);
    EXPECT_EQ(zip.Read("word/media/image1.png"), "\x89PNG fake");
}

}  // namespace
}  // namespace lensora
