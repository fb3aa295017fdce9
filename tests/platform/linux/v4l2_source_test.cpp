// The V4L2 camera against a fake device behind the system-call table: format negotiation, the
// sensor probe, and the stream's handling of damaged frames and of a vanished device.
#include "platform/linux/v4l2_source.h"

#include "capture/proc_amp_table.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>
#include <sys/mman.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace lensora {
namespace {

// What one DQBUF returns.
struct Dequeue {
    int error = 0;  // errno to fail with, 0 for success
    std::uint32_t bytesused = 0;
    std::uint32_t flags = 0;
    short pollEvents = POLLIN;
};

struct FakeDevice {
    int openErrno = 0;
    std::uint32_t fmtPixelFormat = V4L2_PIX_FMT_BGR24;  // what S_FMT answers with
    std::uint32_t maxWidth = 1280, maxHeight = 1024;
    bool stepwiseSizes = false;
    bool sFmtFails = false;
    int brightness = 10;
    bool controlBusy = false;
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> memory[4];
    std::mutex mutex;
    std::deque<Dequeue> script;
    // Touched by the capture thread too.
    std::atomic<int> queued{0}, streamOns{0}, closes{0}, unmaps{0};
    std::atomic<std::uint32_t> next{0};
};
FakeDevice* device = nullptr;

int FakeOpen(const char*, int) {
    if (device->openErrno != 0) {
        errno = device->openErrno;
        return -1;
    }
    return 42;
}
int FakeClose(int) {
    return ++device->closes, 0;
}
int FakeIoctl(int, unsigned long request, void* arg) {
    FakeDevice& d = *device;
    switch (request) {
        case VIDIOC_QUERYCAP: {
            auto* cap = static_cast<v4l2_capability*>(arg);
            cap->capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
            return 0;
        }
        case VIDIOC_ENUM_FMT: {
            auto* f = static_cast<v4l2_fmtdesc*>(arg);
            if (f->index > 1)
                break;
            f->pixelformat = f->index == 0 ? V4L2_PIX_FMT_MJPEG : V4L2_PIX_FMT_YUYV;
            return 0;
        }
        case VIDIOC_ENUM_FRAMESIZES: {
            auto* s = static_cast<v4l2_frmsizeenum*>(arg);
            if (d.stepwiseSizes) {
                if (s->index > 0)
                    break;
                s->type = V4L2_FRMSIZE_TYPE_STEPWISE;
                s->stepwise = {16, 1920, 8, 16, 1200, 8};
                return 0;
            }
            if (s->index > 1)
                break;
            s->type = V4L2_FRMSIZE_TYPE_DISCRETE;
            s->discrete =
                s->index == 0 ? v4l2_frmsize_discrete{640, 480} : v4l2_frmsize_discrete{1280, 1024};
            return 0;
        }
        case VIDIOC_S_FMT: {
            if (d.sFmtFails)
                break;
            auto& pix = static_cast<v4l2_format*>(arg)->fmt.pix;
            pix.width = std::min(pix.width, d.maxWidth);
            pix.height = std::min(pix.height, d.maxHeight);
            pix.pixelformat = d.fmtPixelFormat;
            pix.bytesperline = pix.width * 3 + 16;  // padded rows
            d.width = pix.width;
            d.height = pix.height;
            return 0;
        }
        case VIDIOC_G_PARM:
        case VIDIOC_S_PARM: {
            auto& tpf = static_cast<v4l2_streamparm*>(arg)->parm.capture.timeperframe;
            tpf = {1, 30};
            return 0;
        }
        case VIDIOC_QUERYCTRL: {
            auto* q = static_cast<v4l2_queryctrl*>(arg);
            if (q->id == V4L2_CID_BRIGHTNESS) {
                q->minimum = -10, q->maximum = 50, q->step = 2, q->default_value = 0;
                return 0;
            }
            if (q->id == V4L2_CID_GAMMA) {  // present but switched off by the driver
                q->flags = V4L2_CTRL_FLAG_DISABLED;
                return 0;
            }
            break;
        }
        case VIDIOC_G_CTRL: {
            auto* c = static_cast<v4l2_control*>(arg);
            if (c->id != V4L2_CID_BRIGHTNESS)
                break;
            c->value = d.brightness;
            return 0;
        }
        case VIDIOC_S_CTRL: {
            auto* c = static_cast<v4l2_control*>(arg);
            if (d.controlBusy) {
                errno = EBUSY;
                return -1;
            }
            if (c->id != V4L2_CID_BRIGHTNESS || c->value < -10 || c->value > 50)
                break;
            d.brightness = c->value;
            return 0;
        }
        case VIDIOC_REQBUFS:
            return 0;
        case VIDIOC_QUERYBUF: {
            auto* b = static_cast<v4l2_buffer*>(arg);
            b->length = (d.width * 3 + 16) * d.height;
            d.memory[b->index].assign(b->length, static_cast<std::uint8_t>(b->index));
            b->m.offset = b->index;
            return 0;
        }
        case VIDIOC_QBUF:
            return ++d.queued, 0;
        case VIDIOC_STREAMON:
            return ++d.streamOns, 0;
        case VIDIOC_STREAMOFF:
            return 0;
        case VIDIOC_DQBUF: {
            std::lock_guard lock(d.mutex);
            if (d.script.empty()) {
                errno = EAGAIN;
                return -1;
            }
            const Dequeue q = d.script.front();
            d.script.pop_front();
            if (q.error != 0) {
                errno = q.error;
                return -1;
            }
            auto* b = static_cast<v4l2_buffer*>(arg);
            b->index = d.next++ % 4;
            b->bytesused = q.bytesused;
            b->flags = q.flags;
            b->timestamp = {5, 250};
            return 0;
        }
        default:
            break;
    }
    errno = EINVAL;
    return -1;
}
void* FakeMmap(void*, std::size_t, int, int, int, std::int64_t offset) {
    return device->memory[offset].data();
}
int FakeMunmap(void*, std::size_t) {
    return ++device->unmaps, 0;
}
int FakePoll(pollfd* fds, nfds_t count, int) {
    {
        std::lock_guard lock(device->mutex);
        if (!device->script.empty()) {
            fds[0].revents = device->script.front().pollEvents;
            if (fds[0].revents != POLLIN) {
                device->script.pop_front();
            }
            return 1;
        }
    }
    fds[0].revents = 0;
    return ::poll(fds + 1, count - 1, 5);
}
const V4l2Io kFakeIo{FakeOpen, FakeClose, FakeIoctl, FakeMmap, FakeMunmap, FakePoll};

class V4l2SourceTest : public ::testing::Test {
  protected:
    void SetUp() override { device = &fake; }
    void TearDown() override { device = nullptr; }
    V4l2Source MakeSource() {
        return V4l2Source(kFakeIo, [] {
            return std::vector<CameraDeviceInfo>{{"/dev/video0", "Fake", "", "usb-1", ""}};
        });
    }
    FakeDevice fake;
};

TEST_F(V4l2SourceTest, NegotiatesBgr24AndTakesTheAdjustedSize) {
    V4l2Source source(kFakeIo, [] { return std::vector<CameraDeviceInfo>{}; });
    ASSERT_TRUE(source.Open({"/dev/video0", "", "", "usb-1", ""}));
    StreamFormat applied;
    ASSERT_TRUE(source.SetFormat({1600, 1200, 666666}, applied));
    EXPECT_EQ(applied.width, 1280);
    EXPECT_EQ(applied.height, 1024);
    EXPECT_EQ(applied.frameInterval100ns, 333333);  // the device keeps its own rate
    EXPECT_EQ(source.BytesPerLine(), 1280u * 3 + 16);
    EXPECT_FALSE(source.HasButton());

    fake.fmtPixelFormat = V4L2_PIX_FMT_YUYV;  // no conversion possible: refused
    EXPECT_FALSE(source.SetFormat({640, 480, 0}, applied));
    fake.fmtPixelFormat = V4L2_PIX_FMT_BGR24;
    fake.sFmtFails = true;
    EXPECT_FALSE(source.SetFormat({640, 480, 0}, applied));
}

TEST_F(V4l2SourceTest, PictureControlsNativeFormatAndRefusals) {
    V4l2Source source = MakeSource();
    EXPECT_FALSE(source.QueryPictureControl(PictureControl::Brightness));  // nothing open
    ASSERT_TRUE(source.Open(source.ListDevices().at(0)));
    StreamFormat applied;
    ASSERT_TRUE(source.SetFormat({640, 480, 666666}, applied));
    // The camera offers MJPEG first and YUYV second: the stored format describes YUY2.
    EXPECT_EQ(applied.nativeFourCc, 0x32595559u);  // "YUY2"
    EXPECT_EQ(applied.nativeBitCount, 16);

    const auto range = source.QueryPictureControl(PictureControl::Brightness);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->minimum, -10);
    EXPECT_EQ(range->maximum, 50);
    EXPECT_EQ(range->step, 2);
    EXPECT_FALSE(source.QueryPictureControl(PictureControl::Gamma));      // disabled
    EXPECT_FALSE(source.QueryPictureControl(PictureControl::Sharpness));  // missing

