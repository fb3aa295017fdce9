// The still canvas end to end: mouse events on its viewport make records, the rubber band
// leaves no trace, a line calibration updates the scale box and the calibration file, and
// the saved picture carries the measurement.
#include "canvas/ui/still_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>

#include "app/app_state.h"
#include "base/number_format.h"
#include "canvas/still_window_commands.h"
#include "canvas/ui/magnifier_lens.h"
#include "canvas/ui/still_window.h"
#include "imaging/cx_image.h"
#include "measure/ini_table.h"
#include "measure/tool_catalog.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::FakePrompts;
using test::TempDir;

constexpr int kStraightLineMeasure = 1249;

// A mid-grey 640 x 480 picture, so that the default red pen stands out.
std::string WriteGreyPicture(const TempDir& dir, const std::string& name) {
    CxImage image;
    EXPECT_TRUE(image.Create(640, 480, 24));
    for (int y = 0; y < 480; ++y) {
        std::fill_n(image.RowFromTop(y), 640 * 3, std::uint8_t(128));
    }
    const std::string path = dir.Sub(name);
    EXPECT_TRUE(image.SaveToFile(path, kImageTypeBmp));
    return path;
}

class StillCanvasTest : public ::testing::Test {
  protected:
    StillCanvasTest()
        : app(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033}) {
        app.Initialise();
        window = StillWindow::Open(app, std::filesystem::path(WriteGreyPicture(dir, "p.bmp")),
                                   nullptr, prompts, &prompts);
        canvas = window->Canvas();
        window->MagnificationBox()->setText(QStringLiteral("100"));
    }
    ~StillCanvasTest() override { delete window; }

    void Send(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        const QPointF local(x, y);
        const QPointF global = canvas->viewport()->mapToGlobal(local);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove        ? Qt::NoButton
                                                                         : button;
        QMouseEvent event(type, local, global, type == QEvent::MouseMove ? Qt::NoButton : button,
                          held, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas->viewport(), &event);
    }
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, x, y, button);
        Send(QEvent::MouseButtonRelease, x, y, button);
    }

    TempDir dir;
    MemorySettingsStore store;
    AppState app;
    FakePrompts prompts;
    QPointer<StillWindow> window;
    StillCanvas* canvas = nullptr;
};

TEST_F(StillCanvasTest, ClicksMeasureALineAndTheRubberBandLeavesNoTrace) {
    ASSERT_NE(canvas, nullptr);
    const QImage before = canvas->RenderView().copy();
    ASSERT_TRUE(canvas->ChooseCommand(kStraightLineMeasure));
    EXPECT_EQ(window->ToolNameBox()->text(), "Straight Line");

    Click(100, 100);
    Send(QEvent::MouseMove, 300, 200);
    EXPECT_NE(canvas->RenderView(), before);  // the band is drawn over the picture
    Click(400, 100, Qt::RightButton);         // cancel
    EXPECT_EQ(canvas->RenderView(), before);
    EXPECT_TRUE(canvas->Records().empty());

    Click(100, 100);
    Click(300, 100);
    Click(320, 140);  // places the label
    ASSERT_EQ(canvas->Records().size(), 1u);
    const MeasureRecord& line = canvas->Records()[0];
    ASSERT_EQ(line.labels.size(), 1u);
    EXPECT_EQ(line.labels[0].rfind("L:", 0), 0u);
    EXPECT_EQ(line.points.back(), (PixelPoint{320, 140}));
    const QImage drawn = canvas->RenderView();
    EXPECT_EQ(drawn.pixelColor(200, 100), QColor(255, 0, 0));
    EXPECT_EQ(drawn.pixelColor(200, 300), QColor(128, 128, 128));
}

