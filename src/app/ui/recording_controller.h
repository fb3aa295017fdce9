// The recording commands of the main window: the record button (1006), F3 (start, only when no
// recording runs) and F4 (stop, only when one runs), the recorder dialog before each start, the
// recording clock (timer 1002) with its stop at the limit, sound 182 and the return to the
// largest resolution, and the hand-over of each finished file to the thumbnail strip. A
// recording also ends when the camera goes away, when a write fails (a full disk) and at
// shutdown; the file is always closed properly. The frames themselves go from the capture
// thread to the camera's AviRecorder. UI thread only; the camera and strip outlive it.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "capture/recorder_settings.h"
#include "capture/video_encoders.h"

class QLabel;
class QTimer;
class QWidget;

namespace lensora {

class CameraService;
class ThumbnailStrip;

class RecordingController : public QObject {
    Q_OBJECT
  public:
    static constexpr int kClockTimer = 1002;
    static constexpr int kClockIntervalMs = 1000;
    static constexpr int kLimitStopIntervalMs = 500;
    static constexpr int kSoundToggle = 180;
    static constexpr int kSoundLimit = 182;

    // `clockParent` shows the clock in its bottom-right corner (the live preview).
    RecordingController(CameraService& camera, ThumbnailStrip* strip, std::string videoFolder,
                        QWidget* dialogParent, QWidget* clockParent);
    ~RecordingController() override;

    // The record button.
    void ToggleRecording();
    void StartFromHotkey();  // F3
    void StopFromHotkey();   // F4
    // Shutdown: closes an open recording (listed in the strip) without sounds or dialogs.
    void CloseForShutdown();

    bool Recording() const { return recording_; }
    const RecordingClock& Clock() const { return clock_; }
    QTimer* ClockTimer() const { return timer_; }
    QString LastSummary() const { return lastSummary_; }
    const CompressionOptions& Compression() const { return compression_; }

    // Plays one of the program's sounds (180, 182); unset: silent.
    std::function<void(int sound)> playSound;
    // The recorder dialog: the recording's limit in seconds, or nothing on Cancel. Unset: the
    // real dialog (tests replace it).
    std::function<std::optional<int>()> askSettings;
    // Error and notice boxes (unset: message boxes).
    std::function<void(const QString& caption, const QString& text)> showError;

  signals:
    // The record button is on (true) or off; the main window sets its buttons and tooltips.
    void recordingChanged(bool recording);
    // One line for the status line or the log: the closing summary or a failure.
    void statusMessage(const QString& text);

  private:
    void Start();
    void Stop(bool returnToLargest);
    bool OpenRecording();
    void CloseRecording();
    void OnClockTick();
    void OnWriteFailed(const QString& text);
    std::optional<int> AskSettings();
    void Error(const QString& caption, const QString& text);
    void Play(int sound);
    void ShowClock();

    CameraService& camera_;
    ThumbnailStrip* strip_;
    std::string videoFolder_;
    QWidget* dialogParent_;
    QLabel* clockLabel_ = nullptr;
    QTimer* timer_ = nullptr;
    RecordingClock clock_;
    CompressionOptions compression_;  // for the whole run
    bool recording_ = false;
    QString lastSummary_;
};

}  // namespace lensora
