// The camera as the capture logic sees it: a list of devices, and for the opened one its sensor
// class, format negotiation and a stream of frames delivered on the source's own thread. The
// V4L2 camera and the virtual microscope implement it; tests use a fake. Open, SetFormat,
// Start, Stop and Close are called on one controlling thread; the callbacks run on the
// source's capture thread and must not block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lensora {

// One video capture device as the system lists it.
struct CameraDeviceInfo {
    std::string path;          // e.g. "/dev/video0"; changes on replug
    std::string friendlyName;  // the card name the driver reports
    // "Vid_7a5e&Pid_0101" from the USB parent, empty for a device without one.
    std::string hardwareId;
    // What stays the same across replug: the USB parent's serial or sysfs path, else the
    // device's own sysfs path.
    std::string identity;
    // Where the system keeps the USB device the node belongs to (empty without one): its other
    // interfaces, such as the snapshot button, hang below it.
    std::string parentSysPath;
};

// One frame as the source hands it over. `bytes` stay valid during the callback only.
struct FrameInfo {
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;  // bytes delivered by the device
    int width = 0;
    int height = 0;
    std::size_t stride = 0;       // bytes per row; 0 means width * 3
    bool topDown = false;         // rows from the top (V4L2) or from the bottom (bitmap order)
    std::int64_t sampleTime = 0;  // device timestamp, 100 ns units
};

// What the format negotiation asks for and what the device accepted.
struct StreamFormat {
    int width = 0;
    int height = 0;
    std::int64_t frameInterval100ns = 0;  // 0: the device's current rate
    // The format the camera itself delivers before any conversion (a four-character code as
    // stored in CapConfig.dat, e.g. YUY2 or MJPG, and its bits per pixel); 0 when unknown.
    std::uint32_t nativeFourCc = 0;
    int nativeBitCount = 0;
};

// The picture controls of the video settings, and the automatic switches that belong to some
// of them.
enum class PictureControl {
    Brightness,
    Contrast,
    Saturation,
    Sharpness,
    Gamma,
    Hue,
    AutoBrightness,
    AutoHue,
};

// What the device reports for one control.
struct ControlRange {
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int defaultValue = 0;
    std::uint32_t flags = 0;  // the device's own capability flags, kept for display
};

// The sensor facts read from the device's offered formats.
struct SensorProbe {
    bool anyYuvFormat = false;  // some YUYV or UYVY size is offered
    bool yuv1600x1200 = false;  // that size is 1600 x 1200
    std::int64_t currentInterval100ns = 333333;
};

struct SourceCallbacks {
    std::function<void(const FrameInfo&)> frame;
    std::function<void()> button;  // the camera's own snapshot button was pressed
    // The device is gone (unplugged, or a fatal stream error). Called once per stream, on the
    // capture thread; the stream has already ended.
    std::function<void()> lost;
};

class FrameSource {
  public:
    virtual ~FrameSource() = default;

    virtual std::vector<CameraDeviceInfo> ListDevices() = 0;
    // Whether the device with this identity still exists.
    virtual bool IsPresent(const std::string& identity) = 0;

    // Opens the device; false when it vanished or another program holds it.
    virtual bool Open(const CameraDeviceInfo& device) = 0;
    virtual SensorProbe ProbeSensor() = 0;
    // Whether the device has its own snapshot button.
    virtual bool HasButton() = 0;
    // Applies a 24-bit BGR format of about the asked size; `applied` receives what the device
    // took. False when the device refuses it.
    virtual bool SetFormat(const StreamFormat& asked, StreamFormat& applied) = 0;
    virtual bool Start(SourceCallbacks callbacks) = 0;
    // Ends the stream and joins the capture thread; no callback runs after it returns.
    virtual void Stop() = 0;
    virtual void Close() = 0;

    // Picture controls of the opened device. A device without a control answers nullopt (the
    // defaults here: a source without any controls). SetPictureControl is false when the device
    // refuses the value (out of range, busy, unknown control).
    virtual std::optional<ControlRange> QueryPictureControl(PictureControl) { return std::nullopt; }
    virtual std::optional<int> PictureControlValue(PictureControl) { return std::nullopt; }
    virtual bool SetPictureControl(PictureControl, int) { return false; }
};

}  // namespace lensora