TEST_F(StillCanvasTest, ChangingTheUnitOrTheRateRelabelsEveryRecord) {
    ASSERT_TRUE(canvas->ChooseCommand(kStraightLineMeasure));
    Click(100, 100);
    Click(300, 100);
    Click(320, 140);
    ASSERT_EQ(canvas->Records().size(), 1u);
    const std::string inMm = canvas->Records()[0].labels.at(0);
    ASSERT_EQ(inMm.substr(inMm.size() - 2), "mm");
    const double mm = ParseLeadingNumber(inMm.substr(2));

    // The unit dialog's choice, then the next tool choice: the old line reads micrometres,
    // measured again from its points (not the rounded millimetres times 1000).
    ASSERT_TRUE(SetUnit(app.Settings(), store, "\xC2\xB5m"));
    canvas->RelabelForCurrentScale();
    const std::string inUm = canvas->Records()[0].labels.at(0);
    EXPECT_EQ(inUm.substr(inUm.size() - 3), "\xC2\xB5m");
    EXPECT_NEAR(ParseLeadingNumber(inUm.substr(2)), mm * 1000.0, 0.5);
    EXPECT_EQ(canvas->Records()[0].points.back(), (PixelPoint{320, 140}));

    // A new magnification takes effect at the next tool choice, for old records too.
    window->MagnificationBox()->setText(QStringLiteral("200"));
    ASSERT_TRUE(canvas->ChooseCommand(kStraightLineMeasure));
    EXPECT_NEAR(ParseLeadingNumber(canvas->Records()[0].labels.at(0).substr(2)), mm * 1000.0 / 2.0,
                0.5);
}

TEST_F(StillCanvasTest, LineCalibrationSetsTheScaleAndStoresIt) {
    std::vector<double> asked;
    canvas->askActualDistance = [&](const QString& unit, double pixels) {
        EXPECT_EQ(unit, "mm");
        asked.push_back(pixels);
        return std::optional<double>(1.0);
    };
    QString handedRate;
    QObject::connect(window, &StillWindow::CalibrationHandover,
                     [&](const QString&, const QString& rate) { handedRate = rate; });
    ASSERT_TRUE(canvas->StartCalibration(CalibrationTool::Line));
    EXPECT_EQ(window->ToolNameBox()->text(), "Line Calibration");
    Click(100, 100);
    Click(300, 100);
    QCoreApplication::processEvents();  // the distance is asked once the click is handled
    ASSERT_EQ(asked, (std::vector<double>{200.0}));
    EXPECT_FALSE(window->ScaleBox()->text().isEmpty());
    EXPECT_EQ(handedRate, window->ScaleBox()->text());
    ASSERT_EQ(canvas->Records().size(), 1u);
    EXPECT_EQ(canvas->Records()[0].labels[0].rfind("L:", 0), 0u);

    IniTable table;
    ASSERT_TRUE(table.Load(app.CalibrationFile()));
    EXPECT_EQ(table.GetValue("100", "100"), window->ScaleBox()->text().toStdString());
}

TEST_F(StillCanvasTest, CalibrationCancelledLeavesTheScaleBoxEmpty) {
    canvas->askActualDistance = [](const QString&, double) { return std::optional<double>(); };
    ASSERT_TRUE(canvas->StartCalibration(CalibrationTool::Line));
    Click(100, 100);
    Click(300, 100);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->ScaleBox()->text().isEmpty());
    EXPECT_FALSE(canvas->RateState().WaitingForLine());
}

TEST_F(StillCanvasTest, SavedPictureCarriesTheMeasurementAndNeedsAKnownExtension) {
    ASSERT_TRUE(canvas->ChooseCommand(kStraightLineMeasure));
    Click(100, 50);
    Click(500, 50);
    Click(510, 90);
    // A folder that cannot be written: the message, and the measurement stays.
    EXPECT_FALSE(window->SaveAnnotatedTo(std::filesystem::path(dir.Sub("no/such/out.bmp"))));
    EXPECT_EQ(prompts.shown.back(), "Save fail");
    EXPECT_FALSE(window->Saved());
    EXPECT_EQ(canvas->Records().size(), 1u);

    const std::string path = dir.Sub("out.bmp");
    EXPECT_TRUE(window->SaveAnnotatedTo(std::filesystem::path(path)));
    EXPECT_TRUE(window->Saved());
    EXPECT_EQ(prompts.shown.back(), "Save successfully!");
    const CxImage saved = CxImage::LoadFromFile(path, kImageTypeBmp);
    ASSERT_TRUE(saved.IsValid());
    EXPECT_EQ(saved.GetWidth(), 640);
    const std::uint8_t* onLine = saved.RowFromTop(50) + 300 * 3;
    EXPECT_EQ(onLine[2], 255);  // red
    EXPECT_EQ(onLine[0], 0);

    EXPECT_FALSE(window->SaveAnnotatedTo(std::filesystem::path(dir.Sub("out.png"))));
    EXPECT_EQ(prompts.shown.back(), "Save fail");
}

