#include "platform/camera_service.h"

#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include "capture/virtual_microscope.h"
#include "platform/linux/udev_devices.h"
#include "platform/linux/v4l2_source.h"
#include "platform/logind_watcher.h"

namespace lensora {

// Timer 1001 over a single-shot QTimer: Start restarts it, so a burst gives one attempt.
class CameraService::Timer : public ReconnectTimer {
  public:
    explicit Timer(QObject* owner) : timer_(new QTimer(owner)) {
        timer_->setSingleShot(true);
        timer_->setObjectName(QStringLiteral("timer1001"));
    }
    void Start(int milliseconds) override { timer_->start(milliseconds); }
    void Stop() override { timer_->stop(); }
    QTimer* Qt() const { return timer_; }

  private:
    QTimer* timer_;
};

CameraService::CameraService(Options options, QObject* parent) : QObject(parent) {
    if (options.demo) {
        auto demo = std::make_unique<VirtualMicroscope>();
        demo_ = demo.get();
        source_ = std::move(demo);
    } else {
        source_ = std::make_unique<V4l2Source>();
    }
    timer_ = std::make_unique<Timer>(this);
    connection_ = std::make_unique<CameraConnection>(
        *source_, pipeline_, *timer_,
        ConnectionOptions{options.capConfigPath, options.forcedPath, options.buttonEnabled});

    // Capture thread -> UI thread: queued calls; the pipeline's pending flag keeps at most one
    // frame wake-up in flight.
    QPointer<CameraService> self(this);
    pipeline_.SetHooks({[this](int source) {
                            QMetaObject::invokeMethod(
                                this, [this, source] { emit snapshotFrame(source); },
                                Qt::QueuedConnection);
                        },
                        [this] {
                            QMetaObject::invokeMethod(
                                this, [this] { emit frameReady(); }, Qt::QueuedConnection);
                        },
                        [this](const FrameInfo& frame) { recorder_.WriteFrame(frame); }});
    connection_->SetHooks({[this](bool connected) { emit connectionChanged(connected); },
                           [this] { emit deviceSetChanged(); },
                           [this] {
                               QMetaObject::invokeMethod(
                                   this, [this] { connection_->OnDeviceLost(); },
                                   Qt::QueuedConnection);
                           }});
    connect(timer_->Qt(), &QTimer::timeout, this, [this] { connection_->OnReconnectTimer(); });

    if (demo_ != nullptr) {
        demo_->SetHotplugHandler([this] {
            QMetaObject::invokeMethod(
                this, [this] { connection_->OnDeviceNodesChanged(); }, Qt::QueuedConnection);
        });
    } else {
        monitor_ = std::make_unique<UdevMonitor>(options.udevSource);
        if (monitor_->Valid()) {
            udevNotifier_ = new QSocketNotifier(monitor_->Fd(), QSocketNotifier::Read, this);
            connect(udevNotifier_, &QSocketNotifier::activated, this,
                    &CameraService::OnUdevReadable);
        }
    }
    logind_ = new LogindWatcher(this);
    connect(logind_, &LogindWatcher::resumed, this, [this] { connection_->OnResume(); });

    // Stalls (no frame for 3 s) and losses the capture thread reported are checked here too.
    pollTimer_ = new QTimer(this);
    pollTimer_->setInterval(500);
    connect(pollTimer_, &QTimer::timeout, this, [this] { connection_->Poll(); });
    pollTimer_->start();
}

CameraService::~CameraService() {
    // Stop the stream before the hooks' target goes away.
    connection_->Teardown();
    if (demo_ != nullptr) {
        demo_->SetHotplugHandler({});
    }
}

bool CameraService::Connect() {
    return connection_->ConnectCamera();
}

bool CameraService::TakeFrame(FrameCopy& out) {
    pipeline_.FrameTaken();
    return pipeline_.Store().CopyLatest(out);
}

void CameraService::OnUdevReadable() {
    if (monitor_->DrainDeviceChanges()) {
        connection_->OnDeviceNodesChanged();
    }
}

}  // namespace lensora
