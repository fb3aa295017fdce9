// The live canvas: its own client pixels reach the live records through the display
// transform (normal and full screen), the rubber band is kept for the next picture, and the
// connection message is shown while no camera is connected.
#include "live/ui/live_canvas.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>

#include "live/live_session.h"
#include "support/fake_prompts.h"

namespace lensora {
namespace {

class LiveCanvasTest : public ::testing::Test {
  protected:
    void Send(QEvent::Type type, int x, int y) {
        const QPointF local(x, y);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, local, canvas.mapToGlobal(local), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&canvas, &event);
    }
    void Click(int x, int y) {
        Send(QEvent::MouseButtonPress, x, y);
        Send(QEvent::MouseButtonRelease, x, y);
    }

    AppSettings settings;
    CalibrationState shared;
    LabelCounters counters;
    LiveSession session{settings, shared, counters};
    test::FakePrompts prompts;
    LiveCanvas canvas{session, settings, prompts};
};

TEST_F(LiveCanvasTest, NormalDisplayStoresClientPixels) {
    canvas.resize(640, 480);
    ASSERT_TRUE(session.ChooseCommand(1192));  // circle label
    Click(100, 50);
    ASSERT_EQ(session.Records().size(), 1u);
    EXPECT_EQ(session.Records()[0].points[0], (PixelPoint{100, 50}));
    // The video area's first row and column take no clicks, as in the main window.
    Click(0, 10);
    EXPECT_EQ(session.Records().size(), 1u);
}

TEST_F(LiveCanvasTest, FullScreenScalesClientPixelsToTheVideoArea) {
    canvas.resize(1600, 1200);
    canvas.SetFullScreen(true);
    ASSERT_TRUE(session.ChooseCommand(1192));
    Click(250, 500);
    ASSERT_EQ(session.Records().size(), 1u);
    EXPECT_EQ(session.Records()[0].points[0], (PixelPoint{100, 200}));
    // A 5:4 capture fills 640 x 512 of the video area.
    canvas.resize(1280, 1024);
    canvas.SetFullScreen(true, 512);
    Click(640, 900);
    ASSERT_EQ(session.Records().size(), 2u);
    EXPECT_EQ(session.Records()[1].points[0], (PixelPoint{320, 450}));
    canvas.SetFullScreen(false);
    Click(30, 40);
    EXPECT_EQ(session.Records()[2].points[0], (PixelPoint{30, 40}));
}

TEST_F(LiveCanvasTest, RubberBandIsKeptForTheNextPictureInClientPixels) {
    canvas.resize(1280, 960);
    canvas.SetFullScreen(true);
    canvas.rateCheck = [] { return true; };
    ASSERT_TRUE(session.ChooseCommand(1179));  // straight line
    Click(200, 200);
    Send(QEvent::MouseMove, 400, 300);
    ASSERT_TRUE(canvas.KeptBand().has_value());
    EXPECT_EQ(canvas.KeptBand()->from, (PixelPoint{200, 200}));
    EXPECT_EQ(canvas.KeptBand()->to, (PixelPoint{400, 300}));
    EXPECT_EQ(session.Interaction()->Working().points, (std::vector<PixelPoint>{{100, 100}}));
    session.Cancel();
    EXPECT_FALSE(canvas.KeptBand().has_value());
}

TEST_F(LiveCanvasTest, ANewUnitOrRateRelabelsTheLiveRecordsAtTheNextToolChoice) {
    canvas.resize(640, 480);
    std::string magnification = "10";
    canvas.rateCheck = [&] {
        return session.Calibration().PrepareRate({magnification, ""}, prompts);
    };
    ASSERT_TRUE(session.ChooseCommand(1179));  // straight line
    Click(100, 100);
    Click(200, 100);
    Click(220, 140);  // places the label
    ASSERT_EQ(session.Records().size(), 1u);
    // 100 pixels at magnification 10 on a large-sensor camera: 100 * 0.08 mm.
    EXPECT_EQ(session.Records()[0].labels.at(0), "L:8.000mm");

    settings.unit = "\xC2\xB5m";
    canvas.RelabelForCurrentScale();
    EXPECT_EQ(session.Records()[0].labels.at(0), "L:8000.000\xC2\xB5m");

    magnification = "20";
    // A second press switches the line tool off, a third chooses it again with the new rate.
    ASSERT_TRUE(session.ChooseCommand(1179));
    EXPECT_EQ(session.Records()[0].labels.at(0), "L:8000.000\xC2\xB5m");
    ASSERT_TRUE(session.ChooseCommand(1179));
    EXPECT_EQ(session.Records()[0].labels.at(0), "L:4000.000\xC2\xB5m");
}

TEST_F(LiveCanvasTest, MeasuringToolsAreRefusedWithoutARateCheck) {
    EXPECT_FALSE(session.ChooseCommand(1179));
    canvas.SetStatusText(QStringLiteral("Please connect"));
    EXPECT_EQ(canvas.StatusText(), QStringLiteral("Please connect"));
}

}  // namespace
}  // namespace lensora
