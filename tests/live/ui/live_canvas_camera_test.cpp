// The live canvas with the virtual microscope behind it: frames reach the canvas, an unplug
// shows the connection message within a second, and a replug brings the picture back unaided.
#include "live/ui/live_canvas.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "capture/virtual_microscope.h"
#include "live/live_session.h"
#include "platform/camera_service.h"
#include "support/event_loop.h"
#include "support/fake_prompts.h"

namespace lensora {
namespace {

TEST(LiveCanvasCamera, ShowsTheVirtualMicroscopeThroughUnplugAndReplug) {
    CameraService::Options options;
    options.demo = true;
    CameraService camera(options);
    AppSettings settings;
    CalibrationState shared;
    LabelCounters counters;
    LiveSession session{settings, shared, counters};
    test::FakePrompts prompts;
    LiveCanvas preview{session, settings, prompts};
    preview.resize(640, 480);
    preview.AttachCamera(&camera);
    bool connected = false;
    QObject::connect(&camera, &CameraService::connectionChanged, &preview, [&](bool c) {
        connected = c;
        preview.SetStatusText(c ? QString() : QStringLiteral("Please connect"));
    });
    ASSERT_TRUE(camera.Connect());
    ASSERT_TRUE(test::WaitUntil([&] { return preview.FramesShown() >= 3; }, 10000));
    // The 1600x1200 frame fills the surface: the ground's beige, not black, in a corner.
    const QRgb corner = preview.Surface().pixel(5, 5);
    EXPECT_GT(qRed(corner), 100);
    EXPECT_GT(qRed(corner), qBlue(corner));

    QElapsedTimer clock;
    clock.start();
    camera.Demo()->Unplug();
    ASSERT_TRUE(test::WaitUntil([&] { return !connected; }, 5000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(preview.StatusText().isEmpty());

    const std::uint64_t shown = preview.FramesShown();
    camera.Demo()->Replug();
    ASSERT_TRUE(test::WaitUntil([&] { return connected && preview.FramesShown() > shown; }, 10000));
    EXPECT_TRUE(preview.StatusText().isEmpty());
    EXPECT_EQ(camera.Pipeline().FramesDropped(), 0u);
}

}  // namespace
}  // namespace lensora
