// The camera of the running program: owns the frame source (the V4L2 camera or the virtual
// microscope), the frame pipeline and the connection, and drives the connection's triggers on
// the UI thread: timer 1001 (a QTimer), udev's monitor (a QSocketNotifier), logind's wake-up and
// a once-a-second poll for stalls and losses. The capture thread only fills the frame store and
// posts one wake-up at a time; frames the UI has no time for are dropped, never queued.
// Also holds the live overlay state the preview draws with until the live view owns it.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "canvas/live_renderer.h"
#include "capture/avi_recorder.h"
#include "capture/camera_connection.h"
#include "capture/frame_pipeline.h"
#include "measure/record_lists.h"

class QSocketNotifier;
class QTimer;

namespace lensora {

class LogindWatcher;
class UdevMonitor;
class VirtualMicroscope;

// How the live overlays are scaled and labelled (the records, shapes and switches belong to the
// live session).
struct LiveOverlayState {
    RulerSettings ruler;
    ReferenceContext reference;
    LiveLabelStyle labels;
};

class CameraService : public QObject {
    Q_OBJECT
  public:
    struct Options {
        bool demo = false;       // the virtual microscope instead of the hardware
        std::string forcedPath;  // "--camera /dev/videoN"
        std::string capConfigPath;
        bool buttonEnabled = false;
        std::string udevSource = "udev";
    };

    explicit CameraService(Options options, QObject* parent = nullptr);
    ~CameraService() override;

    // The first connection attempt.
    bool Connect();

    // Copies the newest frame into `out` and allows the next wake-up. False when none is new.
    bool TakeFrame(FrameCopy& out);

    CameraConnection& Connection() { return *connection_; }
    FramePipeline& Pipeline() { return pipeline_; }
    LiveOverlayState& Overlays() { return overlays_; }
    // The recording: every stored frame is handed to it on the capture thread while it is open.
    AviRecorder& Recorder() { return recorder_; }
    // The virtual microscope when running with --demo-camera, else null.
    VirtualMicroscope* Demo() { return demo_; }

  signals:
    void frameReady();
    void connectionChanged(bool connected);
    void deviceSetChanged();
    // A snapshot was requested and the frame is ready (source: 0 program, 1 camera button).
    void snapshotFrame(int source);

  private:
    class Timer;
    void OnUdevReadable();

    // Declared first so it outlives the stream; the destructor stops the stream before closing it.
    AviRecorder recorder_;
    FramePipeline pipeline_;
    std::unique_ptr<FrameSource> source_;
    VirtualMicroscope* demo_ = nullptr;
    std::unique_ptr<Timer> timer_;
    std::unique_ptr<CameraConnection> connection_;
    std::unique_ptr<UdevMonitor> monitor_;
    QSocketNotifier* udevNotifier_ = nullptr;
    QTimer* pollTimer_ = nullptr;
    LogindWatcher* logind_ = nullptr;
    LiveOverlayState overlays_;
};

}  // namespace lensora
