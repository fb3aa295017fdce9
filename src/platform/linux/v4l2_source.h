// The USB camera over V4L2 (through libv4l2, which converts YUYV and MJPEG to BGR24): opens a
// capture node, probes its sensor class, negotiates BGR24, and streams four memory-mapped
// buffers on its own capture thread. The thread polls with a timeout, so a device that stops
// sending is noticed by the caller's stall check and a stop request is never missed; only
// ENODEV or POLLERR/POLLHUP end the stream as "lost". The snapshot button (evdev) is polled by
// the same thread. Plain C++, no Qt. Controlled from one thread; callbacks on the capture thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "capture/frame_source.h"
#include "platform/linux/v4l2_io.h"

namespace lensora {

class EvdevButton;

class V4l2Source : public FrameSource {
  public:
    using DeviceLister = std::function<std::vector<CameraDeviceInfo>()>;
    static constexpr int kBufferCount = 4;
    static constexpr int kPollTimeoutMs = 200;

    // Without a lister, devices come from udev.
    explicit V4l2Source(const V4l2Io& io = LibV4l2Io(), DeviceLister lister = {});
    ~V4l2Source() override;

    std::vector<CameraDeviceInfo> ListDevices() override;
    bool IsPresent(const std::string& identity) override;
    bool Open(const CameraDeviceInfo& device) override;
    SensorProbe ProbeSensor() override;
    bool HasButton() override;
    bool SetFormat(const StreamFormat& asked, StreamFormat& applied) override;
    bool Start(SourceCallbacks callbacks) override;
    void Stop() override;
    void Close() override;

    // Chooses the device's video input (an HDMI input of a test device, say).
    bool SelectInput(int index);
    // A control's value (V4L2_CID_BRIGHTNESS ...); nullopt when the device lacks it.
    std::optional<int> Control(std::uint32_t id);
    bool SetControl(std::uint32_t id, int value);

    // The picture controls over VIDIOC_QUERYCTRL / G_CTRL / S_CTRL; a disabled control counts
    // as missing.
    std::optional<ControlRange> QueryPictureControl(PictureControl c) override;
    std::optional<int> PictureControlValue(PictureControl c) override;
    bool SetPictureControl(PictureControl c, int value) override;

    // Frames the device delivered damaged or empty, dropped here.
    std::uint64_t FramesDropped() const { return dropped_.load(); }
    std::size_t BytesPerLine() const { return bytesPerLine_; }
    int Fd() const { return fd_; }

  private:
    struct Buffer {
        void* start = nullptr;
        std::size_t length = 0;
    };
    void Run();
    void ReleaseBuffers();
    // The device's own format behind libv4l2's conversion: fourcc as stored and its depth.
    std::pair<std::uint32_t, int> NativeFormat();

    const V4l2Io& io_;
    DeviceLister lister_;
    int fd_ = -1;
    int wakeFd_ = -1;
    int width_ = 0;
    int height_ = 0;
    std::size_t bytesPerLine_ = 0;
    std::vector<Buffer> buffers_;
    bool streaming_ = false;
    std::unique_ptr<EvdevButton> button_;
    SourceCallbacks callbacks_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> dropped_{0};
};

}  // namespace lensora
