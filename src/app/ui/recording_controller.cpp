#include "app/ui/recording_controller.h"

#include <QDebug>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <ctime>
#include <filesystem>

#include "base/ui/ui_text.h"
#include "capture/recording_naming.h"
#include "capture/ui/recorder_dialog.h"
#include "library/ui/thumbnail_strip.h"
#include "platform/camera_service.h"

namespace lensora {
namespace {

const QString kCaption = QStringLiteral("AVI Capture");

}  // namespace

RecordingController::RecordingController(CameraService& camera, ThumbnailStrip* strip,
                                         std::string videoFolder, QWidget* dialogParent,
                                         QWidget* clockParent)
    : QObject(dialogParent),
      camera_(camera),
      strip_(strip),
      videoFolder_(std::move(videoFolder)),
      dialogParent_(dialogParent) {
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("timer%1").arg(kClockTimer));
    connect(timer_, &QTimer::timeout, this, [this] { OnClockTick(); });
    if (clockParent != nullptr) {
        clockLabel_ = new QLabel(clockParent);
        clockLabel_->setObjectName(QStringLiteral("recordingClock"));
        clockLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
        clockLabel_->setStyleSheet(
            QStringLiteral("color: #ff0000; background: transparent; font-size: 12px;"));
        clockLabel_->hide();
    }
    // An unplugged camera ends the recording with a properly closed file.
    connect(&camera_, &CameraService::connectionChanged, this, [this](bool connected) {
        if (!connected && recording_) {
            timer_->stop();
            clock_.Reset();
            Stop(false);
        }
    });
}

RecordingController::~RecordingController() {
    CloseForShutdown();
}

void RecordingController::StartFromHotkey() {
    if (!recording_) {
        ToggleRecording();
    }
}

void RecordingController::StopFromHotkey() {
    if (recording_) {
        ToggleRecording();
    }
}

void RecordingController::ToggleRecording() {
    Play(kSoundToggle);
    timer_->stop();
    clock_.Reset();
    ShowClock();
    if (recording_) {
        Stop(true);
        return;
    }
    Start();
}

void RecordingController::Start() {
    const std::optional<int> limit = AskSettings();
    if (!limit) {
        return;
    }
    clock_.Start(*limit);
    timer_->start(kClockIntervalMs);
    if (!OpenRecording()) {
        timer_->stop();
        return;
    }
    recording_ = true;
    emit recordingChanged(true);
}

void RecordingController::Stop(bool returnToLargest) {
    CloseRecording();
    recording_ = false;
    ShowClock();
    emit recordingChanged(false);
    if (returnToLargest) {
        camera_.Connection().ApplyResolutionStep(kLargestResolutionStep);
    }
}

void RecordingController::CloseForShutdown() {
    timer_->stop();
    clock_.Reset();
    if (recording_) {
        CloseRecording();
        recording_ = false;
    }
}

bool RecordingController::OpenRecording() {
    CameraConnection& connection = camera_.Connection();
    const SequenceScan scan = ScanSequenceNumbers(videoFolder_, ".avi");
    for (std::size_t i = 0; i < scan.folders.size(); ++i) {
        Error(QStringLiteral("Lensora"), Qs(kRecordingFolderError));
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::filesystem::path path =
        std::filesystem::path(videoFolder_) / RecordingFileName(local, scan.next);

    RecorderSettings settings;
    settings.path = path.string();
    settings.width = connection.CaptureWidth();
    settings.height = connection.CaptureHeight();
    settings.rate = connection.RecordingRate();
    settings.compression = compression_;
    AviRecorder& recorder = camera_.Recorder();
    // Runs on the writer thread; the controller closes the recorder (joining that thread)
    // before it goes away.
    recorder.SetFailureHandler([this](const std::string& text) {
        QMetaObject::invokeMethod(
            this, [this, text = Qs(text)] { OnWriteFailed(text); }, Qt::QueuedConnection);
    });
    if (strip_ != nullptr) {
        strip_->SetRecordingPath(Qs(settings.path));
    }
    std::string error;
    if (!connection.Connected() || !recorder.Open(settings, error)) {
        if (strip_ != nullptr) {
            strip_->SetRecordingPath(QString());
        }
        Error(kCaption, error.empty() ? QStringLiteral("AVI Capture error") : Qs(error));
        return false;
    }
    return true;
}

void RecordingController::CloseRecording() {
    AviRecorder& recorder = camera_.Recorder();
    if (!recorder.IsOpen()) {
        return;
    }
    const bool ok = recorder.Close();
    const std::filesystem::path path = recorder.Path();
    QString summary = Qs(AviRecorder::Summary(path.filename().string(), recorder.Counts()));
    if (!ok) {
        summary += QStringLiteral(" (%1)").arg(Qs(recorder.FailureText()));
    }
    lastSummary_ = summary;
    qInfo().noquote() << summary;
    emit statusMessage(summary);
    if (strip_ != nullptr) {
        strip_->SetRecordingPath(QString());
        strip_->AddVideo(Qs(path.string()));
    }
}

void RecordingController::OnClockTick() {
    switch (clock_.Advance()) {
        case RecordingClock::Tick::Running:
            ShowClock();
            break;
        case RecordingClock::Tick::StopAtLimit:
            // The limit: close now, and half a second later tell the operator.
            timer_->start(kLimitStopIntervalMs);
            if (recording_) {
                Stop(false);
            }
            break;
        case RecordingClock::Tick::LimitReached:
            Play(kSoundLimit);
            timer_->stop();
            ShowClock();
            camera_.Connection().ApplyResolutionStep(kLargestResolutionStep);
            break;
    }
}

void RecordingController::OnWriteFailed(const QString& text) {
    if (!recording_) {
        return;
    }
    timer_->stop();
    clock_.Reset();
    Stop(true);
    Error(kCaption, text + QStringLiteral("\nThe recording was stopped; the file keeps what was "
                                          "written up to then."));
}

std::optional<int> RecordingController::AskSettings() {
    if (askSettings) {
        return askSettings();
    }
    CameraConnection& c = camera_.Connection();
    RecorderDialog::Camera camera;
    camera.largeSensor = c.LargeSensor();
    camera.applyStep = [&c](int step) { return c.ApplyResolutionStep(step); };
    camera.width = [&c] { return c.CaptureWidth(); };
    camera.height = [&c] { return c.CaptureHeight(); };
    camera.rate = [&c] { return c.RecordingRate(); };
    RecorderDialog dialog(std::move(camera), compression_, dialogParent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.LimitSeconds();
}

void RecordingController::Error(const QString& caption, const QString& text) {
    emit statusMessage(text);
    if (showError) {
        showError(caption, text);
    } else {
        QMessageBox::critical(nullptr, caption, text);
    }
}

void RecordingController::Play(int sound) {
    if (playSound) {
        playSound(sound);
    }
}

void RecordingController::ShowClock() {
    if (clockLabel_ == nullptr) {
        return;
    }
    const QString text = recording_ ? Qs(clock_.Text()) : QString();
    clockLabel_->setText(text);
    clockLabel_->setVisible(!text.isEmpty());
    if (!text.isEmpty()) {
        QWidget* parent = clockLabel_->parentWidget();
        clockLabel_->adjustSize();
        clockLabel_->move(parent->width() - clockLabel_->width() - 4,
                          parent->height() - 12 - clockLabel_->height() / 2);
        clockLabel_->raise();
    }
}

}  // namespace lensora