TEST_F(StillCanvasTest, NoRateRefusesAMeasuringToolWithTheMessage) {
    window->MagnificationBox()->clear();
    EXPECT_FALSE(canvas->ChooseCommand(kStraightLineMeasure));
    EXPECT_EQ(prompts.shown.back(), "Please input the zoomIn scale!");
    Click(100, 100);
    Click(300, 100);
    EXPECT_TRUE(canvas->Records().empty());
}

TEST_F(StillCanvasTest, RevertUndoesEdgePaintingAndDropsTheMeasurements) {
    // A dark bar gives the global edge painting something to paint.
    for (int y = 100; y < 300; ++y) {
        std::fill_n(canvas->Picture().RowFromTop(y) + 200 * 3, 100 * 3, std::uint8_t(20));
    }
    const std::vector<std::uint8_t> original(canvas->Picture().GetBits(),
                                             canvas->Picture().GetBits() + 640 * 480 * 3);
    window->OnCommand(kStillCheckEdgeGlobalCommand);
    EXPECT_EQ(window->ToolNameBox()->text(), "Check Edge(Global)");
    EXPECT_NE(std::memcmp(canvas->Picture().GetBits(), original.data(), original.size()), 0);
    ASSERT_TRUE(canvas->ChooseCommand(kStraightLineMeasure));
    Click(10, 10);
    Click(100, 10);
    ASSERT_EQ(canvas->Records().size(), 1u);

    window->OnCommand(still_command::kRevert);
    canvas = window->Canvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_TRUE(canvas->Records().empty());
    // The file is read again: the bar drawn in memory only is gone, and so is the painting.
    for (int y = 0; y < 480; y += 37) {
        EXPECT_EQ(canvas->Picture().RowFromTop(y)[3 * 250], 128) << y;
    }
}