    ProcAmpTable table(source);
    table.Load();
    EXPECT_EQ(table.ValueText(0), " 10");
    EXPECT_EQ(table.ValueText(4), "N/A");
    EXPECT_EQ(table.Step(0, +1), 12);
    EXPECT_EQ(fake.brightness, 12);
    fake.controlBusy = true;  // EBUSY: the row keeps what the device holds
    EXPECT_EQ(table.Set(0, 40), 12);
    fake.controlBusy = false;
    fake.brightness = 30;  // changed behind our back, then a value the driver rejects
    EXPECT_EQ(table.Set(0, 60), 50);
    EXPECT_EQ(table.Set(0, 51), 50);
}

TEST_F(V4l2SourceTest, SensorClassFromDiscreteAndStepwiseSizes) {
    V4l2Source source = MakeSource();
    ASSERT_TRUE(source.Open(source.ListDevices().at(0)));
    SensorProbe probe = source.ProbeSensor();
    EXPECT_TRUE(probe.anyYuvFormat);
    EXPECT_FALSE(probe.yuv1600x1200);
    EXPECT_EQ(probe.currentInterval100ns, 333333);
    fake.stepwiseSizes = true;
    EXPECT_TRUE(source.ProbeSensor().yuv1600x1200);
}

TEST_F(V4l2SourceTest, BusyOrVanishedNodeDoesNotOpen) {
    fake.openErrno = EBUSY;
    V4l2Source source = MakeSource();
    EXPECT_FALSE(source.Open(source.ListDevices().at(0)));
    EXPECT_TRUE(source.IsPresent("usb-1"));
    EXPECT_FALSE(source.IsPresent("usb-2"));
    StreamFormat applied;
    EXPECT_FALSE(source.SetFormat({640, 480, 0}, applied));
    EXPECT_FALSE(source.Start({}));
}

