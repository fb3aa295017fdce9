#include "capture/virtual_microscope.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numbers>

#include "capture/camera_connection.h"
#include "capture/fake_frame_source.h"

namespace lensora {
namespace {

// Green channel at (x, y from the top) of a bottom-up BGR frame.
int Green(const std::vector<std::uint8_t>& frame, int width, int height, int x, int y) {
    return frame[(static_cast<std::size_t>(height - 1 - y) * width + x) * 3 + 1];
}

TEST(VirtualMicroscope, SnapsToTheOfferedSizesOfItsSensor) {
    VirtualMicroscope large(true);
    ASSERT_TRUE(large.Open(large.ListDevices().at(0)));
    StreamFormat applied;
    ASSERT_TRUE(large.SetFormat({1600, 1200, 333333}, applied));
    EXPECT_EQ(applied.width, 1600);
    ASSERT_TRUE(large.SetFormat({1280, 1000, 666666}, applied));
    EXPECT_EQ(applied.height, 1024);
    EXPECT_EQ(applied.frameInterval100ns, 666666);
    EXPECT_TRUE(large.ProbeSensor().yuv1600x1200);

    VirtualMicroscope small(false);
    ASSERT_TRUE(small.Open(small.ListDevices().at(0)));
    ASSERT_TRUE(small.SetFormat({1600, 1200, 0}, applied));
    EXPECT_EQ(applied.width, 1280);
    EXPECT_FALSE(small.ProbeSensor().yuv1600x1200);
}

TEST(VirtualMicroscope, FeaturesHaveTheirKnownSizes) {
    VirtualMicroscope scope;
    ASSERT_TRUE(scope.Open(scope.ListDevices().at(0)));
    StreamFormat applied;
    ASSERT_TRUE(scope.SetFormat({640, 480, 333333}, applied));
    std::vector<std::uint8_t> frame(640 * 480 * 3);
    scope.RenderFrame(frame.data(), 0);
    const SpecimenLayout l = SpecimenLayoutFor(640, 480);

    // Frame 0 is not shifted. Dark pixel count inside the large disc's box ~ pi r^2.
    int dark = 0;
    const int r = static_cast<int>(l.largeDiscRadius) + 3;
    for (int y = static_cast<int>(l.largeDiscY) - r; y <= l.largeDiscY + r; ++y) {
        for (int x = static_cast<int>(l.largeDiscX) - r; x <= l.largeDiscX + r; ++x) {
            dark += Green(frame, 640, 480, x, y) < 75;
        }
    }
    const double area = std::numbers::pi * l.largeDiscRadius * l.largeDiscRadius;
    EXPECT_NEAR(dark, area, area * 0.03);

    // The scale bar: dark exactly between its ends on its middle row.
    const int barY = (l.barTop + l.barBottom) / 2;
    EXPECT_LT(Green(frame, 640, 480, l.barLeft, barY), 40);
    EXPECT_LT(Green(frame, 640, 480, l.barRight - 1, barY), 40);
    EXPECT_GT(Green(frame, 640, 480, l.barLeft - 2, barY), 100);
    EXPECT_GT(Green(frame, 640, 480, l.barRight + 1, barY), 100);

    // Along the first triangle edge, just inside is darker than just outside.
    const double a = l.edgeAngle1Deg * std::numbers::pi / 180;
    const double mx = l.apexX + 0.5 * l.edgeLength * std::cos(a);
    const double my = l.apexY - 0.5 * l.edgeLength * std::sin(a);
    const double nx = std::sin(a), ny = std::cos(a);  // normal pointing away (screen y down)
    EXPECT_LT(Green(frame, 640, 480, static_cast<int>(mx - 4 * nx), static_cast<int>(my - 4 * ny)),
              110);
    EXPECT_GT(Green(frame, 640, 480, static_cast<int>(mx + 4 * nx), static_cast<int>(my + 4 * ny)),
              130);
}

TEST(VirtualMicroscope, SpecimenDriftsFromFrameToFrame) {
    VirtualMicroscope scope;
    ASSERT_TRUE(scope.Open(scope.ListDevices().at(0)));
    StreamFormat applied;
    ASSERT_TRUE(scope.SetFormat({320, 240, 333333}, applied));
    int dx0, dy0, dx1, dy1;
    scope.OffsetAt(0, dx0, dy0);
    scope.OffsetAt(45, dx1, dy1);
    EXPECT_EQ(dx0, 0);
    EXPECT_NE(dx1, 0);
    EXPECT_LE(std::abs(dx1), scope.Margin());
    for (std::uint64_t i = 0; i < 30 * 30; i += 7) {
        int dx, dy;
        scope.OffsetAt(i, dx, dy);
        ASSERT_LE(std::abs(dx), scope.Margin());
        ASSERT_LE(std::abs(dy), scope.Margin());
    }
}

// Drives the virtual microscope through the connection: frames arrive on its thread, the button
// becomes a snapshot, unplug ends the stream and replug brings it back.
TEST(VirtualMicroscope, StreamsButtonUnplugAndReplugThroughTheConnection) {
    // Declared first: the capture thread uses them until the connection below is gone.
    std::mutex m;
    std::condition_variable cv;
    int snapshots = 0;
    bool lost = false;
    VirtualMicroscope scope;
    test::FakeTimer timer;
    FramePipeline pipeline;
    CameraConnection connection(scope, pipeline, timer, {{}, {}, true});
    pipeline.SetHooks({[&](int s) {
                           std::lock_guard l(m);
                           snapshots += s == kSnapshotByButton;
                           cv.notify_all();
                       },
                       [&] { cv.notify_all(); },
                       {}});
    connection.SetHooks({{}, {}, [&] {
                             std::lock_guard l(m);
                             lost = true;
                             cv.notify_all();
                         }});
    int hotplugs = 0;
    scope.SetHotplugHandler([&] { ++hotplugs; });
    ASSERT_TRUE(connection.ConnectCamera());
    EXPECT_EQ(connection.CaptureWidth(), 1600);
    const auto waitFor = [&](auto predicate) {
        std::unique_lock l(m);
        return cv.wait_for(l, std::chrono::seconds(10), predicate);
    };
    ASSERT_TRUE(waitFor([&] {
        pipeline.FrameTaken();
        return pipeline.FramesStored() >= 3;
    }));
    scope.PressButton();
    ASSERT_TRUE(waitFor([&] { return snapshots == 1; }));

    scope.Unplug();
    ASSERT_TRUE(waitFor([&] { return lost; }));
    connection.OnDeviceLost();
    EXPECT_FALSE(connection.Connected());
    EXPECT_FALSE(connection.ReconnectCamera());
    scope.Replug();
    EXPECT_EQ(hotplugs, 2);
    EXPECT_TRUE(connection.ReconnectCamera());
    EXPECT_EQ(pipeline.FramesDropped(), 0u);
}

}  // namespace
}  // namespace lensora
