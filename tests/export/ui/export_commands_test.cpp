// The export commands of the still window, end to end: the menu offers them, the dialog's
// answer is written, and the drawing's bar is as long as its label.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

#include <cmath>

#include "app/app_state.h"
#include "app/ui/main_window.h"
#include "base/number_format.h"
#include "canvas/still_window_commands.h"
#include "canvas/ui/still_canvas.h"
#include "canvas/ui/still_window.h"
#include "export/export_flow.h"
#include "export/export_samples.h"
#include "export/xlsx_reader.h"
#include "export/zip_package.h"
#include "imaging/cx_image.h"
#include "measure/measured_values.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

class ExportCommandsTest : public ::testing::Test {
  protected:
    ExportCommandsTest()
        : app(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033}) {
        app.Initialise();
    }
    StillWindow* OpenPicture(int w, int h) {
        CxImage image;
        EXPECT_TRUE(image.Create(w, h, 24));
        const std::string path = dir.Sub("Still_2026-12-08_130000_N0001.bmp");
        EXPECT_TRUE(image.SaveToFile(path, kImageTypeBmp));
        return StillWindow::Open(app, std::filesystem::path(path), nullptr, prompts, &prompts);
    }
    void Answer(const std::string& name) {
        prompts.saveAnswers.push_back(ChosenPath{dir.Sub(name), 0});
    }

    test::TempDir dir;
    MemorySettingsStore store;
    AppState app;
    test::FakePrompts prompts;
};

TEST_F(ExportCommandsTest, TheImageMenuOffersTheThreeExports) {
    QPointer<StillWindow> w = OpenPicture(640, 480);
    ASSERT_TRUE(w);
    QMenu* menu = w->BuildPopup(StillPopup::ImageProcess);  // owned by the window
    int offered = 0;
    for (QAction* a : menu->actions()) {
        const int c = a->data().toInt();
        if (c == still_command::kExportExcel || c == still_command::kExportWord ||
            c == still_command::kExportCad) {
            EXPECT_TRUE(a->isEnabled()) << c;
            ++offered;
        }
    }
    EXPECT_EQ(offered, 3);
    delete w;
}

TEST_F(ExportCommandsTest, ABarOfAFittedPictureIsWrittenAsLongAsItsLabelWithThePicture) {
    QPointer<StillWindow> w = OpenPicture(1600, 1200);
    ASSERT_TRUE(w && w->Canvas());
    w->ScaleBox()->setText("2");
    // 400 picture pixels are 160 pixels of the 640-wide view the rate counts; the record
    // holds picture pixels.
    ScaleContext view = MakeScaleContext(app.Settings(), CameraFacts{}, 2.0);
    const auto label = LineLabels({100, 300}, {260, 300}, view);
    ASSERT_TRUE(label);
    test::Add(w->Canvas()->Records(), test::Record(1, {{250, 750}, {650, 750}}, {(*label)[0]}));

    const ExportScale scale = w->CurrentExportScale();
    EXPECT_DOUBLE_EQ(scale.toPictureX, 1.0);
    EXPECT_DOUBLE_EQ(scale.unitsPerPixel, view.s * 0.4);
    EXPECT_DOUBLE_EQ(scale.pictureHeight, 1200);

    Answer("bar");
    w->OnCommand(still_command::kExportCad);
    const auto groups = test::DxfGroups(test::ReadFile(dir.Sub("bar.dxf")));
    std::vector<double> xy;
    for (const auto& [code, value] : groups) {
        if (code == 10 || code == 20 || code == 11 || code == 21) {
            xy.push_back(ParseLeadingNumber(value));
        }
    }
    ASSERT_GE(xy.size(), 8u);  // the extents, then the line
    const std::size_t n = xy.size();
    const double length = std::hypot(xy[n - 2] - xy[n - 4], xy[n - 1] - xy[n - 3]);
    EXPECT_NEAR(length, ParseLeadingNumber(std::string_view((*label)[0]).substr(2)), 0.0005);

    Answer("bar");
    w->OnCommand(still_command::kExportWord);
    ZipReader docx(test::ReadFile(dir.Sub("bar.docx")));
    const auto jpeg = docx.Read("word/media/image1.jpeg");
    ASSERT_TRUE(jpeg);
    const CxImage shown = CxImage::LoadFromMemory(
        reinterpret_cast<const std::uint8_t*>(jpeg->data()), jpeg->size(), kImageTypeJpeg);
    EXPECT_EQ(shown.GetWidth(), 1600);
    EXPECT_EQ(shown.GetHeight(), 1200);

    Answer("bar");
    w->OnCommand(still_command::kExportExcel);
    const auto book = ReadXlsx(test::ReadFile(dir.Sub("bar.xlsx")));
    ASSERT_TRUE(book);
    EXPECT_EQ(book->sheets[0].At(1, 1), (*label)[0]);
    EXPECT_TRUE(prompts.shown.empty());
    delete w;
}

TEST_F(ExportCommandsTest, TheMainWindowExportsFrameTakingItsRateFromItsBoxes) {
    MainWindow window(app);
    window.MagnificationBox()->setText("50");
    window.CalibratedRateBox()->setText("");
    ExportScale scale = window.LiveExportScale();
    const double perPixel = UnitsPerPixel("mm", CameraFacts{}) * 10.0;
    EXPECT_DOUBLE_EQ(scale.unitsPerPixel, perPixel / 50.0);
    EXPECT_DOUBLE_EQ(scale.pictureHeight, 480.0);  // live records hold 640 x 480 frame pixels
    EXPECT_DOUBLE_EQ(scale.toPictureX, 1.0);
    window.CalibratedRateBox()->setText("43.7");
    scale = window.LiveExportScale();
    EXPECT_DOUBLE_EQ(scale.unitsPerPixel, perPixel / 43.7);
    window.CalibratedRateBox()->setText("");
    window.MagnificationBox()->setText("");
    EXPECT_FALSE(window.LiveExportScale().Usable());
}

}  // namespace
}  // namespace lensora
