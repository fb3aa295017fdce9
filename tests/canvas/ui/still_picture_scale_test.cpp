// A value belongs to the picture: the still window driven by mouse events on pictures made
// here reads the same segment alike on pictures of any shape, in either direction, in the fit
// view and at actual size, keeps its measurements across maximise and restore, labels the
// calibration line with the typed length and saves pictures whose lines and labels grow with
// the picture. With LENSORA_SCALE_SCREENSHOTS naming a folder, it also saves pictures of the
// windows there.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>

#include <cmath>
#include <functional>

#include "app/app_state.h"
#include "base/ui/skin.h"
#include "base/units.h"
#include "canvas/ui/still_canvas.h"
#include "canvas/ui/still_window.h"
#include "imaging/cx_image.h"
#include "platform/system_paths.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {
using test::FakePrompts;
using test::TempDir;

constexpr int kStraightLineMeasure = 1249;
constexpr int kRectangleMeasure = 1251;

// A light grey picture with the dark pixels `dark` says.
std::string WritePicture(const TempDir& dir, const std::string& name, int w, int h,
                         const std::function<bool(int, int)>& dark) {
    CxImage image;
    EXPECT_TRUE(image.Create(w, h, 24));
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < w; ++x) {
            std::fill_n(row + 3 * x, 3, std::uint8_t(dark(x, y) ? 30 : 200));
        }
    }
    const std::string path = dir.Sub(name);
    EXPECT_TRUE(image.SaveToFile(path, kImageTypeBmp));
    return path;
}

class StillPictureScaleTest : public ::testing::Test {
  protected:
    StillPictureScaleTest()
        : app(store, {dir.Sub("config"), dir.Sub("Documents"), dir.Sub("res"), 1033}) {
        app.Initialise();
        skin::SetIconFolder(QString::fromStdString(ResourceFolder()) + QStringLiteral("/icons"));
    }
    ~StillPictureScaleTest() override { delete window; }

    void Open(const std::string& path) {
        window = StillWindow::Open(app, std::filesystem::path(path), nullptr, prompts, &prompts);
        ASSERT_TRUE(window);
        canvas = window->Canvas();
        ASSERT_NE(canvas, nullptr);
    }
    // Picture pixels per view pixel of the fit view.
    double Fit() const {
        const double w = canvas->Picture().GetWidth();
        const double h = canvas->Picture().GetHeight();
        return std::max(w / 640.0, h / 480.0);
    }
    void Send(QEvent::Type type, QPointF local, Qt::MouseButton button = Qt::LeftButton) {
        const QPointF global = canvas->viewport()->mapToGlobal(local);
        const bool press = type == QEvent::MouseButtonPress;
        QMouseEvent event(type, local, global, type == QEvent::MouseMove ? Qt::NoButton : button,
                          press ? Qt::MouseButtons(button) : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas->viewport(), &event);
    }
    // A click on the picture pixel (x, y), wherever the view shows it now.
    void ClickPicture(double x, double y) {
        const double f = canvas->DisplayMode() == StillCanvas::kFitMode ? Fit() : 1.0;
        const QPoint scroll = canvas->ScrollPosition();
        const QPointF at((x - scroll.x()) / f, (y - scroll.y()) / f);
        Send(QEvent::MouseMove, at);
        Send(QEvent::MouseButtonPress, at);
        Send(QEvent::MouseButtonRelease, at);
    }
    // A measured straight line from (x0, y0) to (x1, y1), picture pixels; its label.
    std::string MeasureLine(double x0, double y0, double x1, double y1) {
        EXPECT_TRUE(canvas->ChooseCommand(kStraightLineMeasure));
        const std::size_t before = canvas->Records().size();
        ClickPicture(x0, y0);
        ClickPicture(x1, y1);
        ClickPicture(x1 + 5, y1 + 20);  // places the label
        EXPECT_EQ(canvas->Records().size(), before + 1);
        const MeasureRecord& line = canvas->Records()[canvas->Records().size() - 1];
        EXPECT_EQ(line.points[0], (PixelPoint{int(x0), int(y0)}));
        EXPECT_EQ(line.points[1], (PixelPoint{int(x1), int(y1)}));
        return line.labels.empty() ? std::string() : line.labels[0];
    }
    void Screenshot(const char* name) {
        const QByteArray folder = qgetenv("LENSORA_SCALE_SCREENSHOTS");
        if (folder.isEmpty()) {
            return;
        }
        window->show();
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents();
        }
        EXPECT_TRUE(window->grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(name)));
    }

    TempDir dir;
    MemorySettingsStore store;
    AppState app;
    FakePrompts prompts;
    QPointer<StillWindow> window;
    StillCanvas* canvas = nullptr;
};