TEST_F(StillCanvasTest, MaximisingKeepsTheMeasurementsAndImageChangesWithoutAsking) {
    for (int y = 100; y < 300; ++y) {
        std::fill_n(canvas->Picture().RowFromTop(y) + 200 * 3, 100 * 3, std::uint8_t(20));
    }
    window->OnCommand(kStillCheckEdgeGlobalCommand);
    const std::vector<std::uint8_t> painted(canvas->Picture().GetBits(),
                                            canvas->Picture().GetBits() + 640 * 480 * 3);
    ASSERT_TRUE(canvas->ChooseCommand(kStraightLineMeasure));
    Click(10, 10);
    Click(100, 10);
    Click(120, 30);
    window->ToggleMaximised();
    EXPECT_TRUE(prompts.asked.empty());
    ASSERT_NE(window->Canvas(), nullptr);
    EXPECT_EQ(window->Canvas()->DisplayMode(), StillCanvas::kActualSizeMode);
    ASSERT_EQ(window->Canvas()->Records().size(), 1u);
    EXPECT_EQ(window->Canvas()->Records()[0].points[1], (PixelPoint{100, 10}));
    EXPECT_EQ(std::memcmp(window->Canvas()->Picture().GetBits(), painted.data(), painted.size()),
              0);
    EXPECT_TRUE(window->HasUnsavedWork());
    // The tool stays chosen and measures in the new view.
    Click(10, 40);
    Click(100, 40);
    Click(120, 60);
    EXPECT_EQ(window->Canvas()->Records().size(), 2u);
    window->ToggleMaximised();
    EXPECT_EQ(window->Canvas()->DisplayMode(), StillCanvas::kFitMode);
    EXPECT_EQ(window->Canvas()->Records().size(), 2u);
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(StillCanvasTest, MagnifierLensFollowsThePointerWhileTheButtonIsHeld) {
    canvas->ChooseMagnifier(30, 150);
    Send(QEvent::MouseButtonPress, 200, 100);
    auto* lens = window->findChild<MagnifierLens*>();
    ASSERT_NE(lens, nullptr);
    EXPECT_EQ(lens->size(), QSize(150, 150));
    // Canvas (200, 100) is window (200, 160); a 150-pixel lens at 3x shows 50 pixels.
    EXPECT_EQ(lens->pos(), QPoint(200 - 75, 160 - 75));
    EXPECT_EQ(lens->SourceRect(), QRect(175, 135, 50, 50));
    Send(QEvent::MouseMove, 260, 120);
    EXPECT_EQ(lens->SourceRect(), QRect(235, 155, 50, 50));
    Send(QEvent::MouseButtonRelease, 260, 120);
    EXPECT_EQ(window->findChild<MagnifierLens*>(), nullptr);
    EXPECT_TRUE(canvas->Records().empty());
}

TEST_F(StillCanvasTest, AutomaticCircleOnANoisyDiscWithSubPixelEdges) {
    // A dark disc of radius 60 around (320.4, 240.7) with sensor noise of sigma 8.
    const double cx = 320.4, cy = 240.7, radius = 60;
    std::mt19937 random(2);
    std::normal_distribution<double> noise(0, 8);
    for (int y = 0; y < 480; ++y) {
        std::uint8_t* row = canvas->Picture().RowFromTop(y);
        for (int x = 0; x < 640; ++x) {
            int dark = 0;
            for (int s = 0; s < 16; ++s) {
                dark += std::hypot(x - 0.375 + (s % 4) / 4.0 - cx,
                                   y - 0.375 + (s / 4) / 4.0 - cy) <= radius;
            }
            const int grey =
                std::clamp(int(std::lround(203 - 153 * dark / 16.0 + noise(random))), 0, 255);
            std::fill_n(row + 3 * x, 3, std::uint8_t(grey));
        }
    }
    ASSERT_TRUE(canvas->ChooseCommand(1317));
    Click(20, 20);  // nothing but noise around it
    EXPECT_EQ(prompts.shown, (std::vector<std::string>{"No edge found near the click"}));
    for (int k = 0; k < 6; ++k) {
        const double a = k * std::numbers::pi / 3 + 0.4;
        const double r = radius + (k % 2 == 0 ? 9 : -4);
        Click(int(std::lround(cx + r * std::cos(a))), int(std::lround(cy + r * std::sin(a))));
    }
    Click(500, 400, Qt::RightButton);
    ASSERT_EQ(canvas->Records().size(), 1u);
    const MeasureRecord& circle = canvas->Records()[0];
    ASSERT_TRUE(circle.refined && circle.refined->centre);
    EXPECT_NEAR(circle.refined->centre->x, cx, 0.5);
    EXPECT_NEAR(circle.refined->centre->y, cy, 0.5);
    EXPECT_NEAR(circle.fitRadius, radius, 0.5);
    // Drawn around the exact centre: red on the rim at the right, within a pixel or two.
    const QImage drawn = canvas->RenderView();
    int red = 0;
    for (int x = 377; x <= 383; ++x) {
        red += drawn.pixelColor(x, 241) == QColor(255, 0, 0) ? 1 : 0;
    }
    EXPECT_GT(red, 0);
    EXPECT_NE(drawn.pixelColor(372, 241), QColor(255, 0, 0));
}

// The sensor class comes from the last camera seen, the capture size from the picture: a
// 1280 x 960 picture always reads with 63.829787234 um per pixel.
TEST_F(StillCanvasTest, PictureCameraTakesTheSizeFromThePicture) {
    EXPECT_TRUE(canvas->PictureCamera().largeSensor);
    EXPECT_EQ(canvas->PictureCamera().captureWidth, 640);
    EXPECT_EQ(canvas->PictureCamera().captureHeight, 480);
    canvas->SetLastCamera({false, 1600, 1200});
    EXPECT_FALSE(canvas->PictureCamera().largeSensor);
    EXPECT_EQ(canvas->PictureCamera().captureWidth, 640);

    CxImage image;
    ASSERT_TRUE(image.Create(1280, 960, 24));
    const std::string path = dir.Sub("big.bmp");
    ASSERT_TRUE(image.SaveToFile(path, kImageTypeBmp));
    StillWindow* big =
        StillWindow::Open(app, std::filesystem::path(path), nullptr, prompts, &prompts);
    ASSERT_NE(big, nullptr);
    big->Canvas()->SetLastCamera(CameraFacts{});  // the camera now runs at 1600 x 1200
    EXPECT_DOUBLE_EQ(NominalPixelSize(big->Canvas()->PictureCamera()), 63.829787234);
    delete big;
}

}  // namespace
}  // namespace lensora
