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
#include <fstream>
#include <mutex>
#include <thread>

#include "capture/frame_pipeline.h"
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