TEST_F(StillPictureScaleTest, EqualBarsOnASquarePictureReadEqualInEitherViewAndDirection) {
    // A 400-pixel bar across and another one down.
    Open(WritePicture(dir, "square.bmp", 1000, 1000, [](int x, int y) {
        return (y >= 118 && y <= 122 && x >= 60 && x <= 460) ||
               (x >= 518 && x <= 522 && y >= 40 && y <= 440);
    }));
    window->ScaleBox()->setText(QStringLiteral("1280"));
    // The fit view shows the whole picture square: 480 x 480 from the left, dark beyond.
    const QImage view = canvas->RenderView();
    EXPECT_EQ(view.size(), QSize(640, 480));
    EXPECT_EQ(view.pixelColor(470, 240), QColor(200, 200, 200));
    EXPECT_EQ(view.pixelColor(490, 240), QColor(24, 24, 24));
    EXPECT_LT(view.pixelColor(520 * 480 / 1000, 240 * 480 / 1000).red(), 115);

    // 400 picture pixels of a 1000-wide picture are 256 pixels of the 640-wide view:
    // 256 * 80 um * 10 / 1280 = 0.160 mm. The clicks fall between view pixels.
    EXPECT_EQ(MeasureLine(60, 120, 460, 120), "L:0.160mm");
    EXPECT_EQ(MeasureLine(520, 40, 520, 440), "L:0.160mm");
    Screenshot("square-fit.png");

    window->ToggleMaximised();
    ASSERT_EQ(canvas->DisplayMode(), StillCanvas::kActualSizeMode);
    EXPECT_EQ(MeasureLine(60, 120, 460, 120), "L:0.160mm");
    EXPECT_EQ(MeasureLine(520, 40, 520, 440), "L:0.160mm");
    Screenshot("square-maximised.png");
}

TEST_F(StillPictureScaleTest, ScaleBarReadsItsLengthInTheNormalWindowMaximisedAndRestored) {
    Open(WritePicture(dir, "bar.bmp", 1600, 1200,
                      [](int x, int y) { return y >= 298 && y <= 302 && x >= 200 && x <= 600; }));
    window->MagnificationBox()->setText(QStringLiteral("100"));
    std::vector<double> asked;
    canvas->askActualDistance = [&](const QString&, double pixels) {
        asked.push_back(pixels);
        return std::optional<double>(0.1);
    };
    ASSERT_TRUE(canvas->StartCalibration(CalibrationTool::Line));
    ClickPicture(200, 300);
    ClickPicture(600, 300);
    QCoreApplication::processEvents();  // the distance is asked once the click is handled
    // The rate keeps counting pixels of the 640-wide view: 400 picture pixels are 160.
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_DOUBLE_EQ(asked[0], 160.0);
    ASSERT_FALSE(window->ScaleBox()->text().isEmpty());
    ASSERT_EQ(canvas->Records().size(), 1u);
    EXPECT_EQ(canvas->Records()[0].labels[0], "L:0.100mm");

    EXPECT_EQ(MeasureLine(200, 300, 600, 300), "L:0.100mm");
    window->ToggleMaximised();
    EXPECT_TRUE(prompts.asked.empty());  // nothing is lost, so nothing is asked
    ASSERT_EQ(canvas, window->Canvas());
    EXPECT_EQ(canvas->Records().size(), 2u);
    EXPECT_EQ(MeasureLine(200, 300, 600, 300), "L:0.100mm");
    window->ToggleMaximised();
    EXPECT_EQ(canvas->DisplayMode(), StillCanvas::kFitMode);
    EXPECT_EQ(MeasureLine(200, 300, 600, 300), "L:0.100mm");
    EXPECT_TRUE(prompts.asked.empty());

    // Every record kept its picture pixels through both changes.
    ASSERT_EQ(canvas->Records().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(canvas->Records()[i].points[0], (PixelPoint{200, 300})) << i;
        EXPECT_EQ(canvas->Records()[i].points[1], (PixelPoint{600, 300})) << i;
    }
}

TEST_F(StillPictureScaleTest, CalibrationLineShowsTheTypedLengthInTheCurrentUnit) {
    ASSERT_TRUE(SetUnit(app.Settings(), store, "cm"));
    Open(WritePicture(dir, "plain.bmp", 640, 480, [](int, int) { return false; }));
    window->MagnificationBox()->setText(QStringLiteral("20"));
    canvas->askActualDistance = [](const QString& unit, double pixels) {
        EXPECT_EQ(unit, "cm");
        EXPECT_DOUBLE_EQ(pixels, 200.0);
        return std::optional<double>(1.0);
    };
    ASSERT_TRUE(canvas->StartCalibration(CalibrationTool::Line));
    ClickPicture(100, 100);
    ClickPicture(300, 100);
    QCoreApplication::processEvents();
    ASSERT_EQ(canvas->Records().size(), 1u);
    // Not the length at the working rate the picture size scales (2.5 cm before).
    EXPECT_EQ(canvas->Records()[0].labels[0], "L:1.000cm");
    EXPECT_EQ(MeasureLine(100, 150, 300, 150), "L:1.000cm");

    // A cancelled calibration labels its line with the length at the rate it was drawn with.
    canvas->askActualDistance = [](const QString&, double) { return std::optional<double>(); };
    ASSERT_TRUE(canvas->StartCalibration(CalibrationTool::Line));
    ClickPicture(100, 200);
    ClickPicture(500, 200);
    QCoreApplication::processEvents();
    // The calibration measures with the magnification's rate, 20: 400 pixels are 1.6 cm.
    EXPECT_EQ(canvas->Records()[canvas->Records().size() - 1].labels[0], "L:1.600cm");
}

