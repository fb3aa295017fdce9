// A frame source for tests: a device list the test edits, scripted refusals, and frames pushed
// by the test on its own thread through the callbacks Start received.
#pragma once

#include <algorithm>
#include <vector>

#include "capture/camera_connection.h"
#include "capture/frame_source.h"

namespace lensora::test {

inline CameraDeviceInfo UsbCamera(std::string path, std::string hardwareId, std::string identity) {
    return {std::move(path), "Camera " + identity, std::move(hardwareId), std::move(identity)};
}

class FakeFrameSource : public FrameSource {
  public:
    std::vector<CameraDeviceInfo> devices;
    SensorProbe probe{true, true, 333333};
    bool hasButton = false;
    bool openFails = false;  // e.g. EBUSY
    int refuseFormats = 0;   // how many SetFormat calls fail before one succeeds
    bool startFails = false;
    std::vector<StreamFormat> formatsAsked;
    std::string openedIdentity;
    int opens = 0, starts = 0, stops = 0, closes = 0;
    bool running = false;
    SourceCallbacks callbacks;

    std::vector<CameraDeviceInfo> ListDevices() override { return devices; }
    bool IsPresent(const std::string& identity) override {
        return std::any_of(devices.begin(), devices.end(),
                           [&](const CameraDeviceInfo& d) { return d.identity == identity; });
    }
    bool Open(const CameraDeviceInfo& device) override {
        if (openFails || !IsPresent(device.identity)) {
            return false;
        }
        ++opens;
        openedIdentity = device.identity;
        return true;
    }
    SensorProbe ProbeSensor() override { return probe; }
    bool HasButton() override { return hasButton; }
    bool SetFormat(const StreamFormat& asked, StreamFormat& applied) override {
        formatsAsked.push_back(asked);
        if (refuseFormats > 0) {
            --refuseFormats;
            return false;
        }
        applied = asked;
        return true;
    }
    bool Start(SourceCallbacks cb) override {
        if (startFails) {
            return false;
        }
        ++starts;
        callbacks = std::move(cb);
        running = true;
        return true;
    }
    void Stop() override {
        ++stops;
        running = false;
    }
    void Close() override {
        ++closes;
        openedIdentity.clear();
    }

    // Simulates a frame of the given size (BGR, bottom-up).
    void PushFrame(int width, int height, std::uint8_t fill = 0x40, std::size_t length = 0) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height * 3, fill);
        FrameInfo f;
        f.bytes = bytes.data();
        f.length = length == 0 ? bytes.size() : length;
        f.width = width;
        f.height = height;
        callbacks.frame(f);
    }
    void Unplug(const std::string& identity) {
        std::erase_if(devices, [&](const CameraDeviceInfo& d) { return d.identity == identity; });
        if (running && openedIdentity == identity) {
            running = false;
            callbacks.lost();
        }
    }
};

// Timer 1001 as a test sees it: Start arms it for a deadline on a manual clock.
class FakeTimer : public ReconnectTimer {
  public:
    std::int64_t now = 0;
    std::int64_t deadline = -1;  // -1: stopped
    int lastInterval = 0;
    int starts = 0;
    void Start(int ms) override {
        deadline = now + ms;
        lastInterval = ms;
        ++starts;
    }
    void Stop() override { deadline = -1; }
    // Advances the clock; true when the timer fired in that time (the owner then calls
    // OnReconnectTimer).
    bool Advance(std::int64_t ms) {
        now += ms;
        return deadline >= 0 && now >= deadline;
    }
};

}  // namespace lensora::test
