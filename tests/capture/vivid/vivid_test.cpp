// Integration test against the kernel's vivid test driver, run inside a small virtual machine
// by scripts/test (vivid loaded with a webcam input 0 and an HDMI input 1). Drives the
// program's own V4L2 camera, udev enumeration and monitor, and frame pipeline.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <thread>

#include "capture/camera_connection.h"
#include "capture/capture_format.h"
#include "capture/frame_pipeline.h"
#include "capture/proc_amp_table.h"
#include "platform/linux/udev_devices.h"
#include "platform/linux/v4l2_source.h"

namespace lensora {
namespace {

using namespace std::chrono_literals;

CameraDeviceInfo VividDevice() {
    for (const CameraDeviceInfo& d : EnumerateVideoDevices()) {
        if (d.path == "/dev/video0") {
            return d;
        }
    }
    return {};
}

struct Stream {
    FramePipeline pipeline;
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::int64_t> times;
    int lost = 0;

    SourceCallbacks Callbacks() {
        SourceCallbacks c;
        c.frame = [this](const FrameInfo& f) {
            pipeline.OnFrame(f);
            std::lock_guard l(m);
            times.push_back(f.sampleTime);
            cv.notify_all();
        };
        c.lost = [this] {
            std::lock_guard l(m);
            ++lost;
            cv.notify_all();
        };
        return c;
    }
    template <typename P>
    bool WaitFor(P predicate, std::chrono::seconds limit = 20s) {
        std::unique_lock l(m);
        return cv.wait_for(l, limit, predicate);
    }
};

void StreamThirtyFrames(int input, int width, int height) {
    const CameraDeviceInfo device = VividDevice();
    ASSERT_FALSE(device.path.empty()) << "no /dev/video0 capture node";
    V4l2Source source;
    ASSERT_TRUE(source.Open(device));
    ASSERT_TRUE(source.SelectInput(input));
    StreamFormat applied;
    ASSERT_TRUE(source.SetFormat({width, height, 400000}, applied));  // 25 fps
    EXPECT_EQ(applied.width, width);
    EXPECT_EQ(applied.height, height);
    Stream stream;
    stream.pipeline.SetExpectedSize(applied.width, applied.height);
    ASSERT_TRUE(source.Start(stream.Callbacks()));
    ASSERT_TRUE(stream.WaitFor([&] { return stream.times.size() >= 30; }));
    source.Stop();
    EXPECT_EQ(stream.lost, 0);
    EXPECT_EQ(stream.pipeline.FramesDropped(), 0u);
    EXPECT_GE(stream.pipeline.FramesStored(), 30u);
    EXPECT_EQ(stream.pipeline.Store().Header(), FrameHeader(applied.width, applied.height));
    for (std::size_t i = 1; i < stream.times.size(); ++i) {
        EXPECT_GT(stream.times[i], stream.times[i - 1]) << "frame " << i;
    }
}

TEST(Vivid, WebcamInputStreamsBgr24At640x480) {
    StreamThirtyFrames(0, 640, 480);
}

TEST(Vivid, HdmiInputStreamsBgr24At1280x1024) {
    StreamThirtyFrames(1, 1280, 1024);
}

TEST(Vivid, EnumerationSeesOneCaptureNodeWithoutUsbIdentifiers) {
    const CameraDeviceInfo device = VividDevice();
    EXPECT_FALSE(device.friendlyName.empty());
    EXPECT_TRUE(device.hardwareId.empty());
    EXPECT_NE(device.identity.find("vivid"), std::string::npos) << device.identity;
    V4l2Source source;
    EXPECT_TRUE(source.IsPresent(device.identity));
}

TEST(Vivid, BrightnessAndContrastReadBack) {
    V4l2Source source;
    ASSERT_TRUE(source.Open(VividDevice()));
    // vivid keeps a brightness range per input; the webcam input has 0..255.
    ASSERT_TRUE(source.SelectInput(0));
    ASSERT_TRUE(source.SetControl(V4L2_CID_BRIGHTNESS, 100));
    ASSERT_TRUE(source.SetControl(V4L2_CID_CONTRAST, 90));
    EXPECT_EQ(source.Control(V4L2_CID_BRIGHTNESS), 100);
    EXPECT_EQ(source.Control(V4L2_CID_CONTRAST), 90);
    EXPECT_FALSE(source.Control(V4L2_CID_GAMMA));  // vivid has none: reported as missing
}

// The settings dialog's code path: the picture-property table lists what vivid offers and
// sets brightness; a resolution change restarts the stream and writes CapConfig.dat.
TEST(Vivid, PictureControlsAndResolutionThroughTheSettingsCode) {
    {
        V4l2Source source;
        ASSERT_TRUE(source.Open(VividDevice()));
        ASSERT_TRUE(source.SelectInput(0));
        ProcAmpTable table(source);
        table.Load();
        for (int row = 0; row < ProcAmpTable::kRows; ++row) {
            std::printf("control %s: %s\n", table.Row(row).captionKey.c_str(),
                        table.Row(row).available ? table.ValueText(row).c_str() : "missing");
        }
        EXPECT_TRUE(table.Row(0).available);   // brightness
        EXPECT_TRUE(table.Row(1).available);   // contrast
        EXPECT_TRUE(table.Row(2).available);   // saturation
        EXPECT_FALSE(table.Row(3).available);  // no sharpness
        EXPECT_FALSE(table.Row(4).available);  // no gamma
        EXPECT_TRUE(table.Row(5).available);   // hue
        EXPECT_EQ(table.Set(0, 77), 77);
        EXPECT_EQ(source.Control(V4L2_CID_BRIGHTNESS), 77);
        EXPECT_EQ(table.Step(0, +1), 78);
        EXPECT_EQ(table.Set(0, 100000), table.Row(0).range.maximum);  // clamped, not refused
        EXPECT_EQ(source.Control(V4L2_CID_BRIGHTNESS), table.Row(0).range.maximum);
        table.Default();
        EXPECT_EQ(source.Control(V4L2_CID_BRIGHTNESS), table.Row(0).range.defaultValue);
    }

    struct NoTimer : ReconnectTimer {
        void Start(int) override {}
        void Stop() override {}
    } timer;
    const std::string capConfig = "/tmp/CapConfig.dat";
    std::remove(capConfig.c_str());
    V4l2Source source;
    FramePipeline pipeline;
    CameraConnection connection(source, pipeline, timer, {capConfig, "/dev/video0", false});
    ASSERT_TRUE(connection.ConnectCamera());
    EXPECT_FALSE(connection.LargeSensor());  // the webcam input offers no 1600x1200

    ASSERT_TRUE(connection.SetResolution(640, 480));
    EXPECT_EQ(connection.State(), GraphState::Running);
    auto stored = ReadCapConfig(capConfig);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->width, 640);
    EXPECT_EQ(stored->height, 480);
    EXPECT_GT(stored->avgTimePerFrame, 0);
    EXPECT_NE(stored->compression, 0u);
    EXPECT_EQ(stored->bitRate, FormatBitRate(stored->avgTimePerFrame, stored->sizeImage));