TEST_F(StillPictureScaleTest, APortraitPicturesDiscStaysRound) {
    // A disc of radius 150 around (275, 330) on a 550 x 660 picture.
    Open(WritePicture(dir, "portrait.bmp", 550, 660,
                      [](int x, int y) { return std::hypot(x - 275.0, y - 330.0) <= 150.0; }));
    window->ScaleBox()->setText(QStringLiteral("100"));

    // On the screen the disc is as wide as it is high (the view is 480 / 660 of the picture).
    const QImage view = canvas->RenderView();
    const auto darkRun = [&](int x0, int y0, int dx, int dy) {
        int n = 0;
        for (int x = x0, y = y0; x >= 0 && y >= 0 && x < view.width() && y < view.height();
             x += dx, y += dy) {
            const int red = view.pixelColor(x, y).red();
            n += red >= 28 && red < 115 ? 1 : 0;  // the disc, not the dark beyond the picture
        }
        return n;
    };
    const int across = darkRun(0, 240, 1, 0);
    const int down = darkRun(200, 0, 0, 1);
    EXPECT_NEAR(across, 300 * 480 / 660, 2);
    EXPECT_NEAR(down, across, 2);

    // Its box measured with the rectangle tool is as wide as it is high.
    ASSERT_TRUE(canvas->ChooseCommand(kRectangleMeasure));
    ClickPicture(125, 180);
    ClickPicture(425, 480);
    ClickPicture(430, 500);
    ASSERT_EQ(canvas->Records().size(), 1u);
    const std::vector<std::string>& labels = canvas->Records()[0].labels;
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[1].rfind("W:", 0), 0u);
    EXPECT_EQ(labels[1].substr(2), labels[2].substr(2));  // "W:" and "H:" alike
}

TEST_F(StillPictureScaleTest, SavedLargePictureDrawsLinesAndLabelsAtTheScreensSize) {
    Open(WritePicture(dir, "large.bmp", 1600, 1200, [](int, int) { return false; }));
    window->ScaleBox()->setText(QStringLiteral("100"));
    MeasureLine(200, 600, 1400, 600);
    const std::string path = dir.Sub("saved.bmp");
    ASSERT_TRUE(window->SaveAnnotatedTo(std::filesystem::path(path)));
    const CxImage saved = CxImage::LoadFromFile(path, kImageTypeBmp);
    ASSERT_TRUE(saved.IsValid());
    const auto red = [&](int x, int y) {
        const std::uint8_t* p = saved.RowFromTop(y) + 3 * x;
        return p[2] > 200 && p[1] < 60 && p[0] < 60;
    };
    // The screen's pen is 2.5 times as wide here (the fit view shows 2.5 picture pixels in
    // one screen pixel).
    const int screenPen = std::max(1, canvas->Drawing().penWidth);
    int rows = 0;
    for (int y = 590; y <= 610; ++y) {
        rows += red(800, y) ? 1 : 0;
    }
    EXPECT_NEAR(rows, std::lround(screenPen * 2.5), 1) << screenPen;
    EXPECT_GE(rows, 2);
    // The label, 2.5 times the screen's height, below and right of its anchor (1405, 620).
    int labelRows = 0;
    for (int y = 610; y < 700; ++y) {
        bool any = false;
        for (int x = 1400; x < 1600 && !any; ++x) {
            any = red(x, y);
        }
        labelRows += any ? 1 : 0;
    }
    EXPECT_GE(labelRows, 20);
}

}  // namespace
}  // namespace lensora

namespace lensora {
namespace {

TEST_F(StillPictureScaleTest, MovingARecordInAScrolledViewShowsItWhereItIs) {
    Open(WritePicture(dir, "wide.bmp", 1600, 1200, [](int, int) { return false; }));
    window->ScaleBox()->setText(QStringLiteral("100"));
    window->ToggleMaximised();
    ASSERT_EQ(canvas->DisplayMode(), StillCanvas::kActualSizeMode);
    canvas->horizontalScrollBar()->setValue(200);
    ASSERT_EQ(canvas->ScrollPosition().x(), 200);
    MeasureLine(250, 50, 450, 50);
    ASSERT_TRUE(canvas->Interaction().ChooseTool(StillMode::kSelect, false));
    ClickPicture(350, 50);
    ASSERT_TRUE(canvas->Records()[0].selected);
    const QImage before = canvas->RenderView().copy();
    const QColor onLine = before.pixelColor(150, 50);  // picture (350, 50)
    ASSERT_NE(onLine, QColor(200, 200, 200));

    // The figure that follows the pointer starts on the record itself.
    ASSERT_TRUE(canvas->Interaction().MoveSelected());
    const QImage moving = canvas->RenderView();
    EXPECT_NE(moving.pixelColor(150, 50), onLine);
    EXPECT_NE(moving.pixelColor(100, 50), before.pixelColor(100, 50));
}

}  // namespace
}  // namespace lensora
