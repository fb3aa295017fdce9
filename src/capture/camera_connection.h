// The camera connection: the graph states (none, built, prepared, running) of the selected
// device, the first connection attempt, the guarded reconnection and its triggers (device
// notifications debounced by timer 1001, removal, resume, a stalled stream). Runs on the
// controlling (user-interface) thread; only the source's callbacks run on the capture thread,
// and they reach this class through the frame pipeline and an atomic "device lost" flag.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "capture/camera_selection.h"
#include "capture/capture_format.h"
#include "capture/frame_pipeline.h"
#include "capture/frame_source.h"

namespace lensora {

class PictureMemory;

// The single-shot reconnection timer (timer 1001). Start restarts it when it runs already.
class ReconnectTimer {
  public:
    virtual ~ReconnectTimer() = default;
    virtual void Start(int milliseconds) = 0;
    virtual void Stop() = 0;
};

enum class GraphState { None, Built, Prepared, Running };

struct ConnectionOptions {
    std::string capConfigPath;   // empty: no stored format, the default applies
    std::string forcedPath;      // "--camera /dev/videoN": use this device whatever its identifier
    bool buttonEnabled = false;  // IsEnableSnap
};

struct ConnectionHooks {
    // After every attempt: true when a camera is connected and running.
    std::function<void(bool connected)> connectionChanged;
    // The device set may have changed (the video settings dialog refills itself).
    std::function<void()> deviceSetChanged;
    // Capture thread: the stream ended because the device is gone. The owner arranges for
    // OnDeviceLost to run on the controlling thread. Without it, Poll notices the loss.
    std::function<void()> lostFromCaptureThread;
};

class CameraConnection {
  public:
    static constexpr int kReconnectTimerId = 1001;
    static constexpr int kDebounceMs = 1000;
    static constexpr int kRetryAfterPrepareMs = 100;
    static constexpr int kStallMs = 3000;

    CameraConnection(FrameSource& source, FramePipeline& pipeline, ReconnectTimer& timer,
                     ConnectionOptions options);
    ~CameraConnection();

    void SetHooks(ConnectionHooks hooks) { hooks_ = std::move(hooks); }
    // Picture properties remembered per camera are set again whenever a camera is opened.
    // Not owned; null for none.
    void SetPictureMemory(PictureMemory* memory) { pictureMemory_ = memory; }

    // The first attempt at start-up. True when connected.
    bool ConnectCamera();
    // Under the connection lock: stays connected when the running camera is still present,
    // otherwise tears down and connects afresh. True when connected afterwards.
    bool ReconnectCamera();

    // Triggers.
    void OnDeviceNodesChanged();  // (re)starts the 1000 ms timer: a burst gives one attempt
    void OnReconnectTimer();      // the timer fired
    void OnResume();              // the computer woke up: Teardown, then reconnect
    void OnDeviceLost();          // the stream ended because the device went away
    // Called about once a second: handles a loss reported from the capture thread, and a
    // stream without frames for 3 s (Restart once, then the camera counts as gone).
    void Poll();

    bool SelectCamera(int index);
    bool Restart();
    void Teardown();
    // Records the capture size, stops the stream, applies the size, writes CapConfig.dat from
    // what the device applied, prepares again and restarts the stream if it ran. False without
    // an opened camera or when the device refuses the size; a refused size gives the default
    // format for this run. A CapConfig.dat that cannot be written is skipped: the applied
    // format then holds until the program ends.
    bool SetResolution(int width, int height);
    // Step 0, 1 or 2 of the sensor class (F10, F11, F12).
    bool ApplyResolutionStep(int step);

    // Records IsEnableSnap and rebuilds the grabbers, restarting the stream if it ran.
    void SetCameraButton(bool enabled);

    bool Connected() const { return connected_; }
    GraphState State() const { return state_; }
    const CameraDeviceList& Devices() const { return devices_; }
    // The device in use, or null.
    const CameraDeviceInfo* SelectedDevice() const;
    FrameSource& Source() { return source_; }
    bool LargeSensor() const { return largeSensor_; }
    bool HasButton() const { return hasButton_; }
    int CaptureWidth() const { return captureWidth_; }
    int CaptureHeight() const { return captureHeight_; }
    int RecordingRate() const { return recordingRate_; }
    int ReconnectAttempts() const { return attempts_; }

  private:
    bool BuildGraph();
    bool PrepareGraph();
    bool StartPreview();
    void StopPreview();
    void ReleaseGrabbers();
    void ReleaseGraph();
    bool ConnectSelected();
    void MarkConnected(bool connected);

    FrameSource& source_;
    FramePipeline& pipeline_;
    ReconnectTimer& timer_;
    ConnectionOptions options_;
    ConnectionHooks hooks_;
    PictureMemory* pictureMemory_ = nullptr;
    // The format to prepare with instead of CapConfig.dat for the rest of the run: set when a
    // size was applied but the file could not be written, or the default after a refusal.
    std::optional<VideoFormatBlock> sessionFormat_;
    std::int64_t deviceInterval100ns_ = 333333;
    std::mutex connectionLock_;
    CameraDeviceList devices_;
    GraphState state_ = GraphState::None;
    bool connected_ = false;
    bool largeSensor_ = true;
    bool hasButton_ = false;
    int captureWidth_ = 0;
    int captureHeight_ = 0;
    int recordingRate_ = 5;
    int attempts_ = 0;
    std::int64_t runningSinceMs_ = 0;
    bool stallRestarted_ = false;
    std::atomic<bool> lostPending_{false};
};

}  // namespace lensora