    // F12 of a small sensor asks 1280x1024; the webcam input snaps to 1280x720.
    ASSERT_TRUE(connection.ApplyResolutionStep(2));
    EXPECT_EQ(connection.CaptureWidth(), 1280);
    EXPECT_EQ(connection.CaptureHeight(), 720);
    stored = ReadCapConfig(capConfig);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->height, 720);
    std::printf("stored format: %dx%d fourcc %08x %d bits, %u bytes, %lld x 100 ns per frame\n",
                stored->width, stored->height, stored->compression, stored->bitCount,
                stored->sizeImage, static_cast<long long>(stored->avgTimePerFrame));
    connection.Teardown();
}

bool WriteSys(const char* path, const char* text) {
    std::ofstream out(path);
    out << text;
    out.flush();
    return static_cast<bool>(out);
}

bool WaitForMonitor(UdevMonitor& monitor) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{monitor.Fd(), POLLIN, 0};
        if (poll(&p, 1, 200) > 0 && monitor.DrainDeviceChanges()) {
            return true;
        }
    }
    return false;
}

// Unbinding the driver while streaming acts like pulling the cable.
TEST(Vivid, UnbindWhileStreamingIsALossAndBindBringsItBack) {
    UdevMonitor monitor("kernel");
    ASSERT_TRUE(monitor.Valid());
    const CameraDeviceInfo device = VividDevice();
    {
        V4l2Source source;
        ASSERT_TRUE(source.Open(device));
        ASSERT_TRUE(source.SelectInput(0));
        StreamFormat applied;
        ASSERT_TRUE(source.SetFormat({640, 480, 400000}, applied));
        Stream stream;
        stream.pipeline.SetExpectedSize(applied.width, applied.height);
        ASSERT_TRUE(source.Start(stream.Callbacks()));
        ASSERT_TRUE(stream.WaitFor([&] { return stream.times.size() >= 3; }));
        ASSERT_TRUE(WriteSys("/sys/bus/platform/drivers/vivid/unbind", "vivid.0"));
        ASSERT_TRUE(stream.WaitFor([&] { return stream.lost > 0; }, 10s));
        source.Close();  // no hang on the vanished device
        EXPECT_EQ(stream.lost, 1);
    }
    EXPECT_TRUE(WaitForMonitor(monitor));
    EXPECT_TRUE(VividDevice().path.empty());
    EXPECT_FALSE(V4l2Source().IsPresent(device.identity));

    ASSERT_TRUE(WriteSys("/sys/bus/platform/drivers/vivid/bind", "vivid.0"));
    EXPECT_TRUE(WaitForMonitor(monitor));
    for (int i = 0; i < 50 && VividDevice().path.empty(); ++i) {
        std::this_thread::sleep_for(100ms);
    }
    V4l2Source source;
    EXPECT_TRUE(source.IsPresent(device.identity));
    ASSERT_TRUE(source.Open(VividDevice()));
    StreamFormat applied;
    ASSERT_TRUE(source.SetFormat({640, 480, 400000}, applied));
    Stream stream;
    stream.pipeline.SetExpectedSize(applied.width, applied.height);
    ASSERT_TRUE(source.Start(stream.Callbacks()));
    EXPECT_TRUE(stream.WaitFor([&] { return stream.times.size() >= 3; }));
}

}  // namespace
}  // namespace lensora

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