// One stream: good frames arrive top-down with the padded stride and the driver's timestamp;
// damaged ones are dropped; ENODEV ends the stream with one "lost".
TEST_F(V4l2SourceTest, StreamDropsDamagedFramesAndReportsLossOnce) {
    V4l2Source source = MakeSource();
    ASSERT_TRUE(source.Open(source.ListDevices().at(0)));
    StreamFormat applied;
    ASSERT_TRUE(source.SetFormat({64, 48, 0}, applied));
    const std::uint32_t full = (64 * 3 + 16) * 48;
    fake.script = {{0, full, 0},      {EIO, 0, 0},   {0, 0, 0}, {0, full, V4L2_BUF_FLAG_ERROR},
                   {0, full - 16, 0}, {ENODEV, 0, 0}};
    std::mutex m;
    std::condition_variable cv;
    std::vector<FrameInfo> frames;
    int lost = 0;
    SourceCallbacks callbacks;
    callbacks.frame = [&](const FrameInfo& f) {
        std::lock_guard l(m);
        frames.push_back(f);
    };
    callbacks.lost = [&] {
        std::lock_guard l(m);
        ++lost;
        cv.notify_all();
    };
    ASSERT_TRUE(source.Start(callbacks));
    EXPECT_GE(fake.queued, 4);  // all four buffers, then each one dequeued goes back
    {
        std::unique_lock l(m);
        ASSERT_TRUE(cv.wait_for(l, std::chrono::seconds(10), [&] { return lost > 0; }));
    }
    source.Stop();
    EXPECT_EQ(lost, 1);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].topDown);
    EXPECT_EQ(frames[0].stride, 64u * 3 + 16);
    EXPECT_EQ(frames[0].sampleTime, 5 * 10'000'000LL + 2500);
    EXPECT_EQ(frames[1].length, full - 16);  // short: the frame pipeline decides
    EXPECT_EQ(source.FramesDropped(), 3u);
    EXPECT_EQ(fake.unmaps, 4);
}

TEST_F(V4l2SourceTest, HangUpEndsTheStreamAndStopIsPrompt) {
    V4l2Source source = MakeSource();
    ASSERT_TRUE(source.Open(source.ListDevices().at(0)));
    StreamFormat applied;
    ASSERT_TRUE(source.SetFormat({32, 24, 0}, applied));
    std::atomic<int> lost{0};
    SourceCallbacks callbacks;
    callbacks.lost = [&] { ++lost; };
    // No frames at all: Stop must not wait for one.
    ASSERT_TRUE(source.Start(callbacks));
    source.Stop();
    EXPECT_EQ(lost.load(), 0);

    fake.script = {{0, 0, 0, POLLERR | POLLHUP}};
    ASSERT_TRUE(source.Start(callbacks));
    for (int i = 0; i < 1000 && lost.load() == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    source.Close();
    EXPECT_EQ(lost.load(), 1);
    EXPECT_GE(fake.closes, 1);
}

}  // namespace
}  // namespace lensora
