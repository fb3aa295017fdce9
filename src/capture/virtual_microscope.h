// The virtual microscope: a frame source without hardware. It shows a photo-like specimen that
// drifts slowly under the lens: a textured beige ground, two dark discs of known radius, a dark
// triangle whose two long edges lie at known angles, a scale bar of known length, and sensor
// noise. Sizes 320x240 .. 1600x1200 at 15 or 30 frames per second, produced on its own thread.
// The camera button can be pressed and the cable pulled and plugged back on demand (from any
// thread). The specimen is drawn once per size; a frame is a shifted copy plus noise, so the
// source costs little CPU and allocates nothing per frame.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "capture/frame_source.h"

namespace lensora {

// Where the known features lie in a frame of the given size, when the specimen is not shifted
// (frame pixels, y down from the top row of the picture).
struct SpecimenLayout {
    int width = 0;
    int height = 0;
    double largeDiscX = 0, largeDiscY = 0, largeDiscRadius = 0;
    double smallDiscX = 0, smallDiscY = 0, smallDiscRadius = 0;
    // The triangle: apex and the angles of its two long edges, counter-clockwise from the
    // positive x axis as seen on screen (y up), and their length.
    double apexX = 0, apexY = 0, edgeAngle1Deg = 20, edgeAngle2Deg = 75, edgeLength = 0;
    // Scale bar: an axis-aligned box, left/top inclusive, right/bottom exclusive.
    int barLeft = 0, barTop = 0, barRight = 0, barBottom = 0;
    std::uint8_t darkLevel = 40;     // discs and bar (green channel)
    std::uint8_t groundLevel = 170;  // mean ground (green channel)
};

SpecimenLayout SpecimenLayoutFor(int width, int height);

class VirtualMicroscope : public FrameSource {
  public:
    static constexpr const char* kPath = "virtual:microscope";
    static constexpr const char* kIdentity = "virtual-microscope";

    explicit VirtualMicroscope(bool largeSensor = true);
    ~VirtualMicroscope() override;

    std::vector<CameraDeviceInfo> ListDevices() override;
    bool IsPresent(const std::string& identity) override;
    bool Open(const CameraDeviceInfo& device) override;
    SensorProbe ProbeSensor() override;
    bool HasButton() override { return true; }
    bool SetFormat(const StreamFormat& asked, StreamFormat& applied) override;
    bool Start(SourceCallbacks callbacks) override;
    void Stop() override;
    void Close() override;
    // Brightness (with an automatic switch), contrast, saturation, gamma and hue; no
    // sharpness. The values survive unplugging, as a camera's own memory would.
    std::optional<ControlRange> QueryPictureControl(PictureControl c) override;
    std::optional<int> PictureControlValue(PictureControl c) override;
    bool SetPictureControl(PictureControl c, int value) override;
    // Makes the device refuse every value of a control, as a busy driver would.
    void SetControlRefused(PictureControl c, bool refused);
    // Forgets every control value (a camera that lost power).
    void ResetControls() {
        std::lock_guard lock(controlMutex_);
        controls_.clear();
    }

    // Simulated hardware. The hot-plug handler (if set) hears of every unplug and replug, as
    // a device monitor would; it is called on the caller's thread.
    void PressButton() { buttonPending_.store(true); }
    void Unplug();
    void Replug();
    void SetHotplugHandler(std::function<void()> handler);
    // Stops producing frames while the device stays present (a stalled camera).
    void SetStalled(bool stalled) { stalled_.store(stalled); }

    // Renders frame `index` (bottom-up BGR rows) into `out`, which holds width * height * 3
    // bytes of the current format. The capture thread uses it; benchmarks and tests may too.
    void RenderFrame(std::uint8_t* out, std::uint64_t index) const;
    // The specimen's shift at frame `index`, in frame pixels (x right, y down).
    void OffsetAt(std::uint64_t index, int& dx, int& dy) const;
    StreamFormat Format() const { return format_; }
    int Margin() const { return margin_; }

  private:
    void BuildSpecimen();
    void Run();

    const bool largeSensor_;
    StreamFormat format_{640, 480, 333333};
    int margin_ = 0;
    int specimenWidth_ = 0;
    int specimenHeight_ = 0;
    std::vector<std::uint8_t> specimen_;  // top-down BGR rows, values <= 248
    std::vector<std::uint8_t> noise_;     // 0..7, added to every byte
    std::vector<std::uint8_t> frame_;

    bool opened_ = false;
    std::atomic<bool> present_{true};
    std::atomic<bool> buttonPending_{false};
    std::atomic<bool> stalled_{false};
    std::mutex hotplugMutex_;
    std::function<void()> hotplug_;

    std::mutex controlMutex_;
    std::map<PictureControl, int> controls_;
    std::set<PictureControl> refused_;

    SourceCallbacks callbacks_;
    std::thread thread_;
    std::mutex runMutex_;
    std::condition_variable wake_;
    bool stopRequested_ = false;
};

}  // namespace lensora
